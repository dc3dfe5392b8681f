#include "maptools/WholeBlockCopy.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "mapdata/BufferedFileIO.h"
#include "mapdata/IoBuffer.h"
#include "mapdata/MapLayout.h"
#include "mapdata/TwoThreadPass.h"

namespace stonereach {

namespace {

constexpr int Side = MapLayout::BlockSide;
constexpr std::size_t BlockBytes = MapLayout::BlockSize;

// The cell rows (or columns) 0..7 of one block that lie between low and high.
struct CellRange {
    int first = 0;
    int last = Side - 1;
    bool whole() const { return first == 0 && last == Side - 1; }
};

CellRange within(int block, int low, int high) {
    return {block == low / Side ? low % Side : 0, block == high / Side ? high % Side : Side - 1};
}

// Copies the cells of `from` that the rectangle covers into `to`, at the same
// places: rows of (last - first + 1) cells.
void overlayCells(const std::uint8_t* from, std::uint8_t* to, CellRange columns, CellRange rows) {
    const std::size_t rowBytes = static_cast<std::size_t>(columns.last - columns.first + 1) * MapLayout::CellSize;
    for (int cy = rows.first; cy <= rows.last; ++cy) {
        const std::size_t at = cellOffsetInBlock(columns.first, cy);
        std::memcpy(to + at, from + at, rowBytes);
    }
}

} // namespace

void reportCopiedColumn(const ProgressCallback& progress, int x, int x2) {
    report(progress, {}, x2 > 0 ? static_cast<std::int64_t>(x) * 100 / x2 : 100, 100);
}

bool movesByWholeBlocks(const MapCopyRequest& r, bool oneFile) {
    const int ox = r.dx - r.x1;
    const int oy = r.dy - r.y1;
    return ox % Side == 0 && oy % Side == 0 && !(oneFile && ox == 0);
}

std::uint64_t copyWholeBlocks(const MapCopyRequest& r, const MapFile& source, int hs, MapFile& destination, int hd,
                              bool oneFile, const ProgressCallback& progress) {
    const int ox = (r.dx - r.x1) / Side;
    const int oy = (r.dy - r.y1) / Side;
    const int firstColumn = r.x1 / Side;
    const int lastColumn = r.x2 / Side;
    const int firstRow = r.y1 / Side;
    const auto rows = static_cast<std::size_t>(r.y2 / Side - firstRow + 1);
    // Whole columns of the same height follow one another in both files.
    const bool wholeColumns = !oneFile && hs == hd && oy == 0 && firstRow == 0 && rows == static_cast<std::size_t>(hs);
    const int perBatch = wholeColumns ? static_cast<int>(std::max<std::size_t>(1, WholeFileChunkBytes / (rows * BlockBytes))) : 1;
    const int batches = (lastColumn - firstColumn) / perBatch + 1;
    // The buffers of a batch, left uninitialised: every byte is read from the
    // files before use.
    const std::size_t bufferBytes = static_cast<std::size_t>(perBatch) * rows * BlockBytes;

    // One batch of block columns: the source run and the destination run
    // read whole into `from` and `to`, and the blocks written from `from`.
    const auto copyBatch = [&](int batch, std::uint8_t* from, std::uint8_t* to) {
        const int bx = firstColumn + batch * perBatch;
        const int columns = std::min(perBatch, lastColumn - bx + 1);
        const std::size_t bytes = static_cast<std::size_t>(columns) * rows * BlockBytes;
        const std::uint64_t destinationAt = blockOffset(bx + ox, firstRow + oy, hd);
        source.readAt(blockOffset(bx, firstRow, hs), {from, bytes});
        destination.readAt(destinationAt, {to, bytes});
        // The source blocks become the blocks written: a block the rectangle
        // covers whole takes the destination's header; any other takes the
        // destination's bytes with the covered cells laid over them.
        for (int c = 0; c < columns; ++c) {
            const CellRange cellColumns = within(bx + c, r.x1, r.x2);
            for (std::size_t j = 0; j < rows; ++j) {
                const CellRange cellRows = within(firstRow + static_cast<int>(j), r.y1, r.y2);
                const std::size_t at = (static_cast<std::size_t>(c) * rows + j) * BlockBytes;
                if (cellColumns.whole() && cellRows.whole()) {
                    std::memcpy(from + at, to + at, MapLayout::BlockHeaderSize);
                } else {
                    overlayCells(from + at, to + at, cellColumns, cellRows);
                    std::memcpy(from + at, to + at, BlockBytes);
                }
            }
        }
        destination.writeAt(destinationAt, {from, bytes});
    };

    // Progress goes by cell columns, each reported once and in order, as
    // far as the batches done reach.
    int reported = r.x1 - 1;
    const auto reportBatchesDone = [&](int done) {
        const int upTo = done >= batches ? r.x2 : std::min(r.x2, (firstColumn + done * perBatch) * Side - 1);
        for (; reported < upTo; ++reported)
            reportCopiedColumn(progress, reported + 1, r.x2);
    };

    if (oneFile) {
        // Inside one file a batch may read what an earlier one wrote: the
        // batches go in order, on this thread.
        const IoBuffer from = makeIoBuffer(bufferBytes);
        const IoBuffer to = makeIoBuffer(bufferBytes);
        for (int batch = 0; batch < batches; ++batch) {
            copyBatch(batch, from.get(), to.get());
            reportBatchesDone(batch + 1);
        }
    } else {
        // Between two files the batches touch different bytes: two threads
        // share them, each with its own buffers, which on a whole map keeps
        // more memory traffic in flight than one thread can.
        TwoThreadPass pass(batches, [&]() -> TwoThreadPass::Worker {
            auto from = std::make_shared<IoBuffer>(makeIoBuffer(bufferBytes));
            auto to = std::make_shared<IoBuffer>(makeIoBuffer(bufferBytes));
            return [&copyBatch, from, to](int batch) { copyBatch(batch, from->get(), to->get()); };
        });
        pass.finish(reportBatchesDone);
        reportBatchesDone(batches);
    }
    return static_cast<std::uint64_t>(r.x2 - r.x1 + 1) * static_cast<std::uint64_t>(r.y2 - r.y1 + 1);
}

} // namespace stonereach
