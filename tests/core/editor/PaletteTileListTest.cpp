#include <gtest/gtest.h>

#include <fstream>

#include "editor/PaletteTileList.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

TEST(PaletteTileList, AListThatCannotBeReadGivesNoRowsAndANoteNamingTheFile) {
    test::TempDir home;
    const std::filesystem::path list = home / "textures" / "tileids.lst";

    PaletteTileList missing = readPaletteTileList(home.path());
    EXPECT_TRUE(missing.rows.empty());
    EXPECT_EQ(missing.note, "'" + list.string() + "' was not found.");

    std::filesystem::create_directories(list.parent_path());
    std::ofstream(list, std::ios::binary) << "textureid=$0003\r\ntextureid=oops\r\n";
    PaletteTileList damaged = readPaletteTileList(home.path());
    EXPECT_TRUE(damaged.rows.empty());
    EXPECT_NE(damaged.note.find("Line 2"), std::string::npos) << damaged.note;
    EXPECT_NE(damaged.note.find(list.string()), std::string::npos) << damaged.note;

    std::ofstream(list, std::ios::binary) << "textureid=$0003\r\ntextureid=282\r\n";
    PaletteTileList read = readPaletteTileList(home.path());
    EXPECT_EQ(read.rows, (std::vector<TileListRow>{{"0003", 3}, {"011A", 0x11A}}));
    EXPECT_EQ(read.note, "");
}

} // namespace
} // namespace stonereach
