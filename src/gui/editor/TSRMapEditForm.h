#pragma once

#include <filesystem>
#include <memory>

#include <QMainWindow>

#include "editor/Bookmarks.h"
#include "editor/RememberedChoices.h"
#include "gui/app/EditorLink.h"
#include "gui/app/HandlerGuard.h"
#include "mapdata/OpenMap.h"
#include "mapdata/SettingsStore.h"
#include "render/DataFileSetDrawSource.h"

namespace stonereach {

class BrushesPart;
class MapFilesPart;
class MapFileWatcher;
class MapView;
class NavigationPart;
class PaintingPart;
class PalettePart;
class StatusBar;
class ToolWindows;
class WindowDialogs;

// The main window. It lays out the regions (tool strip, left and right
// panels, the map view, the path panel, the status line) and the menus,
// makes one part per concern that fills them (the map files, navigation,
// ...), connects the parts in connectParts(), the one place where they meet,
// and runs the start-up, resizing and closing steps in their order. The
// status line, which tells about several parts at once, is its own.
class TSRMapEditForm : public QMainWindow, public EditorLink {
    Q_OBJECT
public:
    // `store` keeps the settings, `dialogs` asks the user, `bookmarks` is the
    // program's one bookmark table.
    TSRMapEditForm(SettingsStore& store, WindowDialogs& dialogs, BookmarkTable& bookmarks,
                   QWidget* parent = nullptr);
    ~TSRMapEditForm() override;

    MapView& mapView() { return *mapView_; }
    PaintingPart& painting() { return *painting_; }
    ToolWindows& toolWindows() { return *tools_; }

    // EditorLink
    QWidget* mainWindow() override { return this; }
    void goToCell(int x, int y) override;
    const OpenMap& openMap() override;
    const RadarColours& radarColours() override;
    bool clientDirectoryValid() override;
    void mapFileWritten(const std::filesystem::path& path) override;
    void mapFileReplaced(const std::filesystem::path& path) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectParts();
    // The keyboard's Tab order over every part's controls.
    void chainTabStops();
    // Refreshes both status panels for the cell under the pointer.
    void UpdateStatusLine();
    // Another program changed the open map, or the client files.
    void mapChangedElsewhere(MapFileChange change);
    void clientFilesChangedElsewhere();
    // The status line's notice says whether the open map may be written.
    void showMapTrouble();

    void FormShow();
    void FormResize();
    void FormCreate();
    void LoadSettings();
    void SaveSettings();
    void restoreWindowGeometry();
    void About1Click();
    void captureHoveredCell();
    void Options1Click();
    void LoadBookmarks();
    void SaveBookmarks();

    HandlerGuard guard_;
    SettingsStore& store_;
    BookmarkTable& bookmarks_;
    std::filesystem::path programDir_;

    MapView* mapView_ = nullptr;
    StatusBar* statusBar_ = nullptr;
    std::unique_ptr<MapFilesPart> mapFiles_;
    std::unique_ptr<DataFileSetDrawSource> drawSource_;
    std::unique_ptr<NavigationPart> navigation_;
    std::unique_ptr<PalettePart> palette_;
    std::unique_ptr<BrushesPart> brushes_;
    std::unique_ptr<PaintingPart> painting_;
    std::unique_ptr<ToolWindows> tools_;
    std::unique_ptr<MapFileWatcher> watcher_;

    // The choices of the last run, read at creation and used again when the
    // window is first shown.
    RememberedChoices remembered_;
    bool shownOnce_ = false;
};

} // namespace stonereach
