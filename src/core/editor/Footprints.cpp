#include "editor/Footprints.h"

#include <algorithm>
#include <string>

#include "mapdata/Errors.h"

namespace stonereach {

CellRect squareBrushFootprint(int col, int row, int size) {
    if (size < 1 || size > 9)
        throw RangeError("Brush size " + std::to_string(size) + " is outside 1..9");
    return {col, row, col + size - 1, row + size - 1};
}

CellRect clipToMap(const CellRect& rect, const MapGeometry& geometry) {
    if (rect.isEmpty())
        return {};
    const CellRect clipped{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, geometry.width - 1),
                           std::min(rect.bottom, geometry.height - 1)};
    return clipped.isEmpty() ? CellRect{} : clipped;
}

std::optional<CellRect> FillState::select(int col, int row) {
    if (!pending_) {
        first_ = {col, row};
        pending_ = true;
        return std::nullopt;
    }
    std::optional<CellRect> rect;
    if (col >= first_.x && row >= first_.y)
        rect = CellRect{first_.x, first_.y, col, row};
    pending_ = false;
    first_ = {-1, -1};
    return rect;
}

} // namespace stonereach
