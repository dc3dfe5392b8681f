#include "mapdata/MapContainer.h"

#include <algorithm>
#include <vector>

#include "mapdata/Errors.h"
#include "mapdata/MapLayout.h"
#include "mapdata/MapVariant.h"
#include "mapdata/UopDirectory.h"
#include "mapdata/UopLayout.h"
#include "mapdata/UopNameHash.h"

namespace stonereach {

namespace {

// A stretch of the file: a map payload, or anything else the container
// holds (its header, a table, an entry header, another entry's payload).
struct Stretch {
    std::uint64_t start;
    std::uint64_t end;
    bool mapPayload;
};

// The first map payload that shares a byte with anything else, or null.
const Stretch* firstOverlap(std::vector<Stretch>& stretches) {
    std::erase_if(stretches, [](const Stretch& s) { return s.end <= s.start; });
    std::sort(stretches.begin(), stretches.end(), [](const Stretch& a, const Stretch& b) { return a.start < b.start; });
    std::uint64_t reachOfAll = 0;
    std::uint64_t reachOfPayloads = 0;
    for (const Stretch& s : stretches) {
        if (s.mapPayload ? s.start < reachOfAll : s.start < reachOfPayloads)
            return &s;
        reachOfAll = std::max(reachOfAll, s.end);
        if (s.mapPayload)
            reachOfPayloads = std::max(reachOfPayloads, s.end);
    }
    return nullptr;
}

} // namespace

bool isContainerFileName(const std::filesystem::path& path) {
    return asciiLower(path.extension().string()) == ".uop";
}

MapEntryNames MapEntryNames::of(const std::filesystem::path& path, std::optional<int> facet) {
    MapEntryNames names{asciiLower(path.stem().string()), facet};
    if (!names.facet)
        names.facet = mapFacetOfName(path.filename().string());
    return names;
}

OpenedMapContainer openMapContainer(const ByteSource& source, const MapEntryNames& names) {
    const auto fail = [&](const std::string& fault) -> ContainerError { return {source.sourceName(), fault}; };
    const UopDirectory directory = readUopDirectory(source);
    const std::string facetStem = names.facet ? "map" + std::to_string(*names.facet) + "legacymul" : std::string();

    OpenedMapContainer result;
    result.info.version = directory.version;
    result.info.entries = directory.entryCount;
    std::vector<const UopEntry*> mapEntries;
    for (std::uint32_t i = 0; i < directory.entryCount; ++i) {
        const UopEntry* entry = directory.find(uopNameHash(uopMapEntryName(names.stem, i)));
        if (entry == nullptr && !facetStem.empty())
            entry = directory.find(uopNameHash(uopMapEntryName(facetStem, i)));
        if (entry == nullptr)
            throw fail("map entry " + std::to_string(i) + " (" + uopMapEntryName(names.stem, i) + ") is missing");
        if (entry->compression != UopLayout::Stored)
            throw fail("map entry " + std::to_string(i) + " is stored compressed, so it cannot be edited in place");
        if (entry->storedSize != entry->decompressedSize)
            throw fail("map entry " + std::to_string(i) + " has a stored size of " + std::to_string(entry->storedSize) +
                       " bytes but a decompressed size of " + std::to_string(entry->decompressedSize));
        mapEntries.push_back(entry);
    }

    std::vector<Stretch> stretches{{0, UopLayout::HeaderSize, false}};
    for (const UopTable& table : directory.tables)
        stretches.push_back({table.offset, table.end(), false});
    std::vector<bool> isMap(directory.entries.size(), false);
    for (const UopEntry* entry : mapEntries)
        isMap[static_cast<std::size_t>(entry - directory.entries.data())] = true;
    for (std::size_t k = 0; k < directory.entries.size(); ++k) {
        const UopEntry& entry = directory.entries[k];
        stretches.push_back({entry.offset, entry.payloadOffset(), false});
        stretches.push_back({entry.payloadOffset(), entry.end(), isMap[k]});
    }
    if (const Stretch* overlap = firstOverlap(stretches))
        throw fail("a map entry's payload at offset " + std::to_string(overlap->start) +
                   " overlaps another part of the file");

    std::vector<MapExtents::Extent> pieces;
    std::uint64_t plain = 0;
    result.info.shortestEntryHeader = mapEntries.empty() ? 0 : UINT32_MAX;
    for (const UopEntry* entry : mapEntries) {
        result.info.shortestEntryHeader = std::min(result.info.shortestEntryHeader, entry->headerLength);
        result.info.longestEntryHeader = std::max(result.info.longestEntryHeader, entry->headerLength);
        if (entry->storedSize > 0)
            pieces.push_back({plain, entry->payloadOffset(), entry->storedSize});
        plain += entry->storedSize;
    }
    result.info.payloadBytes = plain;

    // The trailing block lies at the end of the payloads; it is cut off the
    // plain form, so nothing ever addresses it.
    constexpr std::uint64_t Block = MapLayout::BlockSize;
    result.info.trailingBlock = !isKnownMapSize(plain) && plain >= Block && isKnownMapSize(plain - Block);
    if (result.info.trailingBlock) {
        std::uint64_t cut = Block;
        while (cut > 0) {
            MapExtents::Extent& last = pieces.back();
            const std::uint64_t taken = std::min(cut, last.length);
            last.length -= taken;
            cut -= taken;
            if (last.length == 0)
                pieces.pop_back();
        }
    }
    result.extents = MapExtents(std::move(pieces));
    return result;
}

} // namespace stonereach
