#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "editor/Footprints.h"
#include "mapdata/MapFile.h"

namespace stonereach {

// Many cell writes to one map file made at once: a stroke of a million cells
// is taken back or written again in a few block reads and writes rather than
// a million 3-byte ones. Cells are set in memory in any order (a later value
// for the same cell wins) and write() puts the changed cells into the file,
// only their bytes, in runs of adjacent cells. A block is read only when a
// cell of it is asked for with get().
class CellBatch {
public:
    CellBatch(MapFile& map, const MapGeometry& geometry);

    // The cell as the batch has it: as set, else as the file holds it.
    // Throws RangeError for a cell outside the map, IoError when its block
    // cannot be read.
    MapCell get(int x, int y);
    // Sets the cell's value, to be written by write(). Throws RangeError for
    // a cell outside the map.
    void set(int x, int y, MapCell cell);

    // Writes every cell set. When a write fails, the cells already written
    // get back the bytes the batch read for them (as far as it read them:
    // cells only set keep their new values) and the error goes on.
    void write();

    // The smallest rectangle holding every cell set; empty when none.
    const CellRect& bounds() const { return bounds_; }

private:
    struct Block {
        MapBlockBytes bytes{};    // as set, over the file's bytes once read
        MapBlockBytes read{};     // the file's bytes, once read
        std::uint64_t dirty = 0;  // one bit per cell set, row by row
        bool loaded = false;
    };
    Block& blockOf(int x, int y);
    void load(std::uint32_t key, Block& block);

    MapFile& map_;
    MapGeometry geometry_;
    // Blocks by their place in the file (block column * height + block row).
    std::unordered_map<std::uint32_t, std::size_t> index_;
    std::vector<Block> blocks_;
    std::vector<std::uint32_t> keys_;
    CellRect bounds_;
};

} // namespace stonereach
