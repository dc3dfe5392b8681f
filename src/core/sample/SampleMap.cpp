#include "sample/SampleMap.h"

#include <vector>

#include "mapdata/Errors.h"
#include "mapdata/MapContainer.h"
#include "mapdata/NewMapFile.h"
#include "sample/SampleNoise.h"

namespace stonereach::sample {

void writeSampleMap(const std::filesystem::path& path, const SampleTerrain& terrain, std::uint64_t fileSize,
                    std::uint64_t seed) {
    const MapGeometry& g = terrain.geometry();
    const std::size_t columnBytes = static_cast<std::size_t>(g.blockHeight) * MapLayout::BlockSize;
    const std::uint64_t blockBytes = static_cast<std::uint64_t>(g.blocksAcross()) * columnBytes;
    if (fileSize < blockBytes)
        throw RangeError("A map of " + std::to_string(g.width) + "x" + std::to_string(g.height) +
                         " cells needs at least " + std::to_string(blockBytes) + " bytes");

    NewMapOptions options;
    if (isContainerFileName(path)) {
        options.trailingBlock = true;
        options.shuffleSeed = hash64(seed, 0x5AFF1E);
    }
    NewMapFile out(path, fileSize, options);
    std::vector<std::uint8_t> column(columnBytes);
    for (int bx = 0; bx < g.blocksAcross(); ++bx) {
        terrain.fillBlockColumn(bx, column);
        out.writeAt(static_cast<std::uint64_t>(bx) * columnBytes, column);
    }
    SampleRandom random(hash64(seed, 0x7A11));
    if (fileSize > blockBytes) {
        std::vector<std::uint8_t> tail(static_cast<std::size_t>(fileSize - blockBytes));
        for (auto& b : tail)
            b = static_cast<std::uint8_t>(random.next());
        out.writeAt(blockBytes, tail);
    }
    if (options.trailingBlock) {
        MapBlockBytes block{};
        for (auto& b : block)
            b = static_cast<std::uint8_t>(random.next());
        out.writeTrailingBlock(block);
    }
    out.commit();
}

void writeSampleMap(const std::filesystem::path& path, const MapVariant& variant, std::uint64_t seed) {
    const SampleTerrain terrain(MapGeometry::of(variant), seed);
    writeSampleMap(path, terrain, variant.sizeBytes, seed);
}

} // namespace stonereach::sample
