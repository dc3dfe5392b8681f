#pragma once

#include "mapdata/TileImage.h"

namespace stonereach {

// The colour that stands for an altitude in the map view: six bands, each a
// ramp of v = z + 127 times a band multiplier, the product read as a 24-bit
// value with red in the lowest byte. Altitude -128 lies below the lowest band
// and continues its grey ramp at its dark end: black, like -127. Values
// outside -128..127 are clamped to that range.
Rgb8 altitudeColour(int z);

} // namespace stonereach
