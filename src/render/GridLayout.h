#pragma once

#include <QPoint>
#include <QRect>

namespace stonereach {

// A first and last index, both inclusive; empty when last < first.
struct IndexSpan {
    int first = 0;
    int last = -1;
    bool isEmpty() const { return last < first; }
    int count() const { return isEmpty() ? 0 : last - first + 1; }
};

// Where the cells of an owner-drawn grid lie on screen: equal columns and
// rows, an optional line after every column and row, scrolled so that
// (leftCol, topRow) is drawn at the top-left corner. Pixel positions are
// worked out in 64 bits: a map of 7168 columns at a large zoom is wider than
// an int can count.
struct GridLayout {
    int colCount = 0;
    int rowCount = 0;
    int cellWidth = 1;
    int cellHeight = 1;
    int lineWidth = 0;
    int leftCol = 0;
    int topRow = 0;

    qint64 pitchX() const { return qint64(cellWidth) + lineWidth; }
    qint64 pitchY() const { return qint64(cellHeight) + lineWidth; }

    // Left and top pixel of a cell, relative to the drawing area.
    qint64 cellLeft(int col) const { return (qint64(col) - leftCol) * pitchX(); }
    qint64 cellTop(int row) const { return (qint64(row) - topRow) * pitchY(); }

    // The cell's rectangle (without its grid lines). Far-off cells are pinned
    // to the edge of the int range, so they never intersect a real area.
    QRect cellRect(int col, int row) const;

    // The cell under a point, or (-1, -1) when the point lies outside every
    // cell. A grid line belongs to the cell before it.
    QPoint cellAt(QPoint point) const;

    // Columns (rows) that intersect the pixel range [from, to).
    IndexSpan colsIn(int from, int to) const;
    IndexSpan rowsIn(int from, int to) const;

    // How many whole columns (rows) fit into a width (height); at least 1.
    int wholeColsIn(int width) const;
    int wholeRowsIn(int height) const;

    // The largest leftCol (topRow) that still fills the area: the position
    // that shows the last column (row) as the last whole one.
    int maxLeftCol(int width) const;
    int maxTopRow(int height) const;
};

} // namespace stonereach
