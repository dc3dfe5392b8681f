#include "editor/TileLists.h"

#include <algorithm>
#include <cstdio>

#include "editor/FolderListing.h"
#include "editor/TextFile.h"
#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/IntegerText.h"
#include "mapdata/MapVariant.h"

namespace stonereach {

std::string tileListRowText(std::int32_t value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04X", static_cast<std::uint32_t>(value));
    return digits;
}

std::uint16_t tileIdOfRowText(std::string_view text) {
    // Row texts come from tileListRowText, so at least four hexadecimal
    // digits are there.
    return static_cast<std::uint16_t>(parseInteger("$" + std::string(text.substr(0, 4))));
}

std::vector<TileListRow> parseTileList(std::string_view text, std::string_view fileName) {
    const std::vector<std::string> lines = splitLines(text);
    std::vector<TileListRow> rows;
    rows.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t equals = line.find('=');
        const std::string_view value =
            equals == std::string::npos ? std::string_view(line) : std::string_view(line).substr(equals + 1);
        try {
            std::string rowText = tileListRowText(parseInteger(value));
            const std::uint16_t tile = tileIdOfRowText(rowText);
            rows.push_back({std::move(rowText), tile});
        } catch (const ConversionError& e) {
            throw FormatError("Line " + std::to_string(i + 1) + " of the tile list '" + std::string(fileName) +
                              "': " + latin1ToUtf8(e.what()));
        }
    }
    return rows;
}

std::vector<TileListRow> readTileList(const std::filesystem::path& path) {
    return parseTileList(readTextFile(path), path.string());
}

std::optional<std::vector<TileListRow>> readTileListIfPresent(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec)
        return std::nullopt;
    return readTileList(path);
}

int findPaletteRow(std::span<const TileListRow> rows, std::int64_t tile) {
    const auto it = std::find_if(rows.begin(), rows.end(), [tile](const TileListRow& row) { return row.tile == tile; });
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

std::string tileListText(std::span<const std::string> items) {
    std::string text;
    for (const std::string& item : items) {
        text += "textureid=";
        text += item;
        text += "\r\n";
    }
    return text;
}

void writeTileList(const std::filesystem::path& path, std::span<const std::string> items) {
    writeTextFile(path, tileListText(items));
}

std::vector<std::string> listTileListFiles(const std::filesystem::path& folder) {
    return filesWithExtension(folder, ".lst");
}

} // namespace stonereach
