#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "editor/BrushLines.h"
#include "mapdata/MapVariant.h"

namespace stonereach {

// The nine-tile set that the shape tools lay, as it stands on the map
// (column, row):
//   467 468 469
//   474 475 470
//   473 472 471
inline constexpr int ShapeCount = 14;

// The pieces of shape tool n (1..14, the number of its btnHoehleN button),
// in the order they are written, as offsets from the selected cell. Throws
// RangeError for a number outside 1..14.
std::span<const BrushEntry> shapePieces(int shapeNumber);

// Where a tile stands in the nine-tile set (column and row 0..2), or nothing
// for a tile that is not one of the nine; for drawing the shape buttons'
// glyphs.
std::optional<CellPoint> positionInNineTileSet(std::int32_t tile);

} // namespace stonereach
