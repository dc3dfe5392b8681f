#pragma once

#include <QImage>

#include "mapdata/TileImage.h"

namespace stonereach {

// The tile picture as a QImage in 5-5-5 format, pixel values unchanged.
QImage toQImage(const TileImage& image);

} // namespace stonereach
