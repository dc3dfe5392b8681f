#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "mapdata/SettingsStore.h"

namespace stonereach {

// Names of the choices the main window keeps between runs beside the view
// settings.
namespace RememberedChoiceNames {
inline constexpr std::string_view SelectedTile = "SelectedTile";
inline constexpr std::string_view TileList = "TileList";
inline constexpr std::string_view CustomBrush = "CustomBrush";
inline constexpr std::string_view DrawingMode = "DrawingMode";
} // namespace RememberedChoiceNames

// What a user expects to find again after a restart: the tile "Selected tile
// from list" paints, the tile list the sorted palette shows (its file name in
// textures/), the custom brush chosen (its name) and the drawing mode (the
// text of its item). Texts are UTF-8, as the store keeps them. A field is
// empty when nothing usable was stored; the window then keeps its default.
struct RememberedChoices {
    std::optional<std::uint16_t> selectedTile;
    std::optional<std::string> tileList;
    std::optional<std::string> customBrush;
    std::optional<std::string> drawingMode;
};

// Reads the choices; a tile that is not an id from 0 to 65535, and empty
// texts, read as nothing.
RememberedChoices loadRememberedChoices(const SettingsStore& store);

// Writes all four choices; one that is not set is written empty.
void saveRememberedChoices(SettingsStore& store, const RememberedChoices& choices);

} // namespace stonereach
