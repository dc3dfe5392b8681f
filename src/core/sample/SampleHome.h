#pragma once

#include <filesystem>

#include "sample/SampleWorld.h"

namespace stonereach::sample {

// Writes the editor's own files for the sample world into a program
// directory (created when missing): textures/tileids.lst with the sample
// client's land tiles, a second tile list textures/coast.lst, and
// tilelist.xml with selection groups of the sample's grounds, three brushes
// in brushes/ and coords.def with places of the sample map of `world`.
// Existing files of those names are replaced; nothing else in the folder is
// touched.
void writeSampleHome(const std::filesystem::path& dir, const SampleWorldOptions& world = {});

} // namespace stonereach::sample
