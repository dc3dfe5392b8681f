#pragma once

#include <cstdint>

#include "mapdata/File.h"
#include "mapdata/LandArtFiles.h"
#include "mapdata/TileImage.h"

namespace stonereach {

// Where the picture of a land tile came from.
enum class TileImageSource {
    None,     // neither a texture nor land art; views draw the cell black
    Texture,
    LandArt,
};

// The picture a view draws for a land tile: its texture when it has one, else
// its land art. Ids 7 and 8 without a texture report LandArt and leave image
// untouched. Errors are those of the two loaders.
TileImageSource loadLandTileImage(const File& texIdx, const File& texMaps, const File& artIdx, const File& art,
                                  std::uint16_t id, TileImage& image);
// The same with the land art wherever the client keeps it.
TileImageSource loadLandTileImage(const File& texIdx, const File& texMaps, const LandArtFiles& art, std::uint16_t id,
                                  TileImage& image);

} // namespace stonereach
