#pragma once

#include <array>

namespace stonereach {

// One numbered bookmark: a map cell (column = x, row = y) and whether the
// slot is in use. A disabled slot keeps its cell.
struct BookmarkSlot {
    int col = 0;
    int row = 0;
    bool enabled = false;
    friend bool operator==(const BookmarkSlot&, const BookmarkSlot&) = default;
};

inline constexpr int BookmarkCount = 10;

// The ten bookmark slots 0..9. One table lives for the whole run; it is owned
// by the application and passed by reference to whatever draws or sets them.
using BookmarkTable = std::array<BookmarkSlot, BookmarkCount>;

// The highest-numbered enabled slot on cell (col, row), or -1. Several slots
// on one cell show only this one.
inline int topBookmarkAt(const BookmarkTable& table, int col, int row) {
    for (int i = BookmarkCount - 1; i >= 0; --i) {
        const BookmarkSlot& slot = table[static_cast<std::size_t>(i)];
        if (slot.enabled && slot.col == col && slot.row == row)
            return i;
    }
    return -1;
}

} // namespace stonereach
