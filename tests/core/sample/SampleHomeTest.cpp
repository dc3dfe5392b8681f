#include <gtest/gtest.h>

#include <set>

#include "editor/SelectionGroups.h"
#include "editor/TileLists.h"
#include "sample/SampleHome.h"
#include "sample/SampleTileSet.h"
#include "support/TempDir.h"

namespace stonereach::sample {
namespace {

TEST(SampleHome, ListsEveryLandTileOnceAndGroupsOnlyTilesTheClientHas) {
    test::TempDir dir;
    writeSampleHome(dir / "home");
    std::set<int> clientTiles;
    for (const SampleTile& tile : sampleTiles())
        clientTiles.insert(tile.id);

    const auto all = readTileList(dir / "home" / "textures" / "tileids.lst");
    std::set<int> listed;
    for (const TileListRow& row : all)
        EXPECT_TRUE(listed.insert(row.tile).second) << row.text << " twice";
    EXPECT_EQ(listed, clientTiles);
    EXPECT_EQ(all.front(), (TileListRow{"0003", 3})) << "grass first";

    for (const TileListRow& row : readTileList(dir / "home" / "textures" / "coast.lst"))
        EXPECT_TRUE(clientTiles.contains(row.tile)) << row.text;
    EXPECT_EQ(listTileListFiles(dir / "home" / "textures"), (std::vector<std::string>{"coast.lst", "tileids.lst"}));

    const auto groups = readSelectionGroups(dir / "home" / "tilelist.xml");
    ASSERT_FALSE(groups.problem);
    ASSERT_GE(groups.groups.size(), 4u);
    std::set<std::string> names;
    for (const TTileNamed& group : groups.groups) {
        names.insert(group.TileName);
        for (const std::uint16_t id : groupTileIds(group))
            EXPECT_TRUE(clientTiles.contains(id)) << group.TileName << " " << id;
    }
    for (const char* name : {"Grass", "Sand", "Rock", "Water", "Sand & Grass"})
        EXPECT_TRUE(names.contains(name)) << name;
}

} // namespace
} // namespace stonereach::sample
