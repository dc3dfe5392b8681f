#pragma once

#include <optional>
#include <string>

#include "mapdata/SettingsStore.h"

namespace stonereach {

// The seven view and tool settings as read from the store. A field is empty
// when the stored value is absent, empty, or not usable; the window then keeps
// its design default for that control and still applies the others. Apply
// them in the order of the fields.
struct StoredViewSettings {
    std::optional<std::string> coordX;         // jump X text
    std::optional<std::string> coordY;         // jump Y text
    std::optional<std::string> coordZ;         // altitude value text
    std::optional<int> zoomLevel;              // cell size in pixels, at least 1
    std::optional<int> altitudeModify;         // radio index as stored
    std::optional<int> showAltitude;           // radio index as stored
    std::optional<int> grid;                   // radio index as stored
};

StoredViewSettings loadViewSettings(const SettingsStore& store);

// What the window writes back at close, in this order.
struct ViewSettingsToSave {
    std::string coordX;
    std::string coordY;
    std::string coordZ;
    std::string zoomLevelText;
    int altitudeModify = 0;
    int showAltitude = 0;
    int grid = 0;
};

void saveViewSettings(SettingsStore& store, const ViewSettingsToSave& values);

// The item a radio group selects for a stored index: an index above the last
// item selects the last, one below 0 selects none (-1).
int radioIndexFromSetting(int stored, int itemCount);

} // namespace stonereach
