#pragma once

#include <cstdint>
#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "mapdata/LittleEndian.h"
#include "mapdata/MapLayout.h"
#include "patches/DiffPatchGenerator.h"
#include "support/TempDir.h"

namespace stonereach::test {

// One staidx0.mul / statics0.mul / map0.mul set held in memory for a small
// block grid, written to a folder on demand.
struct StaticsSet {
    DiffGrid grid;
    std::vector<StaticPointer> index;
    std::vector<std::uint8_t> statics;
    std::vector<std::uint8_t> map;

    explicit StaticsSet(DiffGrid g) : grid(g), index(g.blockCount()), map(g.blockCount() * MapLayout::BlockSize) {
        for (std::size_t i = 0; i < map.size(); ++i)
            map[i] = static_cast<std::uint8_t>((i * 13 + 5) % 253);
    }

    // Appends `count` records whose bytes follow `seed` and points block k at them.
    void setRecords(std::size_t k, int count, int seed, std::uint32_t extra = 0) {
        const auto start = static_cast<std::uint32_t>(statics.size());
        for (int i = 0; i < count * 7; ++i)
            statics.push_back(static_cast<std::uint8_t>(seed * 31 + i));
        index[k] = StaticPointer{start, static_cast<std::uint32_t>(count * 7), extra};
    }

    void fillAllBlocks(int seed) {
        for (std::size_t k = 0; k < index.size(); ++k)
            setRecords(k, static_cast<int>(k % 3) + 1, seed + static_cast<int>(k), static_cast<std::uint32_t>(k));
    }

    // The same set with its records laid out anew, as years of edits leave
    // them: each block's records at a random place in statics0.mul
    // (Scattered), or half the blocks, picked at random, written again at
    // the end with their old records left unused (HalfMoved). Nothing
    // else changes.
    enum class Layout { Scattered, HalfMoved };
    StaticsSet laidOut(Layout layout, unsigned seed) const {
        std::mt19937 random(seed);
        StaticsSet out = *this;
        auto recordsOf = [&](std::size_t k) {
            return std::vector<std::uint8_t>(statics.begin() + index[k].start,
                                             statics.begin() + index[k].start + index[k].length);
        };
        std::vector<std::size_t> blocks;
        for (std::size_t k = 0; k < index.size(); ++k)
            if (index[k].start != 0xFFFFFFFF && index[k].length > 0)
                blocks.push_back(k);
        if (layout == Layout::Scattered) {
            std::shuffle(blocks.begin(), blocks.end(), random);
            out.statics.clear();
        } else {
            std::erase_if(blocks, [&](std::size_t) { return random() % 2 == 0; });
        }
        for (const std::size_t k : blocks) {
            const auto records = recordsOf(k);
            out.index[k].start = static_cast<std::uint32_t>(out.statics.size());
            out.statics.insert(out.statics.end(), records.begin(), records.end());
        }
        return out;
    }

    std::vector<std::uint8_t> indexBytes() const {
        std::vector<std::uint8_t> bytes(index.size() * 12);
        for (std::size_t k = 0; k < index.size(); ++k) {
            le::put32(&bytes[k * 12], index[k].start);
            le::put32(&bytes[k * 12 + 4], index[k].length);
            le::put32(&bytes[k * 12 + 8], index[k].extra);
        }
        return bytes;
    }

    DiffFileSet write(const std::filesystem::path& folder) const {
        std::filesystem::create_directories(folder);
        DiffFileSet files{folder / "staidx0.mul", folder / "statics0.mul", folder / "map0.mul"};
        writeBytes(files.staIdx, indexBytes());
        writeBytes(files.statics, statics);
        writeBytes(files.map, map);
        return files;
    }
};

inline std::vector<StaticPointer> decodeIndex(const std::vector<std::uint8_t>& bytes) {
    std::vector<StaticPointer> index(bytes.size() / 12);
    for (std::size_t k = 0; k < index.size(); ++k)
        index[k] = StaticPointer{le::u32(&bytes[k * 12]), le::u32(&bytes[k * 12 + 4]), le::u32(&bytes[k * 12 + 8])};
    return index;
}

} // namespace stonereach::test
