#pragma once

#include <filesystem>

#include <QDialog>
#include <QStringList>

#include "editor/BrushGrid.h"
#include "gui/app/HandlerGuard.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace stonereach {

class BrushGridView;
class MapDrawSource;
class TileChooser;
class UpDown;
class WindowDialogs;

// The brush editor: a brush is drawn on a grid of up to 10 x 10 cells by
// choosing tiles (or NODRAW) from the palette and clicking cells; an
// existing brush is loaded by choosing its name. OK saves the grid as
// brushes/<name>.brs in the program directory; the caller lists the brushes
// again after OK.
class TSRCustomBrush : public QDialog {
    Q_OBJECT
public:
    // `brushNames` are the main window's brush names, offered for loading.
    TSRCustomBrush(WindowDialogs& dialogs, std::filesystem::path programDir, MapDrawSource& pictures,
                   const QStringList& brushNames, QWidget* parent = nullptr);

    const BrushGrid& brush() const { return brush_; }
    // The tile a click on the grid puts down: a tile id, or -1 for NODRAW.
    int currentTile() const { return currentTile_; }

private:
    void buildControls(MapDrawSource& pictures, const QStringList& brushNames);
    void BrushGridSelectCell(int col, int row);
    void udRowsClick(int position);
    void udColsClick(int position);
    void cbCustomBrushesChange(const QString& name);
    void edBrushNameChange();
    // Why a name cannot be saved under, as OK would refuse it; empty when
    // it can.
    static QString nameProblem(const QString& name);
    void BitBtn1Click();
    // Shows the brush's column and row counts in the controls and the grid.
    void showBrushSize();
    std::filesystem::path brushesDir() const;

    HandlerGuard guard_;
    std::filesystem::path programDir_;
    BrushGrid brush_;
    int currentTile_ = -1;

    QLineEdit* nameEdit_;
    QComboBox* brushNames_;
    BrushGridView* grid_;
    QLineEdit* rowsEdit_;
    UpDown* rowsUpDown_;
    QLineEdit* colsEdit_;
    UpDown* colsUpDown_;
    TileChooser* chooser_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace stonereach
