#pragma once

#include <algorithm>
#include <cstddef>

#include "mapdata/BufferedFileIO.h"
#include "mapdata/MapLayout.h"
#include "patches/DiffPatchFormat.h"

namespace stonereach {

// A whole-map pass a few block columns at a time: as many as fit in
// `mostBytes` (one whole-file chunk unless said), at least one.
struct ColumnChunks {
    explicit ColumnChunks(const DiffGrid& walked, std::size_t mostBytes = WholeFileChunkBytes)
        : grid(walked), perChunk(static_cast<int>(std::clamp<std::size_t>(mostBytes / columnBytes(), 1,
                                                                         static_cast<std::size_t>(grid.blocksAcross)))),
          count((grid.blocksAcross + perChunk - 1) / perChunk) {}

    std::size_t columnBytes() const { return static_cast<std::size_t>(grid.blocksDown) * MapLayout::BlockSize; }
    std::size_t chunkBytes() const { return static_cast<std::size_t>(perChunk) * columnBytes(); }
    int firstColumn(int chunk) const { return chunk * perChunk; }
    int columns(int chunk) const { return std::min(perChunk, grid.blocksAcross - firstColumn(chunk)); }
    // The first block of the chunk, in index order.
    std::size_t firstBlock(int chunk) const {
        return static_cast<std::size_t>(firstColumn(chunk)) * static_cast<std::size_t>(grid.blocksDown);
    }
    std::size_t blocks(int chunk) const {
        return static_cast<std::size_t>(columns(chunk)) * static_cast<std::size_t>(grid.blocksDown);
    }
    // Progress 0..100 by block columns once `done` chunks are done.
    int percentDone(int done) const { return std::min(grid.blocksAcross, done * perChunk) * 100 / grid.blocksAcross; }

    DiffGrid grid;
    int perChunk;
    int count;
};

} // namespace stonereach
