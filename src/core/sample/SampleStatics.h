#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "sample/SampleTerrain.h"

namespace stonereach::sample {

// On-disk layout of the statics files: staidx holds one 12-byte entry per
// map block (block order as in the map file), statics the 7-byte records.
namespace SampleStaticsLayout {
inline constexpr std::size_t IndexEntrySize = 12;  // start, length, extra
inline constexpr std::size_t RecordSize = 7;        // art id, x, y, z, hue
inline constexpr std::uint32_t NoRecords = 0xFFFFFFFF;
} // namespace SampleStaticsLayout

// The statics that stand on one kind of ground, with how often a block of
// that ground holds any and how many at most.
struct SampleStaticKind {
    Terrain ground;
    std::vector<std::uint16_t> ids;
    std::uint16_t radarColour;
    int filledPercent;
    int mostPerBlock;
};

std::span<const SampleStaticKind> sampleStaticKinds();

// What was written, for reports and tests.
struct SampleStaticsSummary {
    std::uint64_t blocks = 0;
    std::uint64_t filledBlocks = 0;
    std::uint64_t records = 0;
};

// Writes a statics index with one entry per block of the terrain's map and
// the statics data: trees in woods and on grass, rocks on mountains, rubble
// in caves, mostly nothing on water. Both files are written whole and renamed
// into place.
SampleStaticsSummary writeSampleStatics(const std::filesystem::path& indexPath, const std::filesystem::path& dataPath,
                                        const SampleTerrain& terrain, std::uint64_t seed);

} // namespace stonereach::sample
