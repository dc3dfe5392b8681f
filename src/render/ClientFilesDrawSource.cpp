#include "render/ClientFilesDrawSource.h"

#include "mapdata/ClientFiles.h"
#include "mapdata/MapIdentity.h"
#include "mapdata/TextureImage.h"

namespace stonereach {

ClientFilesDrawSource::ClientFilesDrawSource(const std::filesystem::path& mapPath,
                                             const std::filesystem::path& clientDir)
    : map_(mapPath, File::Mode::Read),
      texIdx_(clientFilePath(clientDir, ClientFile::TextureIndex), File::Mode::Read),
      texMaps_(clientFilePath(clientDir, ClientFile::Textures), File::Mode::Read),
      art_(clientDir) {
    if (const MapVariant* variant = identifyMap(map_))
        geometry_ = MapGeometry::of(*variant);
}

bool ClientFilesDrawSource::loadTextureImage(std::uint16_t id, TileImage& image) {
    return stonereach::loadTextureImage(texIdx_, texMaps_, id, image);
}

bool ClientFilesDrawSource::loadLandArtImage(std::uint16_t id, TileImage& image) {
    return art_.load(id, image);
}

} // namespace stonereach
