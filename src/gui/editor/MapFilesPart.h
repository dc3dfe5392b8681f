#pragma once

#include <memory>
#include <optional>
#include <string>

#include <QObject>
#include <QString>

#include "gui/app/HandlerGuard.h"
#include "mapdata/DataFileDialogs.h"
#include "mapdata/DataFileSet.h"

class QLabel;
class QLineEdit;
class QToolButton;

namespace stonereach {

struct WindowRegions;

// The map path and the client directory: their edits and browse buttons, the
// map file information, and the open data file set that follows them, with
// the open map. A change of either path judges it and opens the files
// again; the labels show what the open map says of itself.
class MapFilesPart : public QObject, private DataFileDialogs {
    Q_OBJECT
public:
    MapFilesPart(SettingsStore& store, const HandlerGuard& guard, WindowRegions& regions);
    ~MapFilesPart() override;

    DataFileSet& dataFiles() { return *dataFiles_; }
    OpenMap& openMap() { return dataFiles_->openMap(); }

    // Start-up: reads the stored paths, opens the files and puts the paths
    // into the edits (which runs their change handlers). Stops early when the
    // user chose to quit in an error dialog.
    void restoreDataFiles();
    // Stores both paths as the edits hold them and reopens the valid halves.
    void storePathsAndReopen();
    // Shows the open map's variant and size in the map file information.
    void DetectMapVariant();
    // The open map's file was replaced by a tool: opens the new one at the
    // same path and shows what it is.
    void reopenMap();

    // Why no map cell can be read now (a file missing, no map file at the
    // map path, a map of no known size), as the status line says it; empty
    // when the files are in order.
    QString notReadyReason() const;

    // True once the user chose to quit in an error dialog: nothing is opened,
    // closed or saved after that.
    bool closingAfterError() const { return dataFiles_->closingAfterError(); }

signals:
    // The map file information was shown afresh: the open map may be another
    // file, of another size.
    void mapDetected();
    // A later change of the map path (not the one at start-up): the view goes
    // to the origin of the new map.
    void mapSwitched();
    // The files or paths changed: whatever shows map cells or tile pictures
    // draws again.
    void filesChanged();
    // The user chose Cancel in a data file error dialog: the program quits.
    void quitRequested();

private:
    // DataFileDialogs
    ErrorChoice showErrorDetected(const std::string& title, const std::string& detail) override;
    void browseClientDirectory() override;

    void MapEditChange(const QString& text);
    void UOPathEditChange(const QString& text);
    void TlLoadMapClick();
    void TlSelectDirClick();
    void showPathValidity();
    // What is wrong with the client directory: no such folder, or the files
    // it lacks.
    QString clientDirProblem() const;
    // Why the map path is red.
    QString mapPathProblem() const;
    void describeStorage(const std::optional<MapContainerInfo>& container);
    void describeUnknownMap(const QString& description);

    HandlerGuard guard_;
    std::unique_ptr<DataFileSet> dataFiles_;

    QLineEdit* mapEdit_;
    QToolButton* loadMapButton_;
    QLineEdit* clientDirEdit_;
    QToolButton* selectDirButton_;
    QLabel* mapInfo_;
    QLabel* mapSize_;
    QLabel* mapStorage_;

    // The first change of the map path (the restore at start-up) keeps the
    // stored jump coordinates; every later change sends the view to (0, 0).
    bool firstMapPathChange_ = true;
};

} // namespace stonereach
