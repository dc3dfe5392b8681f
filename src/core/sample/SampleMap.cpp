#include "sample/SampleMap.h"

#include <vector>

#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
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

    PendingFile out(path);
    std::vector<std::uint8_t> column(columnBytes);
    for (int bx = 0; bx < g.blocksAcross(); ++bx) {
        terrain.fillBlockColumn(bx, column);
        out.file().writeAt(static_cast<std::uint64_t>(bx) * columnBytes, column);
    }
    if (fileSize > blockBytes) {
        std::vector<std::uint8_t> tail(static_cast<std::size_t>(fileSize - blockBytes));
        SampleRandom random(hash64(seed, 0x7A11));
        for (auto& b : tail)
            b = static_cast<std::uint8_t>(random.next());
        out.file().writeAt(blockBytes, tail);
    }
    out.commit();
}

void writeSampleMap(const std::filesystem::path& path, const MapVariant& variant, std::uint64_t seed) {
    const SampleTerrain terrain(MapGeometry::of(variant), seed);
    writeSampleMap(path, terrain, variant.sizeBytes, seed);
}

} // namespace stonereach::sample
