#pragma once

#include <filesystem>

namespace stonereach::sample {

// Writes into the program directory homeDir a few brushes made of the sample
// client's tiles (brushes/Hill.brs, brushes/Shore.brs, brushes/Path.brs) and
// coords.def with places worth visiting on the sample map of the default
// variant (a coast, a mountain top, the cave region), so the brush editor and
// the coordinates index open on something real.
void writeSampleBrushesAndPlaces(const std::filesystem::path& homeDir);

} // namespace stonereach::sample
