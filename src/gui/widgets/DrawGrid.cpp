#include "gui/widgets/DrawGrid.h"

#include <algorithm>
#include <cstdlib>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>

namespace stonereach {

DrawGrid::DrawGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    // Moving the thumb scrolls at once, not only when it is let go.
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
    updateScrollBars();
}

void DrawGrid::setColCount(int count) {
    layout_.colCount = std::max(0, count);
    col_ = std::clamp(col_, 0, std::max(0, layout_.colCount - 1));
    updateScrollBars();
    viewport()->update();
}

void DrawGrid::setRowCount(int count) {
    layout_.rowCount = std::max(0, count);
    row_ = std::clamp(row_, 0, std::max(0, layout_.rowCount - 1));
    updateScrollBars();
    viewport()->update();
}

void DrawGrid::setDefaultColWidth(int width) {
    layout_.cellWidth = std::max(1, width);
    updateScrollBars();
    viewport()->update();
}

void DrawGrid::setDefaultRowHeight(int height) {
    layout_.cellHeight = std::max(1, height);
    updateScrollBars();
    viewport()->update();
}

void DrawGrid::setGridLineWidth(int width) {
    layout_.lineWidth = std::max(0, width);
    updateScrollBars();
    viewport()->update();
}

int DrawGrid::maxLeftCol() const { return layout_.maxLeftCol(viewport()->width()); }
int DrawGrid::maxTopRow() const { return layout_.maxTopRow(viewport()->height()); }
int DrawGrid::visibleColCount() const { return layout_.wholeColsIn(viewport()->width()); }
int DrawGrid::visibleRowCount() const { return layout_.wholeRowsIn(viewport()->height()); }

void DrawGrid::updateScrollBars() {
    syncingScrollBars_ = true;
    horizontalScrollBar()->setRange(0, maxLeftCol());
    horizontalScrollBar()->setPageStep(visibleColCount());
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setRange(0, maxTopRow());
    verticalScrollBar()->setPageStep(visibleRowCount());
    verticalScrollBar()->setSingleStep(1);
    syncingScrollBars_ = false;
    // A shrunken range may have pulled the scroll bars back.
    if (layout_.leftCol != horizontalScrollBar()->value() || layout_.topRow != verticalScrollBar()->value()) {
        layout_.leftCol = horizontalScrollBar()->value();
        layout_.topRow = verticalScrollBar()->value();
        viewport()->update();
    }
}

void DrawGrid::setLeftCol(int col) { horizontalScrollBar()->setValue(std::clamp(col, 0, maxLeftCol())); }
void DrawGrid::setTopRow(int row) { verticalScrollBar()->setValue(std::clamp(row, 0, maxTopRow())); }

void DrawGrid::moveTopLeft(int leftCol, int topRow) {
    setLeftCol(leftCol);
    setTopRow(topRow);
}

void DrawGrid::scrollContentsBy(int, int) {
    if (syncingScrollBars_)
        return;
    const int newLeft = horizontalScrollBar()->value();
    const int newTop = verticalScrollBar()->value();
    if (newLeft == layout_.leftCol && newTop == layout_.topRow)
        return;
    const qint64 dx = (qint64(layout_.leftCol) - newLeft) * layout_.pitchX();
    const qint64 dy = (qint64(layout_.topRow) - newTop) * layout_.pitchY();
    layout_.leftCol = newLeft;
    layout_.topRow = newTop;
    // Move what is already drawn when some of it stays in view; the
    // uncovered strip is then all that gets painted.
    if (std::abs(dx) < viewport()->width() && std::abs(dy) < viewport()->height()) {
        // With the focus, the mark along the edges stays where it is: only
        // what lies inside it moves, and only the strip that comes into view
        // there is painted.
        if (hasFocus())
            viewport()->scroll(int(dx), int(dy), viewport()->rect().adjusted(FocusMarkWidth, FocusMarkWidth,
                                                                             -FocusMarkWidth, -FocusMarkWidth));
        else
            viewport()->scroll(int(dx), int(dy));
    } else {
        viewport()->update();
    }
}

void DrawGrid::scrollCellIntoView(int col, int row) {
    int left = layout_.leftCol;
    int top = layout_.topRow;
    if (col < left)
        left = col;
    else if (col > left + visibleColCount() - 1)
        left = col - visibleColCount() + 1;
    if (row < top)
        top = row;
    else if (row > top + visibleRowCount() - 1)
        top = row - visibleRowCount() + 1;
    moveTopLeft(left, top);
}

void DrawGrid::setCurrentCell(int col, int row) { moveCurrent(col, row, false); }

void DrawGrid::moveCurrent(int col, int row, bool alwaysSelect) {
    if (layout_.colCount <= 0 || layout_.rowCount <= 0)
        return;
    col = std::clamp(col, 0, layout_.colCount - 1);
    row = std::clamp(row, 0, layout_.rowCount - 1);
    if (!alwaysSelect && col == col_ && row == row_)
        return;
    if (silentSelections_ == 0)
        emit selectCell(col, row);
    const int oldCol = col_;
    const int oldRow = row_;
    col_ = col;
    row_ = row;
    scrollCellIntoView(col, row);
    redrawCell(oldCol, oldRow);
    redrawCell(col, row);
}

void DrawGrid::setBackground(const QColor& colour) {
    background_ = colour;
    viewport()->update();
}

void DrawGrid::setScrollBars(Qt::Orientations orientations) {
    setHorizontalScrollBarPolicy(orientations & Qt::Horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(orientations & Qt::Vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    updateScrollBars();
}

void DrawGrid::redrawCell(int col, int row) {
    const QRect area = cellRect(col, row).intersected(viewport()->rect());
    if (!area.isEmpty())
        viewport()->update(area);
}

void DrawGrid::redrawAll() { viewport()->update(); }

void DrawGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    for (const QRect& area : event->region())
        drawRegion(painter, area);
    if (hasFocus()) {
        painter.setClipRegion(event->region());
        drawFocusMark(painter);
    }
}

void DrawGrid::drawFocusMark(QPainter& painter) {
    const QRect edge = viewport()->rect();
    const QColor colour = palette().color(QPalette::Highlight);
    const int w = std::min({FocusMarkWidth, edge.width(), edge.height()});
    painter.fillRect(QRect(edge.left(), edge.top(), edge.width(), w), colour);
    painter.fillRect(QRect(edge.left(), edge.bottom() - w + 1, edge.width(), w), colour);
    painter.fillRect(QRect(edge.left(), edge.top(), w, edge.height()), colour);
    painter.fillRect(QRect(edge.right() - w + 1, edge.top(), w, edge.height()), colour);
}

void DrawGrid::redrawFocusMark() {
    // The strips along the edges that the mark covers. Scrolling with the
    // focus leaves them as they are, so they are drawn whole when it goes.
    const QRect edge = viewport()->rect();
    const int w = FocusMarkWidth;
    QRegion strips(QRect(edge.left(), edge.top(), edge.width(), w));
    strips += QRect(edge.left(), edge.bottom() - w + 1, edge.width(), w);
    strips += QRect(edge.left(), edge.top(), w, edge.height());
    strips += QRect(edge.right() - w + 1, edge.top(), w, edge.height());
    viewport()->update(strips);
}

void DrawGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    redrawFocusMark();
}

void DrawGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    redrawFocusMark();
}

void DrawGrid::drawCell(QPainter&, int, int, const QRect&, bool) {}

void DrawGrid::reportDrawFailure(const QString& message) {
    // Every paint would fail again (a damaged file stays damaged), so the
    // error is told once, after the paint has finished.
    if (drawFailureReported_)
        return;
    drawFailureReported_ = true;
    QMetaObject::invokeMethod(this, [this, message] { emit drawFailed(message); }, Qt::QueuedConnection);
}

void DrawGrid::drawRegion(QPainter& painter, const QRect& area) {
    painter.fillRect(area, background_);
    const IndexSpan cols = layout_.colsIn(area.left(), area.right() + 1);
    const IndexSpan rows = layout_.rowsIn(area.top(), area.bottom() + 1);
    if (cols.isEmpty() || rows.isEmpty())
        return;
    for (int r = rows.first; r <= rows.last; ++r) {
        for (int c = cols.first; c <= cols.last; ++c) {
            const QRect rect = cellRect(c, r);
            const QRect clip = rect.intersected(area);
            if (clip.isEmpty())
                continue;
            painter.save();
            painter.setClipRect(clip);
            drawCell(painter, c, r, rect, c == col_ && r == row_);
            painter.restore();
        }
    }
    const int lw = layout_.lineWidth;
    if (lw <= 0)
        return;
    const int top = cellRect(cols.first, rows.first).top();
    const int bottom = int(std::min<qint64>(layout_.cellTop(rows.last + 1), area.bottom() + 1));
    const int left = cellRect(cols.first, rows.first).left();
    const int right = int(std::min<qint64>(layout_.cellLeft(cols.last + 1), area.right() + 1));
    painter.setClipRect(area);
    for (int c = cols.first; c <= cols.last; ++c)
        painter.fillRect(QRect(cellRect(c, rows.first).right() + 1, top, lw, bottom - top), GridLineColour);
    for (int r = rows.first; r <= rows.last; ++r)
        painter.fillRect(QRect(left, cellRect(cols.first, r).bottom() + 1, right - left, lw), GridLineColour);
    painter.setClipping(false);
}

void DrawGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

bool DrawGrid::handleGridKey(QKeyEvent* event) {
    if (layout_.colCount <= 0 || layout_.rowCount <= 0)
        return false;
    int curCol = col_;
    int curRow = row_;
    int left = layout_.leftCol;
    int top = layout_.topRow;
    const int page = visibleRowCount();
    if (event->modifiers() & Qt::ControlModifier) {
        switch (event->key()) {
        // With Ctrl the arrows scroll the view and leave the current cell.
        case Qt::Key_Up: --top; break;
        case Qt::Key_Down: ++top; break;
        case Qt::Key_Left: --left; break;
        case Qt::Key_Right: ++left; break;
        case Qt::Key_PageUp: curRow = top; break;
        case Qt::Key_PageDown: curRow = top + page - 1; break;
        case Qt::Key_Home: curCol = 0; curRow = 0; break;
        case Qt::Key_End: curCol = layout_.colCount - 1; curRow = layout_.rowCount - 1; break;
        default: return false;
        }
    } else {
        switch (event->key()) {
        case Qt::Key_Up: --curRow; break;
        case Qt::Key_Down: ++curRow; break;
        case Qt::Key_Left: --curCol; break;
        case Qt::Key_Right: ++curCol; break;
        case Qt::Key_PageUp: curRow -= page; top -= page; break;
        case Qt::Key_PageDown: curRow += page; top += page; break;
        case Qt::Key_Home: curCol = 0; break;
        case Qt::Key_End: curCol = layout_.colCount - 1; break;
        default: return false;
        }
    }
    left = std::clamp(left, 0, maxLeftCol());
    top = std::clamp(top, 0, maxTopRow());
    if (left != layout_.leftCol || top != layout_.topRow)
        moveTopLeft(left, top);
    curCol = std::clamp(curCol, 0, layout_.colCount - 1);
    curRow = std::clamp(curRow, 0, layout_.rowCount - 1);
    if (curCol != col_ || curRow != row_) {
        moveCurrent(curCol, curRow, false);
        emit clicked(col_, row_);
    }
    return true;
}

void DrawGrid::keyPressEvent(QKeyEvent* event) {
    if (handleGridKey(event))
        event->accept();
    else
        event->ignore();
}

void DrawGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() < 0)
        return;
    emit cellPressed(cell.x(), cell.y(), event->button());
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    selecting_ = true;
    moveCurrent(cell.x(), cell.y(), true);
    emit clicked(col_, row_);
}

void DrawGrid::mouseMoveEvent(QMouseEvent* event) {
    if (!selecting_ || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() >= 0 && (cell.x() != col_ || cell.y() != row_))
        moveCurrent(cell.x(), cell.y(), false);
}

void DrawGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        selecting_ = false;
}

void DrawGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click selects nothing.
    event->accept();
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() >= 0 && event->button() == Qt::LeftButton)
        emit cellDoubleClicked(cell.x(), cell.y());
}

} // namespace stonereach
