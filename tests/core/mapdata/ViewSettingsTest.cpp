#include <gtest/gtest.h>

#include "mapdata/ViewSettings.h"

namespace stonereach {
namespace {

TEST(ViewSettingsLoad, AnEmptyStoreKeepsEveryDesignDefault) {
    const MemorySettingsStore store;
    const auto s = loadViewSettings(store);
    EXPECT_FALSE(s.coordX || s.coordY || s.coordZ || s.zoomLevel || s.altitudeModify || s.showAltitude || s.grid);
}

TEST(ViewSettingsLoad, AppliesStoredTextsAndIntegers) {
    MemorySettingsStore store;
    store.setValue("CoordX", "100");
    store.setValue("CoordY", "abc");  // a jump text is taken as it stands
    store.setValue("CoordZ", "");
    store.setValue("ZoomLevel", "30");
    store.setValue("Grid", "0");
    store.setValue("ShowAltitude", "$1");
    const auto s = loadViewSettings(store);
    EXPECT_EQ(s.coordX, "100");
    EXPECT_EQ(s.coordY, "abc");
    EXPECT_FALSE(s.coordZ) << "an empty value is not applied";
    EXPECT_EQ(s.zoomLevel, 30);
    EXPECT_EQ(s.grid, 0);
    EXPECT_EQ(s.showAltitude, 1);
}

TEST(ViewSettingsLoad, ADamagedNumberIsIgnoredAndTheOthersStillLoad) {
    MemorySettingsStore store;
    store.setValue("ZoomLevel", "big");
    store.setValue("AltitudeModify", "2.5");
    store.setValue("Grid", "0");
    const auto s = loadViewSettings(store);
    EXPECT_FALSE(s.zoomLevel);
    EXPECT_FALSE(s.altitudeModify);
    EXPECT_EQ(s.grid, 0);
}

TEST(ViewSettingsLoad, AZoomBelowOnePixelIsNotApplied) {
    MemorySettingsStore store;
    store.setValue("ZoomLevel", "0");
    EXPECT_FALSE(loadViewSettings(store).zoomLevel);
    store.setValue("ZoomLevel", "-5");
    EXPECT_FALSE(loadViewSettings(store).zoomLevel);
}

TEST(ViewSettingsSave, WritesAllSevenValuesAsText) {
    MemorySettingsStore store;
    saveViewSettings(store, {"1", "2", "-3", "45", 3, 1, 0});
    EXPECT_EQ(store.values(), (std::map<std::string, std::string>{{"AltitudeModify", "3"},
                                                                  {"CoordX", "1"},
                                                                  {"CoordY", "2"},
                                                                  {"CoordZ", "-3"},
                                                                  {"Grid", "0"},
                                                                  {"ShowAltitude", "1"},
                                                                  {"ZoomLevel", "45"}}));
}

TEST(RadioIndex, ClampsAboveAndSelectsNoneBelow) {
    EXPECT_EQ(radioIndexFromSetting(0, 2), 0);
    EXPECT_EQ(radioIndexFromSetting(1, 2), 1);
    EXPECT_EQ(radioIndexFromSetting(7, 4), 3);
    EXPECT_EQ(radioIndexFromSetting(-1, 4), -1);
}

} // namespace
} // namespace stonereach
