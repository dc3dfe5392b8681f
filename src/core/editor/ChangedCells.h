#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "editor/Footprints.h"
#include "mapdata/MapVariant.h"

namespace stonereach {

// The cells one painting operation wrote, in the order it wrote them, so the
// map view redraws exactly those. A rectangle is kept as the rectangle and
// how many of its cells (column by column) were written, so a fill of a
// million cells costs nothing here; single cells are kept as a list.
class ChangedCells {
public:
    bool empty() const { return size() == 0; }
    // How many cells were written.
    std::size_t size() const { return static_cast<std::size_t>(rectCount_) + cells_.size(); }
    // The smallest rectangle holding every written cell; empty when none.
    CellRect bounds() const;
    // Calls f(x, y) for each written cell in write order.
    template <class F>
    void forEach(F&& f) const {
        std::int64_t left = rectCount_;
        for (int x = rect_.left; left > 0 && x <= rect_.right; ++x)
            for (int y = rect_.top; left > 0 && y <= rect_.bottom; ++y, --left)
                f(x, y);
        for (const CellPoint& c : cells_)
            f(c.x, c.y);
    }
    // Every written cell in write order (for a small operation or a test).
    std::vector<CellPoint> toVector() const;

    // Used by the painter.
    void clear();
    void startRectangle(const CellRect& rect);
    void addRectangleCells(std::int64_t count) { rectCount_ += count; }
    void add(int x, int y) { cells_.push_back({x, y}); }

private:
    CellRect rect_;
    std::int64_t rectCount_ = 0;
    std::vector<CellPoint> cells_;
};

} // namespace stonereach
