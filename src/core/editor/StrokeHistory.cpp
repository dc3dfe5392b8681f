#include "editor/StrokeHistory.h"

#include <algorithm>
#include <exception>

#include "editor/CellBatch.h"
#include "mapdata/OpenMap.h"

namespace stonereach {

std::string_view strokeToolName(StrokeTool tool) {
    switch (tool) {
    case StrokeTool::Paint: return "Paint";
    case StrokeTool::Fill: return "Fill";
    case StrokeTool::Shape: return "Shape";
    case StrokeTool::Brush: return "Brush";
    }
    return "Paint";
}

std::string describeStroke(const StrokeSummary& stroke) {
    return std::string(strokeToolName(stroke.tool)) + " " + std::to_string(stroke.cells) +
           (stroke.cells == 1 ? " cell" : " cells");
}

StrokeHistory::StrokeHistory(OpenMap& map, UndoList& undo)
    : map_(map), undo_(undo), generation_(map.generation()) {}

void StrokeHistory::sync() {
    if (map_.generation() == generation_)
        return;
    clear();
    generation_ = map_.generation();
}

void StrokeHistory::clear() {
    strokes_.clear();
    done_ = 0;
    cells_.clear();
    olds_.clear();
    openHasStroke_ = false;
}

// ---- Recording ----------------------------------------------------------------

void StrokeHistory::beginStroke(StrokeTool tool) {
    if (openTool_ && *openTool_ != tool)
        endStroke();
    openTool_ = tool;
    ++openSelections_;
}

void StrokeHistory::endStroke() {
    finishOpenStroke();
    openTool_.reset();
    openSelections_ = 0;
}

void StrokeHistory::finishOpenStroke() {
    if (!openHasStroke_)
        return;
    openHasStroke_ = false;
    Stroke& stroke = strokes_.back();
    stroke.mayRepeat = openSelections_ > 1 || stroke.tool == StrokeTool::Brush;
    countDistinct(stroke);
}

void StrokeHistory::countDistinct(Stroke& stroke) const {
    if (!stroke.mayRepeat) {
        stroke.distinct = stroke.cellCount;
        return;
    }
    std::vector<std::uint32_t> seen;
    seen.reserve(stroke.cellCount);
    for (std::size_t i = 0; i < stroke.cellCount; ++i) {
        const StrokeCell& cell = cells_[stroke.firstCell + i];
        seen.push_back(static_cast<std::uint32_t>(cell.x()) << 16 | static_cast<std::uint32_t>(cell.y()));
    }
    std::sort(seen.begin(), seen.end());
    stroke.distinct = static_cast<std::size_t>(std::unique(seen.begin(), seen.end()) - seen.begin());
}

void StrokeHistory::recordPainted(int x, int y, MapCell now, std::size_t undoRow) {
    sync();
    if (!openTool_)
        return;
    Stroke& stroke = strokeToRecordInto(true, undoRow);
    cells_.push_back(StrokeCell(x, y, now));
    ++stroke.cellCount;
}

void StrokeHistory::recordStamped(int x, int y, MapCell before, MapCell now) {
    sync();
    if (!openTool_)
        return;
    Stroke& stroke = strokeToRecordInto(false, undo_.size());
    cells_.push_back(StrokeCell(x, y, now));
    MapCellBytes old{};
    encodeCell(old.data(), before);
    olds_.push_back(old);
    ++stroke.cellCount;
}

// The open stroke, when the cell continues it: its rows must follow each
// other in the undo list (a write that failed part-way leaves a row of a cell
// that was not written between them), else a new stroke begins.
StrokeHistory::Stroke& StrokeHistory::strokeToRecordInto(bool withUndoRows, std::size_t undoRow) {
    if (openHasStroke_) {
        Stroke& open = strokes_.back();
        if (open.withUndoRows == withUndoRows &&
            (!withUndoRows || open.firstUndoRow + open.cellCount == undoRow))
            return open;
        finishOpenStroke();
    }
    startStroke(withUndoRows, undoRow);
    return strokes_.back();
}

// `undoRow` is the undo list's length before the new stroke's rows: what
// Ctrl+Z took back is judged by it.
void StrokeHistory::startStroke(bool withUndoRows, std::size_t undoRow) {
    settle(undoRow);
    forgetRedo();
    // The cells Ctrl+Z took back from the latest stroke can no longer be
    // redone.
    if (done_ > 0) {
        Stroke& latest = strokes_[done_ - 1];
        if (latest.withUndoRows && remaining(latest, undoRow) < latest.cellCount) {
            latest.cellCount = remaining(latest, undoRow);
            cells_.truncate(latest.firstCell + latest.cellCount);
            countDistinct(latest);
        }
    }
    strokes_.push_back(Stroke{*openTool_, withUndoRows, false, cells_.size(), 0, undoRow, olds_.size(), 0});
    done_ = strokes_.size();
    openHasStroke_ = true;
}

void StrokeHistory::forgetRedo() {
    if (done_ == strokes_.size())
        return;
    cells_.truncate(strokes_[done_].firstCell);
    olds_.truncate(strokes_[done_].firstOld);
    strokes_.resize(done_);
}

// ---- What Ctrl+Z did -----------------------------------------------------------

std::size_t StrokeHistory::remaining(const Stroke& stroke, std::size_t undoRows) const {
    if (!stroke.withUndoRows)
        return stroke.cellCount;
    return undoRows <= stroke.firstUndoRow ? 0 : std::min(undoRows - stroke.firstUndoRow, stroke.cellCount);
}

// Brings the strokes in line with the undo list's length after Ctrl+Z took
// rows from its end: the latest strokes whose rows are all gone are undone
// (the redo list begins with them), and a stroke below the latest done one
// keeps only the cells whose rows are left.
void StrokeHistory::settle(std::size_t undoRows) {
    while (done_ > 0 && strokes_[done_ - 1].withUndoRows && remaining(strokes_[done_ - 1], undoRows) == 0)
        --done_;
    if (done_ < 2)
        return;
    bool emptied = false;
    for (std::size_t i = done_ - 1; i-- > 0;) {
        Stroke& stroke = strokes_[i];
        if (!stroke.withUndoRows)
            continue;
        if (remaining(stroke, undoRows) == stroke.cellCount)
            break; // its rows and those of every stroke before it are all there
        stroke.cellCount = remaining(stroke, undoRows);
        countDistinct(stroke);
        emptied = emptied || stroke.cellCount == 0;
    }
    if (!emptied)
        return;
    const auto last = strokes_.begin() + static_cast<std::ptrdiff_t>(done_ - 1);
    const auto kept = std::remove_if(strokes_.begin(), last, [](const Stroke& s) { return s.cellCount == 0; });
    done_ -= static_cast<std::size_t>(last - kept);
    strokes_.erase(kept, last);
}

// ---- Undo Stroke and Redo --------------------------------------------------------

std::optional<StrokeSummary> StrokeHistory::nextUndo() {
    sync();
    settle(undo_.size());
    if (done_ == 0)
        return std::nullopt;
    const Stroke& stroke = strokes_[done_ - 1];
    return StrokeSummary{stroke.tool, openHasStroke_ && done_ == strokes_.size() ? stroke.cellCount : stroke.distinct};
}

std::optional<StrokeSummary> StrokeHistory::nextRedo() {
    sync();
    settle(undo_.size());
    if (done_ > 0) {
        const Stroke& latest = strokes_[done_ - 1];
        if (remaining(latest, undo_.size()) < latest.cellCount)
            return StrokeSummary{latest.tool, latest.distinct};
    }
    if (done_ == strokes_.size())
        return std::nullopt;
    return StrokeSummary{strokes_[done_].tool, strokes_[done_].distinct};
}

std::optional<CellRect> StrokeHistory::undoStroke() {
    endStroke();
    sync();
    const std::size_t rows = undo_.size();
    settle(rows);
    const std::optional<MapGeometry> geometry = map_.geometry();
    if (done_ == 0 || !geometry || !map_.writable())
        return std::nullopt;
    Stroke& stroke = strokes_[done_ - 1];
    CellBatch batch(map_.file(), *geometry);
    if (stroke.withUndoRows) {
        for (std::size_t i = remaining(stroke, rows); i-- > 0;) {
            const UndoRow& row = undo_.at(stroke.firstUndoRow + i);
            batch.set(row.x, row.y, MapCell{row.tile, row.z});
        }
    } else {
        for (std::size_t i = stroke.cellCount; i-- > 0;) {
            const StrokeCell& cell = cells_[stroke.firstCell + i];
            batch.set(cell.x(), cell.y(), decodeCell(olds_[stroke.firstOld + i].data()));
        }
    }
    batch.write();
    if (stroke.withUndoRows)
        undo_.truncate(stroke.firstUndoRow);
    --done_;
    return batch.bounds();
}

std::optional<CellRect> StrokeHistory::redoStroke() {
    endStroke();
    sync();
    const std::size_t rows = undo_.size();
    settle(rows);
    // Cells Ctrl+Z took back from the latest stroke come first; then the
    // earliest stroke of the redo list.
    std::size_t index = done_;
    if (done_ > 0 && remaining(strokes_[done_ - 1], rows) < strokes_[done_ - 1].cellCount)
        index = done_ - 1;
    const std::optional<MapGeometry> geometry = map_.geometry();
    if (index == strokes_.size() || !geometry || !map_.writable())
        return std::nullopt;
    Stroke& stroke = strokes_[index];
    const bool undone = index == done_;
    const std::size_t withRows = undone ? 0 : remaining(stroke, rows);

    CellBatch batch(map_.file(), *geometry);
    std::vector<MapCellBytes> olds;
    try {
        for (std::size_t i = 0; i < stroke.cellCount; ++i) {
            const StrokeCell& cell = cells_[stroke.firstCell + i];
            if (stroke.withUndoRows && i >= withRows) {
                const MapCell now = batch.get(cell.x(), cell.y());
                undo_.append(cell.x(), cell.y(), now.z, now.tile);
            } else if (!stroke.withUndoRows) {
                encodeCell(olds.emplace_back().data(), batch.get(cell.x(), cell.y()));
            }
            batch.set(cell.x(), cell.y(), cell.cell());
        }
        batch.write();
    } catch (...) {
        undo_.truncate(rows);
        throw;
    }
    if (stroke.withUndoRows && undone)
        stroke.firstUndoRow = rows;
    for (std::size_t i = 0; i < olds.size(); ++i)
        olds_[stroke.firstOld + i] = olds[i];
    if (undone)
        ++done_;
    return batch.bounds();
}

} // namespace stonereach
