#pragma once

#include <memory>
#include <optional>
#include <string>

#include <QObject>
#include <QString>

#include "gui/app/HandlerGuard.h"
#include "mapdata/DataFileDialogs.h"
#include "mapdata/DataFileSet.h"
#include "mapdata/MapVariant.h"

class QLabel;
class QLineEdit;
class QToolButton;

namespace stonereach {

struct WindowRegions;

// The map path and the client directory: their edits and browse buttons, the
// map file information, and the open data file set that follows them. A
// change of either path judges it, opens the files again and tells the map
// view what it shows.
class MapFilesPart : public QObject, private DataFileDialogs {
    Q_OBJECT
public:
    MapFilesPart(SettingsStore& store, const HandlerGuard& guard, WindowRegions& regions);
    ~MapFilesPart() override;

    DataFileSet& dataFiles() { return *dataFiles_; }

    // Start-up: reads the stored paths, opens the files and puts the paths
    // into the edits (which runs their change handlers). Stops early when the
    // user chose to quit in an error dialog.
    void restoreDataFiles();
    // Stores both paths as the edits hold them and reopens the valid halves.
    void storePathsAndReopen();
    // Sets the map information and the view's size from the map file.
    void DetectMapVariant();

    // The geometry of the recognised map, nothing while none is recognised.
    std::optional<MapGeometry> mapGeometry() const;
    QString mapSizeText() const;
    QString mapPathText() const;
    QString clientDirText() const;
    // True once the user chose to quit in an error dialog: nothing is opened,
    // closed or saved after that.
    bool closingAfterError() const { return dataFiles_->closingAfterError(); }

    // Sets the map path as if typed (runs the map path change).
    void setMapPath(const QString& path);

signals:
    // The map's geometry (nothing while none is recognised) and the size
    // text shown, after each detection of the variant.
    void mapDetected(const std::optional<MapGeometry>& geometry, const QString& sizeText);
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
    void describeUnknownMap(const QString& description);

    HandlerGuard guard_;
    std::unique_ptr<DataFileSet> dataFiles_;
    std::optional<MapGeometry> geometry_;

    QLineEdit* mapEdit_;
    QToolButton* loadMapButton_;
    QLineEdit* clientDirEdit_;
    QToolButton* selectDirButton_;
    QLabel* mapInfo_;
    QLabel* mapSize_;

    // The first change of the map path (the restore at start-up) keeps the
    // stored jump coordinates; every later change sends the view to (0, 0).
    bool firstMapPathChange_ = true;
};

} // namespace stonereach
