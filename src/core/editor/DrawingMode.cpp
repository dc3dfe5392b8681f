#include "editor/DrawingMode.h"

#include <string>
#include <utility>

#include "editor/RandomSource.h"
#include "editor/SelectionGroups.h"
#include "mapdata/Errors.h"
#include "mapdata/MapLayout.h"

namespace stonereach {

DrawingMode::DrawingMode(Kind kind, std::vector<std::uint16_t> tiles, std::string groupName)
    : kind_(kind), tiles_(std::move(tiles)), groupName_(std::move(groupName)) {}

DrawingMode DrawingMode::dontDraw() { return {Kind::DontDraw, {}, {}}; }

DrawingMode DrawingMode::altitudeOnly() { return {Kind::AltitudeOnly, {}, {}}; }

DrawingMode DrawingMode::selectedTile(std::int64_t tile) {
    if (!isTileId(tile))
        throw RangeError("Tile id " + std::to_string(tile) + " is outside 0..65535");
    return {Kind::SelectedTile, {static_cast<std::uint16_t>(tile)}, {}};
}

DrawingMode DrawingMode::group(const TTileNamed& group) {
    return {Kind::Group, groupTileIds(group), group.TileName};
}

DrawingModeItem drawingModeItemAt(int index) {
    switch (index) {
    case 0: return {DrawingMode::Kind::DontDraw};
    case 1: return {DrawingMode::Kind::SelectedTile};
    case 2: return {DrawingMode::Kind::AltitudeOnly};
    default:
        if (index < 0)
            return {DrawingMode::Kind::DontDraw};
        return {DrawingMode::Kind::Group, static_cast<std::size_t>(index) - kFixedDrawingModes.size()};
    }
}

int fixedDrawingModeIndex(DrawingMode::Kind kind) {
    for (int index = 0; index < static_cast<int>(kFixedDrawingModes.size()); ++index)
        if (drawingModeItemAt(index).kind == kind)
            return index;
    throw RangeError("A selection group has no fixed place in the drawing mode list");
}

std::uint16_t DrawingMode::tileFor(std::uint16_t oldTile, RandomSource& random) const {
    switch (kind_) {
    case Kind::SelectedTile: return tiles_.front();
    case Kind::Group: return tiles_[static_cast<std::size_t>(random.below(static_cast<std::int64_t>(tiles_.size())))];
    case Kind::DontDraw:
    case Kind::AltitudeOnly: break;
    }
    return oldTile;
}

} // namespace stonereach
