#include "editor/Painter.h"

#include <algorithm>
#include <exception>
#include <string>

#include "editor/RandomSource.h"
#include "editor/StrokeHistory.h"
#include "mapdata/Errors.h"

namespace stonereach {

namespace {

using MapLayout::BlockSide;
using MapLayout::BlockSize;
using MapLayout::CellSize;

// A run of bytes to write: its place in the file and in the block buffer.
struct Span {
    std::uint64_t mapOffset;  // in the plain form
    std::size_t bufferOffset;
    std::size_t length;
};

} // namespace

Painter::Painter(MapFile& map, const MapGeometry& geometry, UndoList& undo, RandomSource& random)
    : map_(map), geometry_(geometry), undo_(undo), random_(random) {}

std::optional<Painter> Painter::over(OpenMap& map, UndoList& undo, RandomSource& random) {
    const std::optional<MapGeometry> geometry = map.geometry();
    if (!geometry || !map.isOpen() || !map.writable())
        return std::nullopt;
    return Painter(map.file(), *geometry, undo, random);
}

// The footprint is painted one block column at a time: the blocks it covers
// in that column are read with one read, its cells are worked out in the
// order of painting cell by cell (the undo rows and the random draws follow
// that order), and the changed cells are written back in runs of adjacent
// cells. A footprint's cells are all different, so reading a block column
// before writing any of it reads what painting cell by cell would read.
ChangedCells Painter::paintFootprint(const CellRect& footprint, const DrawingMode& mode,
                                            const AltitudeRule& altitude) {
    changed_.clear();
    const CellRect area = clipToMap(footprint, geometry_);
    if (area.isEmpty())
        return changed_;
    changed_.startRectangle(area);
    for (int bx = area.left / BlockSide; bx <= area.right / BlockSide; ++bx) {
        const CellRect part{std::max(area.left, bx * BlockSide), area.top,
                            std::min(area.right, bx * BlockSide + BlockSide - 1), area.bottom};
        paintBlockColumn(part, mode, altitude);
    }
    return changed_;
}

void Painter::paintBlockColumn(const CellRect& part, const DrawingMode& mode, const AltitudeRule& altitude) {
    const int bx = part.left / BlockSide;
    const int firstBlockRow = part.top / BlockSide;
    const int blockCount = part.bottom / BlockSide - firstBlockRow + 1;
    blocks_.resize(static_cast<std::size_t>(blockCount));
    map_.readBlockRun(bx, firstBlockRow, blockCount, geometry_, blocks_);
    original_.assign(blocks_.begin(), blocks_.end());

    const std::size_t undoRowsBefore = undo_.size();
    std::int64_t computed = 0;
    std::exception_ptr stopped;
    try {
        for (int x = part.left; x <= part.right; ++x) {
            for (int y = part.top; y <= part.bottom; ++y) {
                std::uint8_t* bytes = blocks_[static_cast<std::size_t>(y / BlockSide - firstBlockRow)].data() +
                                      cellOffsetInBlock(x % BlockSide, y % BlockSide);
                const MapCell old = decodeCell(bytes);
                undo_.append(x, y, old.z, old.tile);
                const std::uint16_t tile = mode.tileFor(old.tile, random_);
                encodeCell(bytes, MapCell{tile, altitude.apply(old.z, random_)});
                ++computed;
            }
        }
    } catch (...) {
        // Painting cell by cell would have written the cells before this
        // one; so are they here, before the error goes on.
        stopped = std::current_exception();
    }
    writeFirstCells(part, computed, undoRowsBefore);
    if (stopped)
        std::rethrow_exception(stopped);
}

// Writes the first `count` cells of the part (column by column) from the
// block buffer. If a write fails, the cells of this part that were written
// get their old bytes back and the undo list keeps only the row of the
// part's first cell: the state that painting cell by cell leaves when the
// write of that cell fails.
void Painter::writeFirstCells(const CellRect& part, std::int64_t count, std::size_t undoRowsBefore) {
    if (count == 0)
        return;
    const int height = part.bottom - part.top + 1;
    const std::int64_t fullColumns = count / height;
    const std::int64_t rest = count % height;
    const int bx = part.left / BlockSide;
    const int firstBlockRow = part.top / BlockSide;

    // Row by row the written cells of a row are adjacent in the file, and the
    // rows follow each other in file order; rows that meet are joined.
    std::vector<Span> spans;
    for (int y = part.top; y <= part.bottom; ++y) {
        const std::int64_t columns = fullColumns + (y - part.top < rest ? 1 : 0);
        if (columns == 0)
            continue;
        const int blockIndex = y / BlockSide - firstBlockRow;
        const std::size_t inBlock = cellOffsetInBlock(part.left % BlockSide, y % BlockSide);
        const Span span{blockOffset(bx, y / BlockSide, geometry_.blockHeight) + inBlock,
                        static_cast<std::size_t>(blockIndex) * BlockSize + inBlock,
                        static_cast<std::size_t>(columns) * CellSize};
        if (!spans.empty() && spans.back().mapOffset + spans.back().length == span.mapOffset)
            spans.back().length += span.length;
        else
            spans.push_back(span);
    }

    const auto bytesOf = [](std::vector<MapBlockBytes>& blocks, const Span& span) {
        return std::span<const std::uint8_t>(blocks.front().data() + span.bufferOffset, span.length);
    };
    for (std::size_t i = 0; i < spans.size(); ++i) {
        try {
            map_.writeAt(spans[i].mapOffset, bytesOf(blocks_, spans[i]));
        } catch (const IoError&) {
            for (std::size_t j = 0; j <= i; ++j) {
                try {
                    map_.writeAt(spans[j].mapOffset, bytesOf(original_, spans[j]));
                } catch (const IoError&) {
                    // The first error is the one to report.
                }
            }
            undo_.truncate(undoRowsBefore + 1);
            throw;
        }
    }
    changed_.addRectangleCells(count);
    if (history_ == nullptr)
        return;
    for (std::int64_t i = 0; i < count; ++i) {
        const int x = part.left + static_cast<int>(i / height);
        const int y = part.top + static_cast<int>(i % height);
        const std::uint8_t* bytes = blocks_[static_cast<std::size_t>(y / BlockSide - firstBlockRow)].data() +
                                    cellOffsetInBlock(x % BlockSide, y % BlockSide);
        history_->recordPainted(x, y, decodeCell(bytes), undoRowsBefore + static_cast<std::size_t>(i));
    }
}

ChangedCells Painter::stamp(int col, int row, std::span<const BrushEntry> pieces, const AltitudeRule& altitude) {
    changed_.clear();
    for (const BrushEntry& piece : pieces) {
        const std::int64_t x = std::int64_t{col} + piece.dx;
        const std::int64_t y = std::int64_t{row} + piece.dy;
        if (x < 0 || y < 0 || x >= geometry_.width || y >= geometry_.height)
            continue;
        const int cx = static_cast<int>(x);
        const int cy = static_cast<int>(y);
        const MapCell old = map_.readCell(cx, cy, geometry_);
        if (!isTileId(piece.tile))
            throw RangeError("Tile id " + std::to_string(piece.tile) + " of the brush cell at (" + std::to_string(cx) +
                             ", " + std::to_string(cy) + ") is outside 0..65535");
        const MapCell now{static_cast<std::uint16_t>(piece.tile), altitude.apply(old.z, random_)};
        map_.writeCell(cx, cy, now, geometry_);
        changed_.add(cx, cy);
        if (history_ != nullptr)
            history_->recordStamped(cx, cy, old, now);
    }
    return changed_;
}

std::optional<CellPoint> Painter::undoLastCell() {
    changed_.clear();
    if (undo_.empty())
        return std::nullopt;
    const UndoRow row = undo_.last();
    if (!geometry_.contains(row.x, row.y)) {
        // Made on a map with more cells than the one open now.
        undo_.removeLast();
        return std::nullopt;
    }
    // Read first, as every cell is: a file that cannot be read keeps the row.
    (void)map_.readCell(row.x, row.y, geometry_);
    map_.writeCell(row.x, row.y, MapCell{row.tile, row.z}, geometry_);
    undo_.removeLast();
    changed_.add(row.x, row.y);
    return CellPoint{row.x, row.y};
}

} // namespace stonereach
