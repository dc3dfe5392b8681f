#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/SelectionGroups.h"

namespace stonereach {

// A selection group as the options dialog lists it: its caption and its tile
// ids as one text of comma-separated ids, which the user edits freely.
struct SelectionGroupRow {
    std::string caption;
    std::string items;
    friend bool operator==(const SelectionGroupRow&, const SelectionGroupRow&) = default;
};

// The items text of a group read from its file: the tile id texts joined by
// commas, a text that holds a blank, a control character, a comma or a
// double quote (or is empty) enclosed in double quotes with its own double
// quotes doubled ($0003 and $011A give "$0003,$011A").
std::string groupItemsText(const std::vector<std::string>& tileIds);

// The tile id texts of an items text, for writing the group: the text split
// at each comma outside double quotes; a piece in double quotes is taken
// without them and with doubled quotes made single, so a group read and
// written unchanged keeps its ids; other pieces lose surrounding blanks and
// line breaks, and pieces left empty (the final comma that adding ids from
// the palette leaves, ", ,") are dropped.
std::vector<std::string> tileIdsOfItemsText(std::string_view itemsText);

// Why an items text cannot be painted with, as a user is told when entering
// it: no tile id at all, or a piece that is not a tile id (0 to 65535), named
// ("\"zz\" is not a tile id (0 to 65535)"); nothing when every piece is one.
// The message is UTF-8; the text is 8-bit as the group holds it.
std::optional<std::string> groupItemsProblem(std::string_view itemsText);

// The row of a group read from tilelist.xml: its name and items text.
SelectionGroupRow groupRowOf(const TTileNamed& group);

// The group a row is written as: the caption as the name, the items text's
// tile ids as tileIdsOfItemsText gives them.
TTileNamed groupOfRow(const SelectionGroupRow& row);

} // namespace stonereach
