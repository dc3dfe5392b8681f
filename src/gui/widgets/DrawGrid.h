#pragma once

#include <QAbstractScrollArea>
#include <QColor>

#include "render/GridLayout.h"

class QKeyEvent;
class QMouseEvent;
class QPainter;

namespace stonereach {

// Our owner-drawn grid with the behaviour of a classic draw grid: equal
// columns and rows, a current cell, grid lines, keyboard movement and
// selection by mouse. Scroll bars count cells, not pixels, so grids of
// thousands of columns scroll exactly one column per step. Scrolling moves
// what is already on screen and paints only the strip that comes into view.
//
// The grid reports what the user does through signals; what a cell shows
// comes from drawCell() (or drawRegion() for grids that draw a whole area at
// once), which subclasses override.
class DrawGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    static inline const QColor GridLineColour{192, 192, 192};

    explicit DrawGrid(QWidget* parent = nullptr);

    int colCount() const { return layout_.colCount; }
    int rowCount() const { return layout_.rowCount; }
    void setColCount(int count);
    void setRowCount(int count);

    int defaultColWidth() const { return layout_.cellWidth; }
    int defaultRowHeight() const { return layout_.cellHeight; }
    void setDefaultColWidth(int width);   // at least 1
    void setDefaultRowHeight(int height); // at least 1

    int gridLineWidth() const { return layout_.lineWidth; }
    void setGridLineWidth(int width); // 0 or more; silver lines after every column and row

    // The current cell.
    int col() const { return col_; }
    int row() const { return row_; }
    // Makes (col, row) current (clamped to the grid) and scrolls just far
    // enough for it to be fully visible. Calls the select handler first when
    // the cell changes.
    void setCurrentCell(int col, int row);

    // The scroll position: the first visible column and row.
    int leftCol() const { return layout_.leftCol; }
    int topRow() const { return layout_.topRow; }
    void setLeftCol(int col); // clamped to 0..maxLeftCol()
    void setTopRow(int row);  // clamped to 0..maxTopRow()
    int maxLeftCol() const;
    int maxTopRow() const;
    // Whole columns (rows) that fit into the view, at least 1.
    int visibleColCount() const;
    int visibleRowCount() const;

    // The cell under a point of the viewport, or (-1, -1).
    QPoint cellAt(QPoint viewportPos) const { return layout_.cellAt(viewportPos); }
    // A cell's rectangle in viewport coordinates (outside the viewport when
    // the cell is scrolled out of view).
    QRect cellRect(int col, int row) const { return layout_.cellRect(col, row); }
    const GridLayout& gridLayout() const { return layout_; }

    // Scrolls just far enough for the cell to be fully visible.
    void scrollCellIntoView(int col, int row);

    // Width of the frame drawn inside the edges while the grid has the
    // keyboard focus, in the style's highlight colour.
    static constexpr int FocusMarkWidth = 2;

    // What shows where no cell is (black unless set).
    void setBackground(const QColor& colour);

    // Which scroll bars the grid shows (always); a one-row palette needs only
    // the horizontal one, a one-column palette only the vertical one.
    void setScrollBars(Qt::Orientations orientations);

    // Redraws one cell, or everything, at the next paint.
    void redrawCell(int col, int row);
    void redrawAll();

    // While one is alive, moves of the current cell do not send selectCell():
    // a jump moves the selection without painting.
    class SilentSelection {
    public:
        explicit SilentSelection(DrawGrid& grid) : grid_(grid) { ++grid_.silentSelections_; }
        SilentSelection(const SilentSelection&) = delete;
        SilentSelection& operator=(const SilentSelection&) = delete;
        ~SilentSelection() { --grid_.silentSelections_; }

    private:
        DrawGrid& grid_;
    };

signals:
    // A cell is about to become the current cell: a left press on a cell
    // (also on the current one), each new cell entered while the left button
    // is held, each keyboard or programmatic move of the current cell. The
    // current cell is still the old one while it is handled.
    void selectCell(int col, int row);
    // The user chose the current cell: after a left press on a cell and after
    // each keyboard move of the current cell.
    void clicked(int col, int row);
    // Any mouse press on a cell, before the grid's own handling.
    void cellPressed(int col, int row, Qt::MouseButton button);
    // A double click on a cell.
    void cellDoubleClicked(int col, int row);
    // Drawing met an error (a damaged file, a tile whose picture cannot be
    // read). Sent after the paint, never from inside it, and once until the
    // whole grid draws without one or forgetDrawFailure() is called.
    void drawFailed(const QString& message);

protected:
    // Draws one cell; the painter is clipped to the cell's visible part.
    // `selected` marks the current cell.
    virtual void drawCell(QPainter& painter, int col, int row, const QRect& rect, bool selected);
    // Draws everything inside `area` (background, cells, grid lines). The
    // default draws a black background, each cell by drawCell() and the grid
    // lines; a grid that draws whole areas faster overrides it.
    virtual void drawRegion(QPainter& painter, const QRect& area);

    // Tells a drawing error through drawFailed(), once (see there).
    void reportDrawFailure(const QString& message);
    // The whole grid drew without an error: the next one is told again.
    void forgetDrawFailure() { drawFailureReported_ = false; }

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void updateScrollBars();
    void moveCurrent(int col, int row, bool alwaysSelect);
    void moveTopLeft(int leftCol, int topRow);
    bool handleGridKey(QKeyEvent* event);
    // The focus mark: a frame along the viewport's edges while the grid has
    // the keyboard focus.
    void drawFocusMark(QPainter& painter);
    void redrawFocusMark();

    GridLayout layout_;
    int col_ = 0;
    int row_ = 0;
    bool selecting_ = false; // left button held after a press on a cell
    bool syncingScrollBars_ = false;
    int silentSelections_ = 0;
    bool drawFailureReported_ = false;
    QColor background_ = Qt::black;
};

} // namespace stonereach
