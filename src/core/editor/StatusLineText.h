#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "mapdata/MapLayout.h"
#include "mapdata/OpenMap.h"

namespace stonereach {

// Texts of the main window's two-panel status line.

// Panel 0: the cell under the pointer, "X=1000 - Y=2000 - Altitude=-5 -
// Tile=00 03"; without a readable cell, " - Wrong filename" follows the
// coordinates instead.
std::string hoverCellText(int x, int y, const std::optional<MapCell>& cell);

// The altitude part of panel 1 for the item of the altitude mode group
// (0 add, 1 subtract, 2 set, 3 only change the tile) and the Z text as typed;
// empty when no item is selected.
std::string altitudeModeText(int modeIndex, std::string_view zText);

// The drawing parts of panel 1.
inline constexpr std::string_view kDrawingDisabledText = " - Drawing disabled";
inline constexpr std::string_view kDrawingAltitudeOnlyText = " - Drawing altitude only";
std::string selectedTileText(std::uint16_t tile);
std::string selectedGroupText(std::string_view groupName);

// The line over both panels while the open map may not be written; empty
// when it may.
std::string_view mapTroubleText(MapFileTrouble trouble);

// Panel 1: "Selected mode: " followed by the altitude and the drawing part.
std::string selectedModeText(std::string_view altitudePart, std::string_view drawingPart);

} // namespace stonereach
