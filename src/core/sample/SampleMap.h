#pragma once

#include <cstdint>
#include <filesystem>

#include "mapdata/MapVariant.h"
#include "sample/SampleTerrain.h"

namespace stonereach::sample {

// Writes the terrain as a map file of its geometry, block column by block
// column, under a temporary name renamed into place at the end. `fileSize`
// may exceed the blocks' size (one known variant carries unused bytes after
// its last block); the extra bytes are filled with random values. A path
// ending in ".uop" gets a UOP container as shipped files are: the map's
// entries in a shuffled order in the file, and one more block (random
// bytes) after the map.
void writeSampleMap(const std::filesystem::path& path, const SampleTerrain& terrain, std::uint64_t fileSize,
                    std::uint64_t seed);

// A sample map file of the variant, at exactly the variant's size.
void writeSampleMap(const std::filesystem::path& path, const MapVariant& variant, std::uint64_t seed);

} // namespace stonereach::sample
