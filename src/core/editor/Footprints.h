#pragma once

#include <cstdint>
#include <optional>

#include "mapdata/MapVariant.h"

namespace stonereach {

// A rectangle of map cells, both corners included. Painting walks it column
// by column: x from left to right and, within each column, y from top to
// bottom. Empty when right < left or bottom < top.
struct CellRect {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    bool isEmpty() const { return right < left || bottom < top; }
    bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    friend bool operator==(const CellRect&, const CellRect&) = default;
};

// The square brush's footprint: the size x size square whose top-left cell
// is (col, row). Throws RangeError for a size outside 1..9.
CellRect squareBrushFootprint(int col, int row, int size);

// The part of a footprint that lies inside the map; cells outside it are
// never painted.
CellRect clipToMap(const CellRect& rect, const MapGeometry& geometry);

// The rectangle fill's two-click state. The first selection marks a corner;
// the second completes the fill. The state lives with the main window, so
// switching to another tool and back keeps a pending corner.
class FillState {
public:
    // The fill step for a selection of (col, row). First corner: stores it
    // and returns nothing. Second corner: returns the rectangle from the
    // first corner to this one when it lies right of and below it (else
    // nothing: the fill ends without painting); either way the corners go
    // back to -1 and the next selection starts a new fill.
    std::optional<CellRect> select(int col, int row);

    // True between the first and the second corner.
    bool pending() const { return pending_; }
    // The first corner while a fill is pending.
    std::optional<CellPoint> firstCorner() const {
        return pending_ ? std::optional<CellPoint>(first_) : std::nullopt;
    }

private:
    bool pending_ = false;
    CellPoint first_{-1, -1};
};

} // namespace stonereach
