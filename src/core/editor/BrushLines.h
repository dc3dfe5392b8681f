#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stonereach {

// One cell of a custom brush or of a shape: the offset from the selected
// cell (dx along map X, dy along map Y) and the tile id to write there. The
// tile id is kept as read, so stamping can refuse one outside 0..65535 at the
// cell where it stands.
struct BrushEntry {
    int dx = 0;
    int dy = 0;
    std::int32_t tile = 0;
    friend bool operator==(const BrushEntry&, const BrushEntry&) = default;
};

// Reads one line of a .brs file: the text before the first comma is dx; each
// further field before the last is dy (with more than three fields the last
// such one wins); the text after the last comma, with trailing blanks
// removed, is the tile id; each field is an integer in decimal or "$" and
// hexadecimal. Nothing for a line that is not at least three fields that
// all convert: such a line is skipped and takes nothing from other lines.
std::optional<BrushEntry> parseBrushLine(std::string_view line);

// The entries of the lines that parse, in line order.
std::vector<BrushEntry> parseBrushLines(std::span<const std::string> lines);

// Reads a .brs file (8-bit text, CR LF, LF or CR line ends) as its entries.
// Throws IoError when the file cannot be read.
std::vector<BrushEntry> readBrushFile(const std::filesystem::path& path);

} // namespace stonereach
