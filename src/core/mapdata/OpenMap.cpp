#include "mapdata/OpenMap.h"

#include <system_error>
#include <utility>

#include "mapdata/Errors.h"
#include "mapdata/MapIdentity.h"

namespace stonereach {

OpenMap::OpenMap(std::function<bool()> ready) : ready_(std::move(ready)) {}

void OpenMap::open(const std::filesystem::path& path) {
    readFailing_ = false;
    failureTold_ = false;
    variant_ = identifyMapFile(path);
    try {
        file_ = MapFile(path, File::Mode::ReadWrite);
    } catch (const Error&) {
        // A file that cannot be opened, or a container that cannot be used.
        file_ = MapFile();
        file_.file() = File::unopened(path);
        throw;
    }
}

void OpenMap::forget() {
    file_ = MapFile();
    variant_ = nullptr;
    readFailing_ = false;
    failureTold_ = false;
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
