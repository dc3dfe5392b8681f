#include "render/GridLayout.h"

#include <algorithm>
#include <limits>

namespace stonereach {

namespace {

int pinToInt(qint64 value) {
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min() / 2, std::numeric_limits<int>::max() / 2));
}

// Index of the cell whose extent (cell plus its line) holds pixel `pos`.
qint64 indexAt(qint64 pos, qint64 pitch, int first) {
    // Floor division: pixels left of the area belong to cells before `first`.
    const qint64 q = pos >= 0 ? pos / pitch : -((-pos + pitch - 1) / pitch);
    return first + q;
}

IndexSpan spanIn(int from, int to, qint64 pitch, int first, int count) {
    if (to <= from || count <= 0)
        return {};
    const qint64 lo = std::max<qint64>(0, indexAt(from, pitch, first));
    const qint64 hi = std::min<qint64>(count - 1, indexAt(qint64(to) - 1, pitch, first));
    if (hi < lo)
        return {};
    return {int(lo), int(hi)};
}

int wholeIn(int length, int cell, int line) {
    // n cells fit when n cells and the n - 1 lines between them fit.
    const qint64 n = (qint64(std::max(length, 0)) + line) / (qint64(cell) + line);
    return int(std::clamp<qint64>(n, 1, std::numeric_limits<int>::max()));
}

} // namespace

QRect GridLayout::cellRect(int col, int row) const {
    return QRect(pinToInt(cellLeft(col)), pinToInt(cellTop(row)), cellWidth, cellHeight);
}

QPoint GridLayout::cellAt(QPoint point) const {
    if (point.x() < 0 || point.y() < 0)
        return {-1, -1};
    const qint64 col = indexAt(point.x(), pitchX(), leftCol);
    const qint64 row = indexAt(point.y(), pitchY(), topRow);
    if (col >= colCount || row >= rowCount)
        return {-1, -1};
    return {int(col), int(row)};
}

IndexSpan GridLayout::colsIn(int from, int to) const {
    return spanIn(from, to, pitchX(), leftCol, colCount);
}

IndexSpan GridLayout::rowsIn(int from, int to) const {
    return spanIn(from, to, pitchY(), topRow, rowCount);
}

int GridLayout::wholeColsIn(int width) const { return wholeIn(width, cellWidth, lineWidth); }
int GridLayout::wholeRowsIn(int height) const { return wholeIn(height, cellHeight, lineWidth); }

int GridLayout::maxLeftCol(int width) const { return std::max(0, colCount - wholeColsIn(width)); }
int GridLayout::maxTopRow(int height) const { return std::max(0, rowCount - wholeRowsIn(height)); }

} // namespace stonereach
