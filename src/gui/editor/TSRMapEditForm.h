#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include <QMainWindow>

#include "editor/Bookmarks.h"
#include "editor/RandomSource.h"
#include "gui/app/EditorLink.h"
#include "gui/app/HandlerGuard.h"
#include "mapdata/SettingsStore.h"
#include "render/DataFileSetDrawSource.h"

namespace stonereach {

class BrushesPart;
class MapFilesPart;
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
// ...), connects the parts, and runs the start-up, resizing and closing
// steps in their order. The status line, which tells about several parts at
// once, is its own.
class TSRMapEditForm : public QMainWindow, public EditorLink {
    Q_OBJECT
public:
    // `store` keeps the settings, `dialogs` asks the user, `bookmarks` is the
    // program's one bookmark table.
    TSRMapEditForm(SettingsStore& store, WindowDialogs& dialogs, BookmarkTable& bookmarks,
                   QWidget* parent = nullptr);
    ~TSRMapEditForm() override;

    MapView& mapView() { return *mapView_; }
    PalettePart& palette() { return *palette_; }
    PaintingPart& painting() { return *painting_; }
    ToolWindows& toolWindows() { return *tools_; }
    const std::filesystem::path& programDirectory() const { return programDir_; }

    // Refreshes both status panels for the cell under the pointer.
    void UpdateStatusLine();

    // EditorLink
    QWidget* mainWindow() override { return this; }
    void goToCell(int x, int y) override;
    DataFileSet& dataFiles() override;
    std::optional<MapGeometry> mapGeometry() const override;
    QString mapSizeText() const override;
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
    bool isOpenMap(const std::filesystem::path& path);

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
    // The generator of painting's random choices, seeded from the clock when
    // the window is first shown.
    RandomSource random_{0};

    bool shownOnce_ = false;
    // A read failure of the status line is told once, until a read succeeds.
    bool statusReadFailureShown_ = false;
};

} // namespace stonereach
