#include "mapdata/ViewSettings.h"

#include "mapdata/IntegerText.h"

namespace stonereach {

namespace {

std::optional<std::string> nonEmpty(const SettingsStore& store, std::string_view name) {
    auto text = store.value(name);
    if (!text || text->empty())
        return std::nullopt;
    return text;
}

// A stored number that does not convert is ignored, so one damaged value
// cannot keep the rest of the settings from loading.
std::optional<int> integer(const SettingsStore& store, std::string_view name) {
    const auto text = nonEmpty(store, name);
    if (!text)
        return std::nullopt;
    return readInteger(*text);
}

} // namespace

StoredViewSettings loadViewSettings(const SettingsStore& store) {
    StoredViewSettings s;
    s.coordX = nonEmpty(store, SettingNames::CoordX);
    s.coordY = nonEmpty(store, SettingNames::CoordY);
    s.coordZ = nonEmpty(store, SettingNames::CoordZ);
    s.zoomLevel = integer(store, SettingNames::ZoomLevel);
    // The view cannot draw cells smaller than one pixel.
    if (s.zoomLevel && *s.zoomLevel < 1)
        s.zoomLevel.reset();
    s.altitudeModify = integer(store, SettingNames::AltitudeModify);
    s.showAltitude = integer(store, SettingNames::ShowAltitude);
    s.grid = integer(store, SettingNames::Grid);
    return s;
}

void saveViewSettings(SettingsStore& store, const ViewSettingsToSave& v) {
    store.setValue(SettingNames::CoordX, v.coordX);
    store.setValue(SettingNames::CoordY, v.coordY);
    store.setValue(SettingNames::CoordZ, v.coordZ);
    store.setValue(SettingNames::ZoomLevel, v.zoomLevelText);
    store.setValue(SettingNames::AltitudeModify, std::to_string(v.altitudeModify));
    store.setValue(SettingNames::ShowAltitude, std::to_string(v.showAltitude));
    store.setValue(SettingNames::Grid, std::to_string(v.grid));
}

int radioIndexFromSetting(int stored, int itemCount) {
    if (stored < 0)
        return -1;
    return stored >= itemCount ? itemCount - 1 : stored;
}

} // namespace stonereach
