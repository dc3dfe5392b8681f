#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace stonereach {

class RandomSource;
struct TTileNamed;

// The drawing mode list's choice: which tile id painting with the square
// brush and the fill writes. Made by the window when it is about to paint;
// making one checks the tile or the group, so a bad choice is refused once,
// before anything is written.
class DrawingMode {
public:
    enum class Kind { DontDraw, SelectedTile, AltitudeOnly, Group };

    // "Don't draw": the square brush paints nothing; the fill still applies
    // the altitude rule and keeps every tile id.
    static DrawingMode dontDraw();
    // "Altitude only": every tile id stays; the altitude rule applies.
    static DrawingMode altitudeOnly();
    // "Selected tile from list". Throws RangeError for a tile outside
    // 0..65535 (a search can select any hexadecimal value).
    static DrawingMode selectedTile(std::int64_t tile);
    // A selection group: each cell gets one of its tile ids, chosen at
    // random. Throws Refusal, naming the group, when it holds no tile ids or
    // a tile id text that is not a tile id.
    static DrawingMode group(const TTileNamed& group);

    Kind kind() const { return kind_; }
    // The selected tile (SelectedTile) or the group's tile ids (Group).
    const std::vector<std::uint16_t>& tiles() const { return tiles_; }
    // The group's name (Group).
    const std::string& groupName() const { return groupName_; }

    // The new tile id of a cell whose tile id was oldTile: the selected tile,
    // a random member of the group (one draw), or the old tile id.
    std::uint16_t tileFor(std::uint16_t oldTile, RandomSource& random) const;

private:
    DrawingMode(Kind kind, std::vector<std::uint16_t> tiles, std::string groupName);

    Kind kind_;
    std::vector<std::uint16_t> tiles_;
    std::string groupName_;
};

// The main window's drawing mode list: these items, in this order, then one
// item per selection group in the order of tilelist.xml.
inline constexpr std::array<std::string_view, 3> kFixedDrawingModes{"Don't draw", "Selected tile from list",
                                                                    "Altitude only"};

// What an item of that list chooses: the kind of drawing mode and, for a
// group, the group's place among the groups.
struct DrawingModeItem {
    DrawingMode::Kind kind = DrawingMode::Kind::DontDraw;
    std::size_t group = 0;
};

// The item at `index` of the list; no item (a negative index) draws nothing.
DrawingModeItem drawingModeItemAt(int index);
// The index of the fixed item of `kind` (not a group).
int fixedDrawingModeIndex(DrawingMode::Kind kind);

} // namespace stonereach
