#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stonereach {

// The selection group file beside the program: tilelist.xml.
inline constexpr std::string_view kSelectionGroupFileName = "tilelist.xml";

// A selection group: a name and the tile id texts painting picks from, each
// in the integer syntax ("$011A" or decimal). Texts are 8-bit (Latin-1)
// bytes as they stand in the file.
struct TTileNamed {
    std::string TileName;
    std::vector<std::string> TileIds;
    friend bool operator==(const TTileNamed&, const TTileNamed&) = default;
};

// The groups of a selection group file, in file order.
struct SelectionGroupsRead {
    std::vector<TTileNamed> groups;
    // Set when the file is not well-formed XML: the message names the file,
    // the line and what is wrong. The groups completed before that point are
    // kept in `groups`.
    std::optional<std::string> problem;
};

// Reads the groups from XML text by its start tags, end tags and character
// data: start tag Tile clears the working tile id list; the character data
// of a Name element sets the name (which is not cleared between groups, so a
// group without a Name takes the name read last); the character data of a
// TileId element is appended to the list; end tag Tile adds a group. Other
// elements, attributes and the root do not matter. The text is read as
// Latin-1. `fileName` names the file in a problem message.
SelectionGroupsRead parseSelectionGroups(std::string_view xml, std::string_view fileName);

// Reads a selection group file; a missing file gives no groups and no
// problem. Throws IoError when the file is there but cannot be read.
SelectionGroupsRead readSelectionGroups(const std::filesystem::path& path);

// The file's text: the program's fixed line layout (CR LF line ends, two
// blanks per level, names and tile id texts as 8-bit bytes) with "&", "<"
// and ">" written as "&amp;", "&lt;" and "&gt;", so every name reads back.
// Control characters other than tab, which no XML file may hold, are written
// as blanks.
std::string selectionGroupsText(std::span<const TTileNamed> groups);

// Writes the whole file atomically (a failed save leaves the previous file
// as it was), creating its folder when missing.
void writeSelectionGroups(const std::filesystem::path& path, std::span<const TTileNamed> groups);

// The tile id a text gives in the integer syntax, when it is one (0 to
// 65535); nothing for any other text.
std::optional<std::uint16_t> tileIdOfText(std::string_view text);

// The group's tile ids as numbers, for painting with it. Throws Refusal with
// one message naming the group when it holds no tile ids or a text that is
// not a tile id (an integer in 0..65535).
std::vector<std::uint16_t> groupTileIds(const TTileNamed& group);

} // namespace stonereach
