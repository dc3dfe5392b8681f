#pragma once

#include <memory>
#include <optional>
#include <string>

#include <QMainWindow>

#include "editor/Bookmarks.h"
#include "mapdata/DataFileDialogs.h"
#include "mapdata/DataFileSet.h"
#include "mapdata/SettingsStore.h"
#include "render/DataFileSetDrawSource.h"

class QAction;
class QLineEdit;

namespace stonereach {

class FileNamePanel;
class LeftPanel;
class MapView;
class StatusBar;
class WindowDialogs;

// The main window: the map view in the centre, the path controls below, the
// navigation and display switches on the left, the status line at the
// bottom. It owns the open data file set and runs the start-up, the path
// changes, the jump, the zoom and the closing steps.
class TSRMapEditForm : public QMainWindow, private DataFileDialogs {
    Q_OBJECT
public:
    // `store` keeps the settings, `dialogs` asks the user, `bookmarks` is the
    // program's one bookmark table.
    TSRMapEditForm(SettingsStore& store, WindowDialogs& dialogs, BookmarkTable& bookmarks,
                   QWidget* parent = nullptr);
    ~TSRMapEditForm() override;

    DataFileSet& dataFiles() { return *dataFiles_; }
    MapView& mapView() { return *mapView_; }

    // The jump to the cell typed in the two jump edits; also run by the
    // bookmarks and by other tools.
    void CoordGoBtnClick();
    // Refreshes both status panels for the cell under the pointer.
    void UpdateStatusLine();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // DataFileDialogs
    ErrorChoice showErrorDetected(const std::string& title, const std::string& detail) override;
    void browseClientDirectory() override;

    void buildMenu();
    void connectHandlers();

    void FormShow();
    void FormResize();
    bool FormKeyDown(const QKeyEvent& event);
    void LoadSettings();
    void SaveSettings();

    void MapEditChange(const QString& text);
    void DetectMapVariant();
    void UOPathEditChange(const QString& text);
    void TlLoadMapClick();
    void TlSelectDirClick();

    void ZoomInClick();
    void ZoomOutClick();
    void TLZoomLevelClick();
    void setZoom(int cellSize);
    void GridBoxClick();
    void ShowAltitudeRadioGroupClick();
    void displaySwitchClick();
    void About1Click();

    void jumpToBookmark(int slot);
    void showPathValidity();

    // Runs a handler through the error boundary.
    template <typename Handler>
    void guarded(Handler&& handler);

    std::unique_ptr<DataFileSet> dataFiles_;
    DataFileSetDrawSource drawSource_;
    WindowDialogs& dialogs_;
    SettingsStore& store_;
    BookmarkTable& bookmarks_;

    FileNamePanel* fileNamePanel_ = nullptr;
    LeftPanel* leftPanel_ = nullptr;
    MapView* mapView_ = nullptr;
    StatusBar* statusBar_ = nullptr;
    QAction* coloredAltitude_ = nullptr;
    QAction* showOnlyColor_ = nullptr;
    QAction* showNumber_ = nullptr;

    // The first change of the map path (the restore at start-up) keeps the
    // stored jump coordinates; every later change sends the view to (0, 0).
    bool firstMapPathChange_ = true;
    bool shownOnce_ = false;
    // Settings of the painting tools, kept as stored so that closing writes
    // them back unchanged: the Z value text and the altitude mode item.
    std::string coordZ_ = "0";
    int altitudeModify_ = 3;
};

} // namespace stonereach
