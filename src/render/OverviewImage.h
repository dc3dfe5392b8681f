#pragma once

#include <QImage>

#include "maptools/OverviewPicture.h"

namespace stonereach {

// The overview as a 24-bit image, one pixel per block.
QImage toQImage(const OverviewPicture& picture);

} // namespace stonereach
