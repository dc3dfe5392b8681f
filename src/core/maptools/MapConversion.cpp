#include "maptools/MapConversion.h"

#include <memory>
#include <string>

#include "mapdata/BufferedFileIO.h"
#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapContainer.h"
#include "mapdata/MapFile.h"
#include "mapdata/MapIdentity.h"
#include "mapdata/NewMapFile.h"
#include "mapdata/UopLayout.h"
#include "mapdata/IoBuffer.h"

namespace stonereach {

namespace {

constexpr std::size_t B = MapLayout::BlockSize;
// Whole blocks at a time, so block headers never straddle two pieces of work.
constexpr std::size_t ChunkBytes = NewFileWriteBytes / B * B;

bool isPlainMapName(const std::filesystem::path& path) {
    return asciiLower(path.extension().string()) == ".mul";
}

// How many blocks the map has: those of its variant, else every whole block
// of its plain form. The unused bytes after the blocks of one variant are
// not blocks and are never numbered.
std::uint64_t blocksOf(const MapFile& map) {
    if (const MapVariant* variant = identifyMap(map))
        return static_cast<std::uint64_t>(variant->blocksAcross) * static_cast<std::uint64_t>(variant->blockHeight);
    return map.size() / B;
}

// Follows the headers of the entries' first blocks as the chunks go by.
class FirstHeaders {
public:
    void see(std::uint64_t offset, std::span<const std::uint8_t> chunk) {
        for (std::uint64_t at = nextEntryStart(offset); at + 4 <= offset + chunk.size(); at += UopLayout::MapEntryBytes) {
            const std::int32_t header = le::i32(&chunk[static_cast<std::size_t>(at - offset)]);
            if (previous_ && header <= *previous_)
                increasing_ = false;
            previous_ = header;
        }
    }
    bool increasing() const { return increasing_; }

private:
    static std::uint64_t nextEntryStart(std::uint64_t offset) {
        return (offset + UopLayout::MapEntryBytes - 1) / UopLayout::MapEntryBytes * UopLayout::MapEntryBytes;
    }
    std::optional<std::int32_t> previous_;
    bool increasing_ = true;
};

} // namespace

MapConversionResult convertMap(const MapConversionRequest& request, const ProgressCallback& progress) {
    const bool toContainer = isContainerFileName(request.output);
    if (!toContainer && !isPlainMapName(request.output))
        throw Refusal("The converted map's name '" + request.output.filename().string() +
                      "' must end in .uop (a container) or .mul (a plain map)");
    if (sameFile(request.input, request.output))
        throw Refusal("The converted map cannot be written over its own source '" + request.input.string() +
                      "'. Choose another file name or folder.");
    const std::optional<int> facet =
        request.facet ? request.facet : mapFacetOfName(request.output.filename().string());

    const MapFile input(request.input, File::Mode::Read, facet);
    MapConversionResult result;
    result.plainBytes = input.size();
    result.outputIsContainer = toContainer;
    const std::uint64_t blocks = request.numberBlocks ? blocksOf(input) : 0;

    constexpr const char* Stage = "Converting map";
    report(progress, Stage, 0, 100);
    NewMapOptions options;
    options.facet = facet;
    NewMapFile output(request.output, result.plainBytes, options);
    FirstHeaders firstHeaders;
    // Left uninitialised: every byte written is read first.
    const IoBuffer buffer = makeIoBuffer(ChunkBytes);
    for (std::uint64_t at = 0; at < result.plainBytes; at += ChunkBytes) {
        const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(ChunkBytes, result.plainBytes - at));
        const std::span<std::uint8_t> chunk(buffer.get(), count);
        input.readAt(at, chunk);
        for (std::uint64_t k = at / B; k < blocks && (k + 1) * B <= at + count; ++k)
            le::put32(&chunk[static_cast<std::size_t>(k * B - at)], static_cast<std::uint32_t>(k));
        firstHeaders.see(at, chunk);
        output.writeAt(at, chunk);
        report(progress, Stage, static_cast<std::int64_t>((at + count) * 100 / result.plainBytes), 100);
    }
    output.commit();
    report(progress, Stage, 100, 100);

    if (toContainer) {
        result.entries = static_cast<std::uint32_t>((result.plainBytes + UopLayout::MapEntryBytes - 1) / UopLayout::MapEntryBytes);
        result.firstHeadersIncreasing = firstHeaders.increasing();
    }
    return result;
}

} // namespace stonereach
