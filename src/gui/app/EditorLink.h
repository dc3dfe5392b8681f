#pragma once

#include <filesystem>

class QWidget;

namespace stonereach {

class OpenMap;
class RadarColours;

// What the tool windows may ask of the main window, and nothing more: the
// jump, the map it has open, the radar colours, and word that a tool changed
// a map file on disk.
class EditorLink {
public:
    virtual ~EditorLink() = default;

    // The main window, which owns the tool windows and centres them.
    virtual QWidget* mainWindow() = 0;
    // The Go action: puts x and y into the jump edits and moves the map view
    // to that cell.
    virtual void goToCell(int x, int y) = 0;
    // The map the main window has open: its path (empty while the map path
    // names no map file), its variant and geometry.
    virtual const OpenMap& openMap() = 0;
    // The radar colours read from the client directory, and whether that
    // directory is usable now (the colours stay from an earlier one).
    virtual const RadarColours& radarColours() = 0;
    virtual bool clientDirectoryValid() = 0;
    // A tool wrote the file at `path` in place: when it is the open map, the
    // view repaints and shows the new cells.
    virtual void mapFileWritten(const std::filesystem::path& path) = 0;
    // A tool replaced the file at `path` by a new one: when it is the open
    // map, the main window reopens it (so the next edit lands in the new
    // file) and repaints.
    virtual void mapFileReplaced(const std::filesystem::path& path) = 0;
};

} // namespace stonereach
