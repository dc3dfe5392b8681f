#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "mapdata/File.h"
#include "mapdata/TileImage.h"

namespace stonereach {

// Texture entries of texmaps.mul: a square of 16-bit 5-5-5 pixels, row by row
// from the top, no header. The entry's length alone tells the side.
namespace TextureLayout {
inline constexpr std::int32_t SmallLength = 8192;   // 64 x 64
inline constexpr std::int32_t LargeLength = 32768;  // 128 x 128
inline constexpr int SmallSide = 64;
inline constexpr int LargeSide = 128;
} // namespace TextureLayout

// The side of a texture entry of this length, or nothing when the length
// means "no texture".
std::optional<int> textureSideForLength(std::int32_t length);

// A side x side image from the entry's bytes (at least side * side * 2).
TileImage decodeTexture(std::span<const std::uint8_t> data, int side);

// Replaces image with the texture of land tile `id` and returns true, or
// returns false with image unchanged when the tile has no texture (length not
// 8192 or 32768, or offset -1). An id beyond the index, a negative offset or
// an entry past the end of texmaps.mul raises IoError naming the file.
bool loadTextureImage(const File& texIdx, const File& texMaps, std::uint16_t id, TileImage& image);

} // namespace stonereach
