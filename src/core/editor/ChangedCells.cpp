#include "editor/ChangedCells.h"

#include <algorithm>

namespace stonereach {

CellRect ChangedCells::bounds() const {
    CellRect box;
    bool any = false;
    const auto include = [&](int x, int y) {
        if (!any) {
            box = {x, y, x, y};
            any = true;
            return;
        }
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
    };
    if (rectCount_ > 0) {
        const std::int64_t height = std::int64_t{rect_.bottom} - rect_.top + 1;
        const std::int64_t fullColumns = rectCount_ / height;
        const std::int64_t rest = rectCount_ % height;
        include(rect_.left, rect_.top);
        // The last column that was started, and how far down any column got.
        const int lastColumn = rect_.left + static_cast<int>(fullColumns - (rest == 0 ? 1 : 0));
        const int lowest = fullColumns > 0 ? rect_.bottom : rect_.top + static_cast<int>(rest) - 1;
        include(lastColumn, lowest);
    }
    for (const CellPoint& c : cells_)
        include(c.x, c.y);
    return box;
}

std::vector<CellPoint> ChangedCells::toVector() const {
    std::vector<CellPoint> all;
    all.reserve(size());
    forEach([&](int x, int y) { all.push_back({x, y}); });
    return all;
}

void ChangedCells::clear() {
    rect_ = {};
    rectCount_ = 0;
    cells_.clear();
}

void ChangedCells::startRectangle(const CellRect& rect) {
    rect_ = rect;
    rectCount_ = 0;
}

} // namespace stonereach
