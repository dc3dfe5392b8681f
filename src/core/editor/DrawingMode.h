#pragma once

#include <cstdint>
#include <string>
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

} // namespace stonereach
