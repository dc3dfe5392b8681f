#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "mapdata/LittleEndian.h"

namespace stonereach {

// On-disk layout of a map file: a plain run of 196-byte blocks with no file
// header, stored column by column. Each block is a 4-byte header that nothing
// interprets, then 8 x 8 cells row by row, each cell a 16-bit tile id and an
// 8-bit signed altitude.
namespace MapLayout {
inline constexpr std::size_t CellSize = 3;
inline constexpr std::size_t BlockHeaderSize = 4;
inline constexpr int BlockSide = 8;
inline constexpr std::size_t CellsPerBlock = BlockSide * BlockSide;
inline constexpr std::size_t BlockSize = BlockHeaderSize + CellsPerBlock * CellSize;
static_assert(BlockSize == 196, "a map block is 196 bytes");
} // namespace MapLayout

// One map cell as the program works with it.
struct MapCell {
    std::uint16_t tile = 0;
    std::int8_t z = 0;
    friend bool operator==(const MapCell&, const MapCell&) = default;
};

// What a cell can hold: tile ids 0..65535, altitudes -128..127. Every check
// of a value that is to become a cell's goes through these.
inline constexpr std::int64_t kMaxTileId = 0xFFFF;
inline constexpr std::int64_t kMinAltitude = -128;
inline constexpr std::int64_t kMaxAltitude = 127;
constexpr bool isTileId(std::int64_t value) { return value >= 0 && value <= kMaxTileId; }
constexpr bool isAltitude(std::int64_t value) { return value >= kMinAltitude && value <= kMaxAltitude; }

// The 3 bytes of a cell as stored.
using MapCellBytes = std::array<std::uint8_t, MapLayout::CellSize>;
static_assert(sizeof(MapCellBytes) == 3, "a map cell is 3 bytes on disk");

// The 196 bytes of a block as stored.
using MapBlockBytes = std::array<std::uint8_t, MapLayout::BlockSize>;
static_assert(sizeof(MapBlockBytes) == 196, "a map block is 196 bytes on disk");

inline MapCell decodeCell(const std::uint8_t* bytes) {
    return MapCell{le::u16(bytes), static_cast<std::int8_t>(bytes[2])};
}

inline void encodeCell(std::uint8_t* bytes, MapCell cell) {
    le::put16(bytes, cell.tile);
    bytes[2] = static_cast<std::uint8_t>(cell.z);
}

// Byte offset of the block at block column bx, block row by in a file whose
// block height is H.
constexpr std::uint64_t blockOffset(int bx, int by, int blockHeight) {
    return (static_cast<std::uint64_t>(bx) * static_cast<std::uint64_t>(blockHeight) +
            static_cast<std::uint64_t>(by)) *
           MapLayout::BlockSize;
}

// Offset of cell (cx, cy), 0..7 each, inside its block.
constexpr std::size_t cellOffsetInBlock(int cx, int cy) {
    return MapLayout::BlockHeaderSize +
           static_cast<std::size_t>(cy * MapLayout::BlockSide + cx) * MapLayout::CellSize;
}

// Byte offset of cell (x, y) in a map file of block height H. Coordinates are
// not negative (callers check them against the map first).
constexpr std::uint64_t cellOffset(int x, int y, int blockHeight) {
    return blockOffset(x / MapLayout::BlockSide, y / MapLayout::BlockSide, blockHeight) +
           cellOffsetInBlock(x % MapLayout::BlockSide, y % MapLayout::BlockSide);
}

static_assert(cellOffset(0, 0, 512) == 4);
static_assert(cellOffset(7, 9, 512) == 245);
static_assert(cellOffset(8, 0, 512) == 100356);
static_assert(cellOffset(6143, 4095, 512) == 77070333);
static_assert(cellOffset(1447, 1447, 181) == 6421153);
static_assert(cellOffset(2303, 1599, 200) == 11289597);

} // namespace stonereach
