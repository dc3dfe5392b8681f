#include "mapdata/NewMapFile.h"

#include <string>
#include <vector>

#include "mapdata/Errors.h"
#include "mapdata/MapContainer.h"
#include "mapdata/MapVariant.h"
#include "mapdata/UopWriter.h"

namespace stonereach {

NewMapFile::NewMapFile(const std::filesystem::path& target, std::uint64_t plainLength, const NewMapOptions& options)
    : pending_(target), plainLength_(plainLength) {
    if (!isContainerFileName(target)) {
        if (options.trailingBlock)
            throw RangeError("Only a map container carries a trailing block");
        pending_.file().allocate(plainLength);
        return;
    }
    const auto facet = options.facet ? options.facet : mapFacetOfName(target.filename().string());
    if (!facet)
        throw Refusal("Cannot tell which facet the new map container '" + target.string() +
                      "' holds: name it map<N>LegacyMUL.uop (N from 0 to 5) or give the facet");

    // Entries of 4096 blocks, the last one holding what is left.
    const std::uint64_t payload = plainLength + (options.trailingBlock ? MapLayout::BlockSize : 0);
    const std::string stem = "map" + std::to_string(*facet) + "legacymul";
    std::vector<UopEntryToWrite> entries;
    for (std::uint64_t at = 0; at < payload; at += UopLayout::MapEntryBytes) {
        const auto size = static_cast<std::uint32_t>(std::min(UopLayout::MapEntryBytes, payload - at));
        entries.push_back({uopMapEntryName(stem, static_cast<std::uint32_t>(entries.size())), size, size});
    }
    const UopContainerPlan plan = planUopContainer(entries, options.shuffleSeed);
    pending_.file().allocate(plan.fileSize);
    writeUopStructure(pending_.file(), entries, plan);

    std::vector<MapExtents::Extent> pieces;
    for (std::size_t i = 0; i < entries.size(); ++i)
        pieces.push_back({i * UopLayout::MapEntryBytes, plan.payloadOffset(i), entries[i].storedSize});
    if (options.trailingBlock) {
        pieces.back().length -= MapLayout::BlockSize;
        trailingAt_ = pieces.back().fileOffset + pieces.back().length;
        if (pieces.back().length == 0)
            pieces.pop_back();
    }
    extents_ = MapExtents(std::move(pieces));
}

void NewMapFile::writeTrailingBlock(std::span<const std::uint8_t, MapLayout::BlockSize> block) {
    if (!trailingAt_)
        throw RangeError("The new map file has no trailing block");
    pending_.file().writeAt(*trailingAt_, block);
}

} // namespace stonereach
