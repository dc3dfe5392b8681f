#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "mapdata/TileImage.h"

namespace stonereach::sample {

// The land tiles of the sample client: which ids exist, what ground they
// show, and whether they are drawn from a texture or from land art.
enum class Terrain { Grass, Forest, Dirt, Sand, Rock, Snow, Water, Lava, CaveFloor, FramePiece };

enum class TileLook {
    Texture64,   // 64 x 64 texture
    Texture128,  // 128 x 128 texture
    ArtClassic,  // land art entry of 2048 bytes
    ArtExact,    // land art entry of 2024 bytes (the pixels only)
};

struct SampleTile {
    std::uint16_t id;
    Terrain terrain;
    TileLook look;
};

// Tile ids by ground, four interchangeable variants each.
namespace SampleTileIds {
using Variants = std::array<std::uint16_t, 4>;
inline constexpr Variants Grass{3, 4, 5, 6};
inline constexpr Variants Forest{196, 197, 198, 199};
inline constexpr Variants Dirt{113, 114, 115, 116};
inline constexpr Variants Sand{22, 23, 24, 25};
inline constexpr Variants Rock{220, 221, 222, 223};
inline constexpr Variants Snow{282, 283, 284, 285};
inline constexpr Variants Water{168, 169, 170, 171};
inline constexpr Variants Lava{500, 501, 502, 503};
inline constexpr Variants CaveFloor{581, 582, 583, 584};

// The nine-tile set laid by the shape tools: the pieces of one framed
// floor, as they stand on the map (x to the right, y downwards).
inline constexpr std::uint16_t FrameTopLeft = 467;
inline constexpr std::uint16_t FrameTop = 468;
inline constexpr std::uint16_t FrameTopRight = 469;
inline constexpr std::uint16_t FrameRight = 470;
inline constexpr std::uint16_t FrameBottomRight = 471;
inline constexpr std::uint16_t FrameBottom = 472;
inline constexpr std::uint16_t FrameBottomLeft = 473;
inline constexpr std::uint16_t FrameLeft = 474;
inline constexpr std::uint16_t FrameCentre = 475;
} // namespace SampleTileIds

// Every tile the sample client has an image for, in id order.
std::span<const SampleTile> sampleTiles();

// Side of the square picture painted for a tile: the texture's side, or 45
// for land art (the square it is stored as a diamond of).
int paintedSide(TileLook look);

// The tile's picture as a square of 5-5-5 pixels; the seed varies the noise.
TileImage paintSampleTile(const SampleTile& tile, std::uint64_t seed);

// The 1012 diamond pixels of land art that shows `square` (45 x 45) when
// turned back into a square: the inverse of the land art decoding.
std::array<std::uint16_t, 1012> squareToLandArt(const TileImage& square);

// The average colour of a picture, the tile's colour on the overview.
std::uint16_t averageColour(const TileImage& image);

} // namespace stonereach::sample
