#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stonereach {

// Tile list files: textures/*.lst beside the program, one palette row per
// line, "key=value" with the value in the integer syntax.
inline constexpr std::string_view kTileListFolderName = "textures";
inline constexpr std::string_view kStartupTileListName = "tileids.lst";

// One row of the sorted palette: its text (the value as at least four
// upper-case hexadecimal digits, "01A4") and the tile id it stands for ("$"
// and the text's first four characters).
struct TileListRow {
    std::string text;
    std::uint16_t tile = 0;
    friend bool operator==(const TileListRow&, const TileListRow&) = default;
};

// The row text of a value: at least four upper-case hexadecimal digits; a
// negative value shows as its eight 32-bit digits.
std::string tileListRowText(std::int32_t value);
// The tile id of a row text: "$" and its first four characters.
std::uint16_t tileIdOfRowText(std::string_view text);

// The rows of a tile list file's text: for each line, the text after the
// first "=" (the whole line when it has none) converted as an integer.
// Throws FormatError naming `fileName` and the line number (from 1) for a
// line that does not convert.
std::vector<TileListRow> parseTileList(std::string_view text, std::string_view fileName);

// Reads a tile list file. Throws IoError when it cannot be read (also when it
// is missing) and FormatError for a line that does not convert.
std::vector<TileListRow> readTileList(const std::filesystem::path& path);

// As readTileList, but a missing file gives nothing instead of an error: a
// fresh install has no list yet.
std::optional<std::vector<TileListRow>> readTileListIfPresent(const std::filesystem::path& path);

// The index of the first row whose tile id is `tile`, or -1 (FindPaletteRow).
int findPaletteRow(std::span<const TileListRow> rows, std::int64_t tile);

// A tile list file's text: "textureid=" and each item ("$011A"), CR LF after
// every line.
std::string tileListText(std::span<const std::string> items);

// Writes a tile list file atomically, creating its folder when missing.
void writeTileList(const std::filesystem::path& path, std::span<const std::string> items);

// The file names of the tile lists in a folder (the .lst files, the
// extension in any case), sorted by name without regard to case so every
// platform shows the same order. A missing folder gives none.
std::vector<std::string> listTileListFiles(const std::filesystem::path& folder);

} // namespace stonereach
