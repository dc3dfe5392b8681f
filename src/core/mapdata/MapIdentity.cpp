#include "mapdata/MapIdentity.h"

#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"

namespace stonereach {

namespace {

// Opens a container named as a map container to learn its plain length;
// throws ContainerError or IoError.
std::uint64_t containerPlainLength(const std::filesystem::path& path) {
    return MapFile(path, File::Mode::Read).size();
}

} // namespace

std::optional<PlainMapIdentity> plainMapIdentity(const std::filesystem::path& path) {
    const std::string name = storedFileName(path);
    if (isMapFileName(name)) {
        const auto size = fileSize(path);
        return size ? std::optional(PlainMapIdentity{name, *size}) : std::nullopt;
    }
    if (!isContainerMapFileName(name) || !fileExists(path))
        return std::nullopt;
    try {
        return PlainMapIdentity{plainMapFileName(name), containerPlainLength(path)};
    } catch (const Error&) {
        return std::nullopt;
    }
}

bool isUsableMapPath(const std::filesystem::path& path, std::string* refusal) {
    if (!fileExists(path))
        return false;
    const std::string name = storedFileName(path);
    if (isMapFileName(name))
        return true;
    if (!isContainerMapFileName(name))
        return false;
    try {
        (void)containerPlainLength(path);
        return true;
    } catch (const Error& e) {
        if (refusal)
            *refusal = e.what();
        return false;
    }
}

const MapVariant* identifyMapFile(const std::filesystem::path& path) {
    const auto identity = plainMapIdentity(path);
    return identity ? detectMapVariant(identity->fileName, identity->sizeBytes) : nullptr;
}

const MapVariant* identifyMap(const MapFile& map) {
    const std::string name = storedFileName(map.path());
    if (!isMapFileName(name) && !isContainerMapFileName(name))
        return nullptr;
    return detectMapVariant(plainMapFileName(name), map.size());
}

const MapVariant& requireKnownMap(const std::filesystem::path& path) {
    if (const auto* variant = identifyMapFile(path))
        return *variant;
    if (!fileExists(path))
        throw IoError(path.string(), "Map file does not exist");
    // A container that cannot be used says why.
    if (isContainerMapFileName(storedFileName(path)))
        (void)containerPlainLength(path);
    throw RangeError("'" + path.string() +
                     "' is not a recognised map file: its name and exact size match no known map variant");
}

} // namespace stonereach
