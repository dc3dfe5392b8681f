#pragma once

#include <filesystem>

#include "mapdata/Progress.h"

namespace stonereach {

// The size every enlarged map gets: Mondain's Legacy, 7168 x 4096 cells.
inline constexpr int kEnlargedWidth = 7168;
inline constexpr int kEnlargedHeight = 4096;
inline constexpr int kEnlargedBlockHeight = 512;

// Writes a new map file of the Mondain's Legacy size at `output` holding the
// recognised map file at `source` (a .mul or a container) with its cell
// (0, 0) at the new map's
// (0, 0). Cells the source does not cover are tile 0 at altitude 0, and every
// block header of the new file is zero. The source is only read.
//
// The new file is a UOP container when `output` ends in ".uop" (its entries
// named for the facet `output` starts with, else the source's), a .mul
// otherwise. It is written under a temporary name beside `output` and takes
// its name only when complete, so a failed run leaves any earlier file there
// untouched. Progress goes through two stages, "Creating new map file (N%)"
// and "Copying source map to new map (N%)", then "Done.".
//
// Throws Refusal("Wrong source map file!") for an unrecognised source, and a
// Refusal when `output` names the source itself; IoError for failed I/O.
void enlargeMap(const std::filesystem::path& source, const std::filesystem::path& output,
                const ProgressCallback& progress = {});

} // namespace stonereach
