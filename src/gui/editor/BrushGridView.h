#pragma once

#include "gui/widgets/DrawGrid.h"
#include "gui/widgets/TilePictures.h"

namespace stonereach {

class BrushGrid;
class MapDrawSource;

// The brush editor's grid: one 44 x 44 cell per cell of the brush, showing
// its tile's picture or the NODRAW picture, the current cell framed in red.
// It shows the brush it is given; the editor changes the brush and tells the
// grid.
class BrushGridView : public DrawGrid {
    Q_OBJECT
public:
    static constexpr int CellSize = 44;

    BrushGridView(const BrushGrid& brush, MapDrawSource& source, QWidget* parent = nullptr);

    // Takes the brush's column and row counts and redraws everything.
    void showBrushSize();

protected:
    void drawCell(QPainter& painter, int col, int row, const QRect& rect, bool selected) override;

private:
    const BrushGrid& brush_;
    TilePictures pictures_;
};

} // namespace stonereach
