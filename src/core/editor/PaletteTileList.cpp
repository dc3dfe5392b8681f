#include "editor/PaletteTileList.h"

#include "mapdata/Errors.h"

namespace stonereach {

PaletteTileList readPaletteTileList(const std::filesystem::path& programDir) {
    const std::filesystem::path path = programDir / kTileListFolderName / kStartupTileListName;
    PaletteTileList list;
    try {
        if (auto rows = readTileListIfPresent(path))
            list.rows = std::move(*rows);
        else
            list.note = "'" + path.string() + "' was not found.";
    } catch (const Error& e) {
        list.note = e.what();
    }
    return list;
}

} // namespace stonereach
