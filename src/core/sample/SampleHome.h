#pragma once

#include <filesystem>

namespace stonereach::sample {

// Writes the editor's own files for the sample world into a program
// directory (created when missing): textures/tileids.lst with the sample
// client's land tiles, a second tile list textures/coast.lst, and
// tilelist.xml with selection groups of the sample's grounds. Existing files
// of those names are replaced; nothing else in the folder is touched.
void writeSampleHome(const std::filesystem::path& dir);

} // namespace stonereach::sample
