#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QString>

#include "editor/AltitudeRule.h"
#include "editor/BrushLines.h"
#include "editor/ChangedCells.h"
#include "editor/DrawingMode.h"
#include "editor/Footprints.h"
#include "editor/RandomSource.h"
#include "editor/SelectionGroups.h"
#include "editor/StrokeHistory.h"
#include "editor/UndoList.h"
#include "gui/app/HandlerGuard.h"
#include "mapdata/ViewSettings.h"

class QAbstractButton;
class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace stonereach {

class OpenMap;
class RadioGroup;
class UpDown;
struct WindowRegions;

// The painting tools: the tool buttons (square brush, fill, the fourteen
// shapes, the custom brush), the brush size and random altitude, the
// altitude mode and value, the drawing mode with the selection groups, and
// undo, with what they paint: the selected tile, the selection groups and
// the chosen custom brush. Selecting a cell of the map view paints on the
// open map with the tool that is down. Everything one user action paints is
// one stroke of the stroke history, which "Undo Stroke" and "Redo" in the
// Edit menu take back and write again.
class PaintingPart : public QObject {
    Q_OBJECT
public:
    PaintingPart(const HandlerGuard& guard, OpenMap& map, std::filesystem::path programDir, WindowRegions& regions);
    ~PaintingPart() override;

    // The map view's selection handler: paints with the tool that is down.
    void MainDrawGridSelectCell(int col, int row);
    // An arrow key scrolled the map view: the next selection, the grid's own
    // move of the current cell, paints nothing.
    void arrowKeyScrolled() { skipNextSelection_ = true; }
    // Restores the cell of the newest undo row.
    void UndoLastCell();

    // A press of the mouse on the map view begins a user action, its
    // release ends it: the selections in between paint one stroke. A
    // selection outside a press (a key) is a stroke of its own.
    void strokeStarted();
    void strokeEnded();
    // "Undo Stroke" and "Redo".
    void undoStroke();
    void redoStroke();
    // Names the strokes in the two menu items and enables them when there is
    // something to do (after anything that changes the history or the map).
    void refreshStrokeActions();
    // Rebuilds the drawing mode list from tilelist.xml and chooses "Don't
    // draw".
    void LoadSelectionGroups();
    // Chooses one of the fixed drawing modes.
    void chooseDrawingMode(DrawingMode::Kind kind);
    // The text of the drawing mode's item ("Don't draw", a group's name, ...),
    // and choosing the first item of a text; false when no item has it.
    QString drawingModeText() const;
    bool chooseDrawingModeNamed(const QString& text);

    // The tile "Selected tile from list" paints; any value a search typed,
    // checked when painting.
    std::int64_t selectedTile() const { return selectedTile_; }
    void selectTile(std::int64_t tile);
    // A palette row was chosen: its tile, painted as "Selected tile from
    // list".
    void chooseTile(std::int64_t tile);
    // The custom brush the Brush tool stamps (empty: none is loaded).
    void setBrush(std::vector<BrushEntry> entries) { brush_ = std::move(entries); }

    // Seeds the random choices (group members, random altitude) from the
    // clock.
    void seedRandomFromClock() { random_ = RandomSource::seededFromClock(); }

    // Panel 1 of the status line: the altitude and the drawing mode.
    std::string selectedModeStatus() const;

    void applySettings(const StoredViewSettings& stored);
    void collectSettings(ViewSettingsToSave& values) const;

    const UndoList& undoList() const { return undo_; }

signals:
    // Something panel 1 of the status line shows changed.
    void statusLineRefreshRequested();
    // The cells a tool wrote, also when it failed part-way: the view draws
    // them again.
    void cellsWritten(const ChangedCells& cells);
    // A stroke was taken back or written again within this rectangle.
    void areaWritten(const CellRect& area);
    // A shape tool went down or up: the current cell's outline shows it.
    void shapeToolDownChanged(bool down);
    // The tile "Selected tile from list" paints changed: the palettes frame it.
    void selectedTileChanged(std::int64_t tile);
    // The fill's first corner while Fill is down and waits for the second,
    // else nothing: the view shows the rectangle it would fill.
    void fillCornerChanged(std::optional<CellPoint> corner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Tool { Paint, Fill, Shape, Brush };

    void buildToolButtons(WindowRegions& regions);
    void buildBrushSizeGroup(WindowRegions& regions);
    void buildAltitudeControls(WindowRegions& regions);
    static StrokeTool strokeToolOf(Tool tool);
    void toolChanged();
    void tellFillCorner();
    void ZValueEditChange(const QString& text);
    Tool toolDown() const;
    int shapeDown() const;
    AltitudeSettings altitudeSettings(int z) const;
    // The item of the drawing mode list, and the drawing mode it makes.
    DrawingModeItem drawingModeItem() const;
    DrawingMode drawingMode() const;
    // Paints through a painter over the open map; the cells it wrote are
    // redrawn also when it fails part-way.
    template <typename Operation>
    void paint(Operation&& operation);
    template <typename Operation>
    void writeStroke(Operation&& operation);

    HandlerGuard guard_;
    OpenMap& map_;
    std::filesystem::path programDir_;
    RandomSource random_{0};

    UndoList undo_;
    StrokeHistory history_{map_, undo_};
    bool pressHeld_ = false;
    FillState fill_;
    std::vector<TTileNamed> groups_;
    std::int64_t selectedTile_ = 0;
    std::vector<BrushEntry> brush_;
    bool skipNextSelection_ = false;

    QButtonGroup* tools_;
    UpDown* brushSize_;
    QLineEdit* brushSizeEdit_;
    QCheckBox* addRandom_;
    QLineEdit* noiseEdit_;
    UpDown* noiseUpDown_;
    RadioGroup* altitudeMode_;
    QLineEdit* zEdit_;
    UpDown* zUpDown_;
    QComboBox* drawingModes_;
    QAction* undoAction_;
    QAction* undoStrokeAction_;
    QAction* redoAction_;
};

} // namespace stonereach
