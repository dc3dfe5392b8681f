#include "editor/UndoList.h"

#include <string>

#include "mapdata/Errors.h"

namespace stonereach {

void UndoList::append(int x, int y, std::int8_t oldZ, std::uint16_t oldTile) {
    if (x < 0 || y < 0 || x > 0xFFFF || y > 0xFFFF)
        throw RangeError("Cell (" + std::to_string(x) + ", " + std::to_string(y) + ") cannot be kept for undo");
    rows_.push_back({static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y), oldTile, oldZ});
}

void UndoList::truncate(std::size_t count) {
    rows_.truncate(count);
}

} // namespace stonereach
