#include "gui/editor/BrushGridView.h"

#include <QPainter>

#include "editor/BrushGrid.h"

namespace stonereach {

BrushGridView::BrushGridView(const BrushGrid& brush, MapDrawSource& source, QWidget* parent)
    : DrawGrid(parent), brush_(brush), pictures_(source) {
    setDefaultColWidth(CellSize);
    setDefaultRowHeight(CellSize);
    setGridLineWidth(1);
    showBrushSize();
}

void BrushGridView::showBrushSize() {
    setColCount(brush_.columns());
    setRowCount(brush_.rows());
    redrawAll();
}

void BrushGridView::drawCell(QPainter& painter, int col, int row, const QRect& rect, bool selected) {
    const BrushCell cell = brush_.cell(col, row);
    pictures_.draw(painter, cell ? int(*cell) : TilePictures::NoDraw, rect);
    if (selected)
        TilePictures::drawFrame(painter, rect);
}

} // namespace stonereach
