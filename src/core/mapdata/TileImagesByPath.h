#pragma once

#include <cstdint>
#include <filesystem>

#include "mapdata/TileImage.h"

namespace stonereach {

// The image loaders used by the dialogs, which hold no open client files:
// each call opens the index and data file under the client directory, reads
// the one image and closes both. They look up only the ids that the dialogs
// offer: textures below 4096, land art below 16382.
namespace DialogTileLimits {
inline constexpr std::uint32_t TextureIds = 4096;
inline constexpr std::uint32_t LandArtIds = 16382;
} // namespace DialogTileLimits

// As loadTextureImage on texidx.mul and texmaps.mul of clientDir; false for
// ids from 4096 on. A file that cannot be opened raises IoError naming it.
bool loadTextureImageByPath(const std::filesystem::path& clientDir, std::uint32_t id, TileImage& image);

// As loadLandArtImage on artidx.mul and art.mul of clientDir, or on its
// artLegacyMUL.uop when that pair is not there; true without
// touching image for tiles 7 and 8, false for ids from 16382 on.
bool loadLandArtImageByPath(const std::filesystem::path& clientDir, std::uint32_t id, TileImage& image);

} // namespace stonereach
