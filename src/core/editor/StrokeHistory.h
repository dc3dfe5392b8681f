#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/ChunkedVector.h"
#include "editor/Footprints.h"
#include "editor/UndoList.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapLayout.h"

namespace stonereach {

class OpenMap;

// The tool a stroke was made with; it names the stroke in the Edit menu.
enum class StrokeTool : std::uint8_t { Paint, Fill, Shape, Brush };
std::string_view strokeToolName(StrokeTool tool);

// What the next Undo Stroke or Redo works on: the stroke's tool and how many
// different cells it wrote.
struct StrokeSummary {
    StrokeTool tool = StrokeTool::Paint;
    std::size_t cells = 0;
    friend bool operator==(const StrokeSummary&, const StrokeSummary&) = default;
};

// How the Edit menu names a stroke: the tool and the cells, "Fill 40 cells".
std::string describeStroke(const StrokeSummary& stroke);

// One cell a stroke wrote, as the stroke left it: x, y and the tile id, each
// 16 bits little-endian, then the altitude. With the cell's undo row (8
// bytes) a painted cell costs 15 bytes of history.
class StrokeCell {
public:
    StrokeCell() = default;
    StrokeCell(int x, int y, MapCell cell) {
        le::put16(bytes_.data(), static_cast<std::uint16_t>(x));
        le::put16(bytes_.data() + 2, static_cast<std::uint16_t>(y));
        encodeCell(bytes_.data() + 4, cell);
    }
    int x() const { return le::u16(bytes_.data()); }
    int y() const { return le::u16(bytes_.data() + 2); }
    MapCell cell() const { return decodeCell(bytes_.data() + 4); }

private:
    std::array<std::uint8_t, 7> bytes_{};
};
static_assert(sizeof(StrokeCell) == 7, "a stroke keeps 7 bytes a cell");

// The stroke history of the open map: every stroke (what one user action
// wrote: a press of the mouse to its release, a keyboard selection, a
// completed fill) with the cells it wrote, so that Undo Stroke takes a whole
// stroke back and Redo writes it again exactly as it left the cells.
//
// Strokes of the square brush and the fill have undo rows in the undo list,
// one per cell written; the history keeps only what the cells became and
// uses those rows to take them back, so Ctrl+Z (one row at a time) and Undo
// Stroke work on one history: after Ctrl+Z took back some cells of the
// latest stroke, Undo Stroke takes back the rest, and Redo writes all of it.
// Cells that Ctrl+Z takes back from a stroke below a later one (a shape, say)
// can no longer be redone in their order and are forgotten. Strokes of the
// shapes and custom brushes have no undo rows and keep what their cells held
// before (3 bytes more a cell). A stroke that writes something empties the
// redo list. Cells are written back whatever another program made of them
// meanwhile: the history is of the editor's writes, not a lock.
//
// The history belongs to the file open now: when the open map becomes
// another file (OpenMap::generation) it starts empty. The undo list keeps
// its rows all the same.
class StrokeHistory {
public:
    StrokeHistory(OpenMap& map, UndoList& undo);

    // A user action paints with `tool`: called before each selection paints.
    // The stroke open since the last endStroke() goes on; one of another tool
    // is ended first.
    void beginStroke(StrokeTool tool);
    // The action is over: the next selection begins another stroke.
    void endStroke();

    // The painter tells each cell it wrote, in the order written, while a
    // stroke is open (nothing is kept otherwise): a cell whose undo row is
    // row `undoRow` of the undo list, or a cell written without one, with
    // what it held before.
    void recordPainted(int x, int y, MapCell now, std::size_t undoRow);
    void recordStamped(int x, int y, MapCell before, MapCell now);

    // The stroke that Undo Stroke or Redo would take back or write again.
    std::optional<StrokeSummary> nextUndo();
    std::optional<StrokeSummary> nextRedo();

    // Undo Stroke: writes back what every cell of the latest stroke not yet
    // undone held before it, latest cell first, and drops the stroke's undo
    // rows. Redo: writes the earliest undone stroke again, cell by cell as it
    // left them, with undo rows of what the cells hold now for the cells that
    // have none. Each returns the rectangle around the cells it wrote;
    // nothing when there is nothing to do or the map may not be written now.
    // A failed write puts back what it can and leaves the history as it was.
    std::optional<CellRect> undoStroke();
    std::optional<CellRect> redoStroke();

    void clear();

private:
    struct Stroke {
        StrokeTool tool;
        bool withUndoRows;
        bool mayRepeat = false; // the same cell may be written more than once
        std::size_t firstCell;
        std::size_t cellCount = 0;
        std::size_t firstUndoRow;  // with undo rows: the row of its first cell
        std::size_t firstOld;      // without: what its first cell held before
        std::size_t distinct = 0;  // different cells written
    };

    void sync();
    void settle(std::size_t undoRows);
    std::size_t remaining(const Stroke& stroke, std::size_t undoRows) const;
    Stroke& strokeToRecordInto(bool withUndoRows, std::size_t undoRow);
    void startStroke(bool withUndoRows, std::size_t undoRow);
    void finishOpenStroke();
    void countDistinct(Stroke& stroke) const;
    void forgetRedo();

    OpenMap& map_;
    UndoList& undo_;
    std::uint64_t generation_;

    std::vector<Stroke> strokes_;
    // Strokes [0, done_) are done (those with undo rows perhaps partly taken
    // back by Ctrl+Z); the rest are undone, the redo list, earliest first.
    std::size_t done_ = 0;
    ChunkedVector<StrokeCell> cells_;
    ChunkedVector<MapCellBytes> olds_;

    // The stroke the user action under way writes into.
    std::optional<StrokeTool> openTool_;
    bool openHasStroke_ = false; // it is strokes_.back()
    int openSelections_ = 0;
};

} // namespace stonereach
