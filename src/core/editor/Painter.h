#pragma once

#include <optional>
#include <span>
#include <vector>

#include "editor/AltitudeRule.h"
#include "editor/BrushLines.h"
#include "editor/ChangedCells.h"
#include "editor/DrawingMode.h"
#include "editor/Footprints.h"
#include "editor/UndoList.h"
#include "mapdata/MapFile.h"
#include "mapdata/OpenMap.h"

namespace stonereach {

class RandomSource;
class StrokeHistory;

// The one place where the painting tools write map cells: the square brush,
// the fill, the shapes, the custom brushes and undo all go through it. It
// reads each cell, applies the drawing mode and the altitude rule, writes the
// cell back through the open map file, keeps the undo rows and reports the
// cells it wrote. Cells outside the map are skipped: nothing is read,
// written, drawn or recorded for them.
//
// Cheap to make: make one for each operation over the map file open now. If
// an operation throws part-way (a read or write of the map file fails, the
// noise text does not convert, a brush tile id is out of range), the map file
// and the undo list are as painting cell by cell would have left them: the
// cells before the failing one written with their undo rows, and
// changedCells() names the cells written, for the view to redraw.
class Painter {
public:
    Painter(MapFile& map, const MapGeometry& geometry, UndoList& undo, RandomSource& random);

    // A painter for one operation on the editor's open map; nothing while no
    // map of known layout is open, when there is nothing to paint on, and
    // while its file may not be written (OpenMap::writable: deleted, cut
    // short or replaced under the editor), when nothing is written.
    static std::optional<Painter> over(OpenMap& map, UndoList& undo, RandomSource& random);

    // Tells the history each cell written from now on, with its new value
    // (and its old one when it has no undo row).
    Painter& recordingInto(StrokeHistory& history) {
        history_ = &history;
        return *this;
    }

    // Paints every cell of the footprint inside the map, column by column
    // (PaintCell): reads the cell, appends an undo row with its old altitude
    // and tile id, takes the new tile id from the drawing mode and the new
    // altitude from the rule, writes it. For the square brush and the fill.
    ChangedCells paintFootprint(const CellRect& footprint, const DrawingMode& mode, const AltitudeRule& altitude);

    // Writes each piece at (col + dx, row + dy) in order with its own tile id
    // and the altitude rule, without undo rows (PaintCellWithTile). For the
    // shapes and the custom brushes. A piece whose tile id is outside
    // 0..65535 ends the stamp with a RangeError before that cell is written.
    ChangedCells stamp(int col, int row, std::span<const BrushEntry> pieces, const AltitudeRule& altitude);

    // Restores the cell of the newest undo row to its old tile id and
    // altitude and deletes the row (UndoLastCell); returns the cell. Nothing
    // when the list is empty. A row whose cell lies outside the map open now
    // (it was made on another map) is deleted without writing anything.
    std::optional<CellPoint> undoLastCell();

    // The cells written by the latest operation, also after it threw (the
    // operations return a copy of this).
    const ChangedCells& changedCells() const { return changed_; }

private:
    void paintBlockColumn(const CellRect& part, const DrawingMode& mode, const AltitudeRule& altitude);
    void writeFirstCells(const CellRect& part, std::int64_t count, std::size_t undoRowsBefore);

    MapFile& map_;
    MapGeometry geometry_;
    UndoList& undo_;
    RandomSource& random_;
    StrokeHistory* history_ = nullptr;
    ChangedCells changed_;
    // The blocks of the block column being painted, as read and as changed.
    std::vector<MapBlockBytes> original_;
    std::vector<MapBlockBytes> blocks_;
};

} // namespace stonereach
