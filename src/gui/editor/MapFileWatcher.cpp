#include "gui/editor/MapFileWatcher.h"

#include <QStringList>

#include "gui/app/QtConversions.h"
#include "mapdata/ClientFiles.h"
#include "mapdata/DataFileSet.h"
#include "mapdata/FileSystem.h"

namespace stonereach {

namespace {

// The folder a file lies in, as a path the watcher can take.
QString folderOf(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path();
    return qPath(folder.empty() ? std::filesystem::path(".") : folder);
}

} // namespace

MapFileWatcher::MapFileWatcher(DataFileSet& files, const HandlerGuard& guard) : files_(files), guard_(guard) {
    pause_.setSingleShot(true);
    poll_.setInterval(PollMs);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &MapFileWatcher::notified);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &MapFileWatcher::notified);
    guard_.connect(&pause_, &QTimer::timeout, this, [this] { look(); });
    guard_.connect(&poll_, &QTimer::timeout, this, [this] { look(); });
}

void MapFileWatcher::follow() {
    QStringList wanted;
    // The map's folder also while its file is gone or could not be opened:
    // a file that comes to its name is opened.
    const OpenMap& map = files_.openMap();
    if (!map.path().empty()) {
        wanted << folderOf(map.path());
        if (fileStatus(map.path()))
            wanted << qPath(map.path());
    }
    if (files_.clientDirValid()) {
        wanted << qPath(files_.clientDir());
        for (const ClientFileStatus& file : pictureFileStatuses(files_.clientDir()))
            wanted << qPath(files_.clientDir() / file.name);
    }
    wanted.removeDuplicates();

    // Paths are watched anew: a file replaced since is another file.
    const QStringList watched = watcher_.files() + watcher_.directories();
    if (!watched.isEmpty())
        watcher_.removePaths(watched);
    const QStringList refused = wanted.isEmpty() ? QStringList() : watcher_.addPaths(wanted);
    if (refused.isEmpty())
        poll_.stop();
    else if (!poll_.isActive())
        poll_.start();
}

// The first notice of a burst starts the wait; each further one makes it
// wait for the next pause, unless the burst has gone on for long enough.
void MapFileWatcher::notified() {
    if (!pause_.isActive())
        burst_.start();
    if (!pause_.isActive() || burst_.elapsed() < LongestWaitMs - PauseMs)
        pause_.start(PauseMs);
}

void MapFileWatcher::look() {
    pause_.stop();
    const MapFileChange change = files_.openMap().lookAtDisk();
    bool picturesChanged = false;
    try {
        picturesChanged = files_.lookAtClientFiles();
    } catch (...) {
        // The radar colours could not be read again; the pictures were.
        emit clientFilesChanged();
        follow();
        throw;
    }
    if (change != MapFileChange::None)
        emit mapChanged(change);
    if (picturesChanged)
        emit clientFilesChanged();
    if (change != MapFileChange::None || picturesChanged)
        follow();
}

} // namespace stonereach
