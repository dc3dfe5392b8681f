#pragma once

#include <cstdint>
#include <span>

#include "mapdata/File.h"
#include "mapdata/TileImage.h"

namespace stonereach {

// Land art entries of art.mul: 1012 16-bit pixels with no header forming a
// diamond 44 rows high (row r holds 2(r+1) pixels above the middle and
// 2(44-r) from row 22 on), drawn here as a 45 x 45 top-down square.
namespace LandArtLayout {
inline constexpr int DiamondRows = 44;
inline constexpr int DiamondPixels = 1012;
inline constexpr std::size_t PixelBytes = DiamondPixels * 2;   // 2024
// Entry lengths accepted as land art. The classic length counts 4 bytes
// more than it reads; entries of exactly the pixel data are what the game's
// own tools write, so both are accepted.
inline constexpr std::int32_t ClassicLength = 2048;
inline constexpr std::size_t ClassicReadBytes = ClassicLength - 4;  // 2044, of which 2024 are pixels
inline constexpr std::int32_t ExactLength = static_cast<std::int32_t>(PixelBytes);
inline constexpr int WorkSide = 46;   // room for the writes one step right and down
inline constexpr int ImageSide = 45;
} // namespace LandArtLayout

// Tiles 7 and 8 have no art of their own; asking for them succeeds and leaves
// the caller's image as it is.
inline bool isPlaceholderLandTile(std::uint16_t id) { return id == 7 || id == 8; }

// The 45 x 45 square made from the 1012 diamond pixels (at least 2024 bytes).
// The diamond is turned an eighth of a turn anticlockwise: its top corner at
// the top-left of the square, its bottom corner at the bottom-right.
TileImage decodeLandArt(std::span<const std::uint8_t> pixelData);

// Replaces image with the land art of tile `id` and returns true; returns true
// without touching image for tiles 7 and 8; returns false with image unchanged
// when the tile has no land art (offset -1 or a length other than 2048 or
// 2024). An id beyond the index, a negative offset or an entry past the end of
// art.mul raises IoError naming the file.
bool loadLandArtImage(const File& artIdx, const File& art, std::uint16_t id, TileImage& image);

} // namespace stonereach
