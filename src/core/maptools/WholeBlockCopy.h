#pragma once

#include <cstdint>

#include "mapdata/MapFile.h"
#include "mapdata/Progress.h"
#include "maptools/MapCopy.h"

namespace stonereach {

// The progress a map copy reports after cell column x: x * 100 / X2, or 100
// for a rectangle in column 0 alone, where there is no X2 to divide by.
void reportCopiedColumn(const ProgressCallback& progress, int x, int x2);

// True when the rectangle moves by whole blocks (both offsets multiples of 8),
// so each destination block takes its cells from one source block at the
// same places inside it, and the copy can go block by block. Not inside one
// file when the rectangle stays in its own block columns: there a cell may be
// read after an earlier cell was written over it, which only the single-cell
// order gives.
bool movesByWholeBlocks(const MapCopyRequest& request, bool oneFile);

// Copies a non-empty rectangle that movesByWholeBlocks: per block column, the
// source blocks and the destination blocks are read whole, each destination
// block is made of the source block's cells and its own header (and its own
// cells outside the rectangle), and the run is written back whole. When whole
// block columns of equal height are copied between two files, several
// columns go in one read and one write. Between two files, two threads share
// the batches; inside one file they go in order on the caller's thread.
// `source` and `destination` are the same handle when oneFile. Returns the
// number of cells copied.
std::uint64_t copyWholeBlocks(const MapCopyRequest& request, const MapFile& source, int sourceBlockHeight,
                              MapFile& destination, int destinationBlockHeight, bool oneFile,
                              const ProgressCallback& progress);

} // namespace stonereach
