// Tile list files (textures/*.lst): any bytes give one row per line or an
// error naming the line that does not convert; a row's tile id is read from
// its own text; rows of tile ids written as a list read back the same.
//
// Input: the file's bytes.
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "editor/TextFile.h"
#include "editor/TileLists.h"
#include "mapdata/Errors.h"

using namespace stonereach;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t lines = splitLines(text).size();

    std::vector<TileListRow> rows;
    try {
        rows = parseTileList(text, "list.lst");
    } catch (const FormatError& e) {
        FUZZ_CHECK(std::string_view(e.what()).starts_with("Line "));
        FUZZ_CHECK(std::string_view(e.what()).find("list.lst") != std::string_view::npos);
        return 0;
    }
    FUZZ_CHECK(rows.size() == lines);

    std::vector<std::string> items;
    std::vector<TileListRow> tileRows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        FUZZ_CHECK(rows[i].text.size() >= 4);
        FUZZ_CHECK(tileIdOfRowText(rows[i].text) == rows[i].tile);
        FUZZ_CHECK(findPaletteRow(rows, rows[i].tile) <= static_cast<int>(i));
        if (rows[i].text.size() == 4) {
            items.push_back("$" + rows[i].text);
            tileRows.push_back(rows[i]);
        }
    }
    FUZZ_CHECK(parseTileList(tileListText(items), "written.lst") == tileRows);
    return 0;
}
