#pragma once

#include <filesystem>

#include "editor/CoordinatesList.h"
#include "sample/SampleWorld.h"

namespace stonereach::sample {

// Places worth visiting on the sample map of `world`, found on its terrain:
// a coast, the highest mountain top, a forest, a lava field when there is
// one, and the centre of a chamber of the cave region, as X and Y texts.
CoordinateList samplePlaces(const SampleWorldOptions& world);

// Writes into the program directory homeDir a few brushes made of the sample
// client's tiles (brushes/Hill.brs, brushes/Shore.brs, brushes/Path.brs) and
// coords.def with samplePlaces(world), so the brush editor and the
// coordinates index open on something real. An unknown variant raises
// RangeError before anything is written.
void writeSampleBrushesAndPlaces(const std::filesystem::path& homeDir, const SampleWorldOptions& world);

} // namespace stonereach::sample
