#include "mapdata/MapIdentity.h"

#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"

namespace stonereach {

const MapVariant* identifyMapFile(const std::filesystem::path& path) {
    const std::string name = storedFileName(path);
    if (!isMapFileName(name))
        return nullptr;
    const auto size = fileSize(path);
    return size ? detectMapVariant(name, *size) : nullptr;
}

const MapVariant& requireKnownMap(const std::filesystem::path& path) {
    if (const auto* variant = identifyMapFile(path))
        return *variant;
    if (!fileExists(path))
        throw IoError(path.string(), "Map file does not exist");
    throw RangeError("'" + path.string() +
                     "' is not a recognised map file: its name and exact size match no known map variant");
}

} // namespace stonereach
