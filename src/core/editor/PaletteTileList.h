#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "editor/TileLists.h"

namespace stonereach {

// The tiles the brush editor and the options dialogs offer in their
// palettes: the rows of textures/tileids.lst in the program directory.
struct PaletteTileList {
    std::vector<TileListRow> rows;
    // One line saying which file could not be read and why; empty when it
    // was read.
    std::string note;
};

// Reads the palette's list. Never throws for the file: a missing, unreadable
// or damaged list gives no rows and a note naming the file, so a dialog opens
// with an empty palette and says why instead of failing to open.
PaletteTileList readPaletteTileList(const std::filesystem::path& programDir);

} // namespace stonereach
