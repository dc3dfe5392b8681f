#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "FuzzSupport.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapLayout.h"
#include "patches/DiffPatchFormat.h"
#include "patches/DiffPatchGenerator.h"

// The small fixed file sets the diff patch fuzz programs work on: a grid of
// 4 x 3 blocks (not square, so a mix-up of columns and rows shows), written
// once per process.
namespace stonereach::fuzz {

inline constexpr DiffGrid smallGrid{4, 3};

// The records a set holds for block k, as the statics index points at them
// (empty for "no statics").
inline std::vector<std::uint8_t> blockRecords(const std::vector<std::uint8_t>& index,
                                              const std::vector<std::uint8_t>& statics, std::size_t k) {
    const std::uint32_t start = le::u32(&index[k * 12]);
    const std::uint32_t length = le::u32(&index[k * 12 + 4]);
    // No records: Start may then be anything, even past the end of statics.
    if (start == DiffPatchLayout::NoStatics || length == 0)
        return {};
    return {statics.begin() + start, statics.begin() + start + length};
}

// The original set: blocks without statics, blocks with an empty record list
// and blocks with one to three records, and a map with a pattern.
struct OriginalSet {
    std::vector<std::uint8_t> index;
    std::vector<std::uint8_t> statics;
    std::vector<std::uint8_t> map;
    DiffFileSet files;

    explicit OriginalSet(const std::filesystem::path& folder)
        : index(smallGrid.blockCount() * 12), map(smallGrid.blockCount() * MapLayout::BlockSize) {
        for (std::size_t k = 0; k < smallGrid.blockCount(); ++k) {
            std::uint32_t start = DiffPatchLayout::NoStatics;
            std::uint32_t length = DiffPatchLayout::NoStatics;
            if (k % 4 == 1) {
                start = static_cast<std::uint32_t>(statics.size());
                length = 0;
            } else if (k % 4 != 0) {
                start = static_cast<std::uint32_t>(statics.size());
                length = static_cast<std::uint32_t>((k % 3 + 1) * 7);
                for (std::uint32_t i = 0; i < length; ++i)
                    statics.push_back(static_cast<std::uint8_t>(k * 17 + i));
            }
            le::put32(&index[k * 12], start);
            le::put32(&index[k * 12 + 4], length);
            le::put32(&index[k * 12 + 8], static_cast<std::uint32_t>(k * 1000));
        }
        for (std::size_t i = 0; i < map.size(); ++i)
            map[i] = static_cast<std::uint8_t>((i * 13 + 5) % 253);
        files = {folder / "staidx0.mul", folder / "statics0.mul", folder / "map0.mul"};
        writeFile(files.staIdx, index);
        writeFile(files.statics, statics);
        writeFile(files.map, map);
    }

    std::uint32_t indexChecksum() const {
        std::uint32_t sum = 0;
        for (std::size_t i = 0; i + 4 <= index.size(); i += 4)
            sum ^= le::u32(&index[i]);
        return sum;
    }
};

inline const OriginalSet& originalSet() {
    static const OriginalSet set(memoryFolder() / "original");
    return set;
}

} // namespace stonereach::fuzz
