#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <QObject>

#include "editor/AltitudeRule.h"
#include "editor/Footprints.h"
#include "editor/SelectionGroups.h"
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

class BrushesPart;
class ChangedCells;
class DrawingMode;
class MapFilesPart;
class MapView;
class PalettePart;
class RadioGroup;
class RandomSource;
class UpDown;
struct WindowRegions;

// The painting tools: the tool buttons (square brush, fill, the fourteen
// shapes, the custom brush), the brush size and random altitude, the
// altitude mode and value, the drawing mode with the selection groups, and
// undo. Selecting a cell of the map view paints with the tool that is down.
class PaintingPart : public QObject {
    Q_OBJECT
public:
    PaintingPart(const HandlerGuard& guard, MapView& view, MapFilesPart& files, PalettePart& palette,
                 BrushesPart& brushes, RandomSource& random, std::filesystem::path programDir,
                 WindowRegions& regions);
    ~PaintingPart() override;

    // The map view's selection handler: paints with the tool that is down.
    void MainDrawGridSelectCell(int col, int row);
    // Restores the cell of the newest undo row.
    void UndoLastCell();
    // Rebuilds the drawing mode list from tilelist.xml and chooses "Don't
    // draw".
    void LoadSelectionGroups();
    // Chooses a drawing mode item (0 "Don't draw", 1 "Selected tile from
    // list", 2 "Altitude only", 3 and on the groups).
    void setDrawingModeIndex(int index);

    // Panel 1 of the status line: the altitude and the drawing mode.
    std::string selectedModeStatus() const;

    void applySettings(const StoredViewSettings& stored);
    void collectSettings(ViewSettingsToSave& values) const;

    const UndoList& undoList() const { return undo_; }

signals:
    // Something panel 1 of the status line shows changed.
    void statusLineRefreshRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Tool { Paint, Fill, Shape, Brush };

    void buildToolButtons(WindowRegions& regions);
    void buildBrushSizeGroup(WindowRegions& regions);
    void buildAltitudeControls(WindowRegions& regions);
    void toolChanged();
    void ZValueEditChange(const QString& text);
    Tool toolDown() const;
    int shapeDown() const;
    AltitudeSettings altitudeSettings(int z) const;
    DrawingMode drawingMode() const;
    // Paints through a painter over the open map; the cells it wrote are
    // redrawn also when it fails part-way.
    template <typename Operation>
    void paint(Operation&& operation);

    HandlerGuard guard_;
    MapView& view_;
    MapFilesPart& files_;
    PalettePart& palette_;
    BrushesPart& brushes_;
    RandomSource& random_;
    std::filesystem::path programDir_;

    UndoList undo_;
    FillState fill_;
    std::vector<TTileNamed> groups_;

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
};

} // namespace stonereach
