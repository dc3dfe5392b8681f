#include <gtest/gtest.h>

#include "editor/StatusLineText.h"

using namespace stonereach;

TEST(HoverCellText, ReadableCellShowsAltitudeAndTileAsSpacedHex) {
    EXPECT_EQ(hoverCellText(1000, 2000, MapCell{0x0003, -5}), "X=1000 - Y=2000 - Altitude=-5 - Tile=00 03");
    EXPECT_EQ(hoverCellText(0, 0, MapCell{0xABCD, 127}), "X=0 - Y=0 - Altitude=127 - Tile=AB CD");
    EXPECT_EQ(hoverCellText(7167, 4095, MapCell{0x011A, -128}), "X=7167 - Y=4095 - Altitude=-128 - Tile=01 1A");
}

TEST(HoverCellText, UnreadableCellSaysWrongFilename) {
    EXPECT_EQ(hoverCellText(12, 34, std::nullopt), "X=12 - Y=34 - Wrong filename");
}

TEST(SelectedModeText, AltitudeModesQuoteTheZTextAsTyped) {
    EXPECT_EQ(altitudeModeText(0, "5"), "Add 5 to current altitude");
    EXPECT_EQ(altitudeModeText(1, "-3"), "Subtract -3 from current altitude");
    EXPECT_EQ(altitudeModeText(2, "$1F"), "Set altitude to $1F");
    EXPECT_EQ(altitudeModeText(3, "9"), "Only draw tile without set altitude");
    EXPECT_EQ(altitudeModeText(-1, "9"), "");
}

TEST(SelectedModeText, JoinsAltitudeAndDrawingParts) {
    EXPECT_EQ(selectedModeText(altitudeModeText(3, "0"), kDrawingDisabledText),
              "Selected mode: Only draw tile without set altitude - Drawing disabled");
    EXPECT_EQ(selectedModeText(altitudeModeText(0, "2"), selectedTileText(0x011A)),
              "Selected mode: Add 2 to current altitude - Selected tile=01 1A");
    EXPECT_EQ(selectedModeText("", selectedGroupText("Grass")), "Selected mode:  - Selected group: \"Grass\"");
}
