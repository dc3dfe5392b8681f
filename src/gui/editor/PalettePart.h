#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <QObject>
#include <QString>

#include "editor/TileLists.h"
#include "gui/app/HandlerGuard.h"

class QAction;
class QActionGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStackedLayout;
class QToolButton;

namespace stonereach {

class MapDrawSource;
class OpenMap;
class TilePalette;
struct WindowRegions;

// The tile palette on the right of the map: every land tile in order, or the
// rows of a tile list file (textures/*.lst) when "Sorted" is checked; the
// search by id, the menu of tile lists, and the right-button pick of a map
// cell's tile. Each tile it selects is handed on: it is the one "Selected
// tile from list" paints.
class PalettePart : public QObject {
    Q_OBJECT
public:
    // Land tile ids 0..16381 have a row in the unsorted palette.
    static constexpr int UnsortedRowCount = 16382;

    PalettePart(const HandlerGuard& guard, MapDrawSource& pictures, OpenMap& map, std::filesystem::path programDir,
                WindowRegions& regions);

    // Fills the sorted palette from the tile list file at the program
    // directory + `relativePath` ("textures/tileids.lst"). A file that cannot
    // be read or holds a bad line is reported and the palette keeps its
    // rows; a missing start-up list is no error: the palette is empty and
    // says so.
    void LoadTileList(const std::string& relativePath);
    // Rebuilds the tile list menu from textures/*.lst, checking the file
    // named by `current`.
    void ListTileListFiles(const std::string& current);

    // Draws both palettes again (after the client files changed).
    void redraw();

    // A press on a cell of the map view: the right button selects the cell's
    // tile and shows it in the palette that is up.
    void MainDrawGridMouseDown(int col, int row, Qt::MouseButton button);

    // The tile "Selected tile from list" paints: each palette frames its row
    // (scrolled into view), or nothing when it does not list the tile.
    void showSelectedTile(std::int64_t tile);

    // The tile list the sorted palette shows: its file name in textures/.
    std::string tileListName() const { return tileListName_; }

signals:
    // A tile was selected by the search or picked from the map; it may be any
    // value a search typed, so painting checks it.
    void tileSelected(std::int64_t tile);
    // A palette row was clicked: painting switches to its tile.
    void tileChosen(std::int64_t tile);
    // The status line shows the selected tile: refresh it.
    void statusLineRefreshRequested();

private:
    void TextureDrawGridClick(int row);
    void SortedTextureGridClick(int row);
    void cbSortetClick();
    void btnFindClick();
    void btnCustomTexturesClick();
    void HideunusedTexture1Click();
    // Selects tile v and shows it in the palette that is up, as the search
    // and the right-button pick do.
    void selectAndShow(std::int64_t v);
    void showNote(const QString& note);
    // Frames the selected tile's row in both palettes.
    void markSelectedTile();

    HandlerGuard guard_;
    OpenMap& map_;
    std::filesystem::path programDir_;
    std::vector<TileListRow> sortedRows_;
    std::string tileListName_;
    std::int64_t selectedTile_ = 0;

    QLineEdit* findEdit_;
    QPushButton* findButton_;
    QToolButton* listsButton_;
    QMenu* listsMenu_;
    QActionGroup* listsGroup_;
    QCheckBox* sortedBox_;
    QLabel* note_;
    QStackedLayout* stack_;
    TilePalette* unsorted_;
    TilePalette* sorted_;
    QAction* showTextureId_;
    QAction* hideUnusedTexture_;
};

} // namespace stonereach
