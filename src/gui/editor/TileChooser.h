#pragma once

#include <optional>
#include <vector>

#include <QWidget>

#include "editor/PaletteTileList.h"
#include "gui/app/HandlerGuard.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace stonereach {

class MapDrawSource;
class TilePalette;

// The tile palette of the brush editor and the selection group dialog: a
// column of 44 x 44 tile pictures from textures/tileids.lst (in the brush
// editor after a NODRAW row), the search by hexadecimal id ("Tile ID" and
// "Go") and "show ID". A list that cannot be read leaves the palette empty
// with one line saying which file is missing.
class TileChooser : public QWidget {
    Q_OBJECT
public:
    static constexpr int CellSize = 44;

    TileChooser(const HandlerGuard& guard, MapDrawSource& source, const PaletteTileList& list, bool noDrawRow,
                QWidget* parent = nullptr);

    TilePalette& palette() { return *palette_; }
    // The tile of the palette's selected row (TilePictures::NoDraw for the
    // NODRAW row); nothing while the palette has no rows.
    std::optional<int> selectedTile() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The user chose a row, or the search found one: its tile.
    void tileChosen(int tile);
    // A double click on a row.
    void tileDoubleClicked(int tile);

private:
    void btnFindClick();

    HandlerGuard guard_;
    std::vector<TileListRow> rows_;
    // Palette row of rows_[0]: 1 after a NODRAW row, else 0.
    int firstTileRow_;

    QLineEdit* findEdit_;
    QPushButton* findButton_;
    QCheckBox* showIds_;
    QLabel* note_;
    TilePalette* palette_;
};

// The palette `smallDrawGrid` of the editor's dialogs: 44 x 44 cells holding
// the list's tiles (after a NODRAW entry when asked), ids shown, as narrow
// (vertical) or as low (horizontal) as one cell and its scroll bar allow.
TilePalette* makeTileListPalette(MapDrawSource& source, const PaletteTileList& list, Qt::Orientation orientation,
                                 bool noDrawRow, QWidget* parent);

// The line under a palette saying why its list is empty; hidden when the
// list was read.
QLabel* makePaletteNote(const PaletteTileList& list, QWidget* parent);

} // namespace stonereach
