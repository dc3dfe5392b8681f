#pragma once

#include <filesystem>
#include <optional>

#include <QString>

#include "mapdata/MapVariant.h"

class QWidget;

namespace stonereach {

class DataFileSet;

// What the tool windows may ask of the main window, and nothing more: the
// jump, its open data files, and word that a tool changed a map file on disk.
class EditorLink {
public:
    virtual ~EditorLink() = default;

    // The main window, which owns the tool windows and centres them.
    virtual QWidget* mainWindow() = 0;
    // The Go action: puts x and y into the jump edits and moves the map view
    // to that cell.
    virtual void goToCell(int x, int y) = 0;
    // The open data files: the map path and its validity, the open map file,
    // the client directory and the radar colours.
    virtual DataFileSet& dataFiles() = 0;
    // The geometry of the open map; nothing while no variant is recognised.
    virtual std::optional<MapGeometry> mapGeometry() const = 0;
    // The size text shown under the map file information ("7168x4096", or
    // "None" while no variant is recognised).
    virtual QString mapSizeText() const = 0;
    // A tool wrote the file at `path` in place: when it is the open map, the
    // view repaints and shows the new cells.
    virtual void mapFileWritten(const std::filesystem::path& path) = 0;
    // A tool replaced the file at `path` by a new one: when it is the open
    // map, the main window reopens it (so the next edit lands in the new
    // file) and repaints.
    virtual void mapFileReplaced(const std::filesystem::path& path) = 0;
};

} // namespace stonereach
