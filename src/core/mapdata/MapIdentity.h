#pragma once

#include <filesystem>

#include "mapdata/MapVariant.h"

namespace stonereach {

// The variant of the map file at path: the file must exist, be named map0.mul
// to map5.mul (any case) and have a row's exact size. Nothing otherwise.
const MapVariant* identifyMapFile(const std::filesystem::path& path);

// As identifyMapFile, but an unrecognised file is refused with a RangeError
// that says why, so no geometry is ever guessed.
const MapVariant& requireKnownMap(const std::filesystem::path& path);

} // namespace stonereach
