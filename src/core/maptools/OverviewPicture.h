#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "mapdata/MapVariant.h"
#include "mapdata/MemoryPopulation.h"
#include "mapdata/RadarColours.h"
#include "mapdata/TileImage.h"

namespace stonereach {

// One pixel per 8 x 8 block of a map, row by row: pixel (bx, by) is the
// radar colour of the block's cell (1, 1).
struct OverviewPicture {
    int width = 0;   // blocks across
    int height = 0;  // blocks down
    LargeTable<Rgb8> pixels;

    Rgb8 at(int bx, int by) const { return pixels[static_cast<std::size_t>(by) * static_cast<std::size_t>(width) + static_cast<std::size_t>(bx)]; }
};

// The colour a block shows for a tile id. The radar table covers ids below
// 32768; higher ids, which no client defines, show black.
inline Rgb8 overviewColour(const RadarColours& radar, std::uint16_t tile) {
    return tile < RadarColours::Entries ? radar.rgb(tile) : Rgb8{};
}

// Where drawOverview puts the pixels: red, green and blue bytes of pixel
// (bx, by) at bytes[firstPixel + by * rowStride + 3 * bx]. A picture for a
// window has packed rows; PNG rows start with a filter byte, and an encoder
// has the overview drawn straight into them.
struct OverviewRows {
    std::span<std::uint8_t> bytes;
    std::size_t firstPixel = 0;
    std::size_t rowStride = 0;
};

// Reads the map file at path (a .mul or a container, addressed with
// geometry) and draws its
// overview, geometry.blocksAcross() by geometry.blockHeight pixels, into
// rows. Throws IoError when the file cannot be opened or is too short, and
// RangeError when the rows cannot hold the picture.
void drawOverview(const std::filesystem::path& map, const MapGeometry& geometry, const RadarColours& radar,
                  const OverviewRows& rows);

// Reads the map file at path (addressed with geometry) and builds its
// overview. Throws IoError when the file cannot be opened or is too short.
OverviewPicture buildOverview(const std::filesystem::path& map, const MapGeometry& geometry,
                              const RadarColours& radar);

} // namespace stonereach
