#pragma once

#include <cstddef>
#include <cstdint>

#include "editor/ChunkedVector.h"

namespace stonereach {

// One undo row: a painted cell and what it held before it was painted.
// Coordinates fit 16 bits on every known map (at most 7168 x 4096 cells).
struct UndoRow {
    std::uint16_t x = 0;
    std::uint16_t y = 0;
    std::uint16_t tile = 0;  // old tile id
    std::int8_t z = 0;       // old altitude
    friend bool operator==(const UndoRow&, const UndoRow&) = default;
};
static_assert(sizeof(UndoRow) == 8, "an undo row is 8 bytes in memory");

// The undo list of the painting tools: one row per cell painted with an undo
// row, newest last, without limit, for as long as the main window lives. The
// rows sit in large fixed-size chunks, so a list of millions of rows never
// holds a doubled copy of itself while it grows and costs 8 bytes a row.
class UndoList {
public:
    // Appends a row. Throws RangeError for a cell outside 0..65535.
    void append(int x, int y, std::int8_t oldZ, std::uint16_t oldTile);
    bool empty() const { return rows_.empty(); }
    std::size_t size() const { return rows_.size(); }
    // The newest row; the list must not be empty.
    const UndoRow& last() const { return rows_.back(); }
    // The row at index i, oldest first.
    const UndoRow& at(std::size_t i) const { return rows_[i]; }
    // Deletes the newest row; the list must not be empty.
    void removeLast() { rows_.pop_back(); }
    // Deletes the newest rows until `count` remain.
    void truncate(std::size_t count);
    void clear() { rows_.clear(); }

private:
    ChunkedVector<UndoRow> rows_;
};

} // namespace stonereach
