#pragma once

#include <QImage>
#include <QSize>

#include "mapdata/TileImage.h"

namespace stonereach {

// The tile picture as an RGB32 image. Each 5-bit component becomes 8 bits by
// a shift left of 3 with the low bits left at 0 (0x7FFF is 248, 248, 248),
// bit 15 is ignored. Every tile picture the program shows or saves is made
// here, so the map view, the palettes and the PNG files agree.
QImage toQImage(const TileImage& image);

// The tile picture made by toQImage stretched to `size`, in RGB32. Shrinking
// averages the pixels, so tiny cells show a tile's mean colour; enlarging
// repeats pixels, so big cells stay crisp.
QImage stretchTileImage(const TileImage& image, QSize size);

} // namespace stonereach
