#pragma once

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include "gui/app/HandlerGuard.h"
#include "mapdata/OpenMap.h"

namespace stonereach {

class DataFileSet;

// Keeps the editor true to files that other programs change while it runs:
// watches the open map file and its folder (a new file renamed over the map
// shows only in the folder), and the client files that tile pictures and
// radar colours come from, with their folder. Notices come in bursts (a
// script writes cell after cell, and every write of the editor's own is one
// too); the watcher looks at the files once a burst pauses, and every half
// second while it goes on, and asks the core what changed: the editor's own
// writes are no change, so they cause nothing here.
class MapFileWatcher : public QObject {
    Q_OBJECT
public:
    // How long a burst must pause before the files are looked at, and how
    // long a burst may go on before they are looked at all the same.
    static constexpr int PauseMs = 100;
    static constexpr int LongestWaitMs = 500;
    // Without a notice from the system (it can watch no more files), the
    // files are looked at this often.
    static constexpr int PollMs = 1000;

    MapFileWatcher(DataFileSet& files, const HandlerGuard& guard);

    // Watches the files the set has open now; run whenever the map or the
    // client directory changed.
    void follow();
    // Looks at the files now, as the end of a burst does.
    void look();

signals:
    // Another program changed the open map: written in place (the view
    // draws again), replaced (it is to be opened again), deleted or cut
    // short (nothing is to be written to it).
    void mapChanged(stonereach::MapFileChange change);
    // Tile pictures or radar colours changed; the cached pictures are gone.
    void clientFilesChanged();

private:
    void notified();

    DataFileSet& files_;
    HandlerGuard guard_;
    QFileSystemWatcher watcher_;
    QTimer pause_;
    QElapsedTimer burst_;
    QTimer poll_;
};

} // namespace stonereach
