#include "mapdata/TileImagesByPath.h"

#include "mapdata/ClientFiles.h"
#include "mapdata/File.h"
#include "mapdata/LandArtFiles.h"
#include "mapdata/LandArtImage.h"
#include "mapdata/TextureImage.h"

namespace stonereach {

bool loadTextureImageByPath(const std::filesystem::path& clientDir, std::uint32_t id, TileImage& image) {
    if (id >= DialogTileLimits::TextureIds)
        return false;
    const File index(clientFilePath(clientDir, ClientFile::TextureIndex), File::Mode::Read);
    const File data(clientFilePath(clientDir, ClientFile::Textures), File::Mode::Read);
    return loadTextureImage(index, data, static_cast<std::uint16_t>(id), image);
}

bool loadLandArtImageByPath(const std::filesystem::path& clientDir, std::uint32_t id, TileImage& image) {
    if (id < 0x10000 && isPlaceholderLandTile(static_cast<std::uint16_t>(id)))
        return true;
    if (id >= DialogTileLimits::LandArtIds)
        return false;
    return LandArtFiles(clientDir).load(static_cast<std::uint16_t>(id), image);
}

} // namespace stonereach
