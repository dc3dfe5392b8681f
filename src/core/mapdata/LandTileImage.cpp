#include "mapdata/LandTileImage.h"

#include "mapdata/LandArtImage.h"
#include "mapdata/TextureImage.h"

namespace stonereach {

TileImageSource loadLandTileImage(const File& texIdx, const File& texMaps, const File& artIdx, const File& art,
                                  std::uint16_t id, TileImage& image) {
    if (loadTextureImage(texIdx, texMaps, id, image))
        return TileImageSource::Texture;
    if (loadLandArtImage(artIdx, art, id, image))
        return TileImageSource::LandArt;
    return TileImageSource::None;
}

TileImageSource loadLandTileImage(const File& texIdx, const File& texMaps, const LandArtFiles& art, std::uint16_t id,
                                  TileImage& image) {
    if (loadTextureImage(texIdx, texMaps, id, image))
        return TileImageSource::Texture;
    if (art.load(id, image))
        return TileImageSource::LandArt;
    return TileImageSource::None;
}

} // namespace stonereach
