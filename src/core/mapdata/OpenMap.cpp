#include "mapdata/OpenMap.h"

#include <system_error>
#include <utility>

#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/MapIdentity.h"

namespace stonereach {

OpenMap::OpenMap(std::function<bool()> ready) : ready_(std::move(ready)) {}

void OpenMap::open(const std::filesystem::path& path) {
    readFailing_ = false;
    const std::optional<FileStatus> before = handleStatus();
    failureTold_ = false;
    variant_ = identifyMapFile(path);
    try {
        file_ = MapFile(path, File::Mode::ReadWrite);
    } catch (const Error&) {
        // A file that cannot be opened, or a container that cannot be used.
        file_ = MapFile();
        file_.file() = File::unopened(path);
        ++generation_;
        known_.reset();
        trouble_ = MapFileTrouble::None;
        throw;
    }
    const std::optional<FileStatus> now = handleStatus();
    // A recognised map is whole when opened; shorter later, it was cut.
    wholeSize_ = variant_ != nullptr && now ? now->size : 0;
    if (!before || !now || !before->sameFileAs(*now)) {
        ++generation_;
        known_ = now;
        trouble_ = MapFileTrouble::None;
    }
    // The same file opened again keeps what the editor knew of it, so a
    // change by another program that was not looked at yet still shows.
}

void OpenMap::forget() {
    file_ = MapFile();
    variant_ = nullptr;
    wholeSize_ = 0;
    readFailing_ = false;
    failureTold_ = false;
    ++generation_;
    known_.reset();
    trouble_ = MapFileTrouble::None;
}

std::optional<FileStatus> OpenMap::handleStatus() const {
    if (!file_.isOpen())
        return std::nullopt;
    try {
        return file_.file().status();
    } catch (const IoError&) {
        return std::nullopt;
    }
}

bool OpenMap::writable() const {
    if (variant_ == nullptr)
        return false;
    const std::optional<FileStatus> handle = handleStatus();
    if (!handle || handle->links == 0 || handle->size < wholeSize_)
        return false;
    const std::optional<FileStatus> named = fileStatus(path());
    return named && named->sameFileAs(*handle);
}

MapFileChange OpenMap::lookAtDisk() {
    const std::optional<FileStatus> handle = handleStatus();
    const std::optional<FileStatus> named = path().empty() ? std::nullopt : fileStatus(path());
    if (!handle) {
        // A map that could not be opened: a file that appears at its path,
        // or changes there, is to be opened.
        if (!named || named == known_)
            return MapFileChange::None;
        known_ = named;
        return MapFileChange::Replaced;
    }
    if (named && !named->sameFileAs(*handle))
        return MapFileChange::Replaced;
    if (!named || handle->links == 0) {
        if (trouble_ == MapFileTrouble::Deleted)
            return MapFileChange::None;
        trouble_ = MapFileTrouble::Deleted;
        return MapFileChange::Deleted;
    }
    const bool changed = !known_ || *known_ != *handle || trouble_ == MapFileTrouble::Deleted;
    known_ = handle;
    const bool cutShort = handle->size < wholeSize_;
    if (!changed)
        return MapFileChange::None;
    trouble_ = cutShort ? MapFileTrouble::CutShort : MapFileTrouble::None;
    return cutShort ? MapFileChange::CutShort : MapFileChange::Written;
}

void OpenMap::noteWrittenByEditor() {
    if (const std::optional<FileStatus> now = handleStatus())
        known_ = now;
}

OpenMap::OwnWrite::OwnWrite(OpenMap& map) : map_(map) {
    if (map_.ownWrites_++ == 0) {
        const std::optional<FileStatus> now = map_.handleStatus();
        map_.ownWritesFromKnown_ = now && map_.known_ && *now == *map_.known_;
    }
}

OpenMap::OwnWrite::~OwnWrite() {
    if (--map_.ownWrites_ == 0 && map_.ownWritesFromKnown_)
        map_.noteWrittenByEditor();
}

bool OpenMap::isFileAt(const std::filesystem::path& other) const {
    std::error_code error;
    return !path().empty() && std::filesystem::equivalent(other, path(), error);
}

std::optional<MapGeometry> OpenMap::geometry() const {
    if (!variant_)
        return std::nullopt;
    return MapGeometry::of(*variant_);
}

bool OpenMap::readable() { return (!ready_ || ready_()) && variant_ != nullptr; }

std::optional<MapCell> OpenMap::readCell(int x, int y) {
    if (!readable())
        return std::nullopt;
    const MapGeometry map = MapGeometry::of(*variant_);
    if (!map.contains(x, y))
        return std::nullopt;
    try {
        const MapCell cell = file_.readCell(x, y, map);
        readFailing_ = false;
        return cell;
    } catch (const IoError&) {
        readFailing_ = true;
        throw;
    }
}

} // namespace stonereach
