#include <gtest/gtest.h>

#include "editor/BrushFile.h"
#include "editor/BrushGrid.h"
#include "editor/CoordinatesList.h"
#include "mapdata/IntegerText.h"
#include "sample/SampleBrushesAndPlaces.h"
#include "sample/SampleTerrain.h"
#include "sample/SampleTileSet.h"
#include "support/TempDir.h"

namespace stonereach::sample {
namespace {

TEST(SampleBrushesAndPlaces, BrushesOfSampleTilesAndPlacesOnTheGroundsTheyPromise) {
    test::TempDir home;
    const SampleWorldOptions world{"Tokuno", 3};
    writeSampleBrushesAndPlaces(home.path(), world);

    const auto brushes = home / "brushes";
    ASSERT_EQ(listBrushNames(brushes), (std::vector<std::string>{"Hill", "Path", "Shore"}));
    std::set<std::uint16_t> known;
    for (const SampleTile& tile : sampleTiles())
        known.insert(tile.id);
    for (const std::string& name : listBrushNames(brushes)) {
        BrushGrid grid;
        EXPECT_TRUE(grid.load(brushFilePath(brushes, name)).clean()) << name;
        EXPECT_GE(grid.paintedCells().size(), 8u) << name;
        for (const PaintedBrushCell& cell : grid.paintedCells())
            EXPECT_TRUE(known.contains(cell.tile)) << name << " has tile " << cell.tile;
    }
    BrushGrid hill;
    hill.load(brushes / "Hill.brs");
    EXPECT_EQ(hill.cellText(0, 0), "NODRAW");
    EXPECT_EQ(hill.cellText(2, 2), tileIdToDollarHex(SampleTileIds::Rock[0]));

    // Coast, mountain top, forest, (lava,) cave chamber: each on its ground.
    const CoordinateList places = readCoordinatesFile(home / "coords.def");
    EXPECT_EQ(places, samplePlaces(world));
    ASSERT_GE(places.size(), 4u);
    const auto* variant = findVariantByName(world.variantName);
    const SampleTerrain terrain(MapGeometry::of(*variant), world.seed);
    const auto groundOf = [&](const CoordinateEntry& place) {
        const int x = parseInteger(place.x);
        const int y = parseInteger(place.y);
        EXPECT_TRUE(x >= 0 && y >= 0 && x < variant->width && y < variant->height) << place.x << "," << place.y;
        return terrain.groundAt(x, y);
    };
    EXPECT_EQ(groundOf(places.front()).terrain, Terrain::Sand);
    EXPECT_GT(groundOf(places[1]).cell.z, 60) << "a mountain top";
    EXPECT_EQ(groundOf(places[2]).terrain, Terrain::Forest);
    EXPECT_EQ(groundOf(places.back()).cell.tile, SampleTileIds::FrameCentre) << "inside a chamber";
}

} // namespace
} // namespace stonereach::sample
