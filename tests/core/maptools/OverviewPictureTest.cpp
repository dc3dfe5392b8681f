#include <gtest/gtest.h>

#include "mapdata/Errors.h"
#include "mapdata/MapLayout.h"
#include "maptools/OverviewPicture.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

TEST(OverviewColour, ConvertsTheRadarColourAndShowsUndefinedTilesBlack) {
    RadarColours radar;
    radar.set(5, 0x7FFF);
    radar.set(6, 0x8000);
    radar.set(7, 0x7C00);
    EXPECT_EQ(overviewColour(radar, 5), (Rgb8{248, 248, 248}));
    EXPECT_EQ(overviewColour(radar, 6), (Rgb8{0, 0, 0}));
    EXPECT_EQ(overviewColour(radar, 7), (Rgb8{248, 0, 0}));
    radar.set(0x8005 & 0x7FFF, 0x7FFF);
    EXPECT_EQ(overviewColour(radar, 0x8005), (Rgb8{0, 0, 0})) << "ids from 32768 on have no radar colour";
}

TEST(BuildOverview, SamplesCellOneOneOfEveryBlock) {
    test::TempDir dir;
    const MapGeometry tokuno{1448, 1448, 181};
    const auto path = dir / "map4.mul";
    std::vector<std::uint8_t> bytes(6421156, 0);
    // Every block's cell (1, 1) gets a tile made of its block coordinates;
    // its cell (0, 0) a tile that must not show.
    for (int bx = 0; bx < 181; ++bx)
        for (int by = 0; by < 181; ++by) {
            le::put16(&bytes[cellOffset(8 * bx + 1, 8 * by + 1, 181)], static_cast<std::uint16_t>((bx * 7 + by) % 1000));
            le::put16(&bytes[cellOffset(8 * bx, 8 * by, 181)], 2000);
        }
    test::writeBytes(path, bytes);
    RadarColours radar;
    for (std::uint16_t id = 0; id < 1000; ++id)
        radar.set(id, id);
    radar.set(2000, 0x7FFF);

    const auto picture = buildOverview(path, tokuno, radar);
    ASSERT_EQ(picture.width, 181);
    ASSERT_EQ(picture.height, 181);
    for (int bx = 0; bx < 181; bx += 9)
        for (int by = 0; by < 181; by += 7)
            ASSERT_EQ(picture.at(bx, by), rgb555To8(static_cast<std::uint16_t>((bx * 7 + by) % 1000)))
                << bx << "," << by;
}

TEST(BuildOverview, AShortFileRaisesAnIoErrorNamingIt) {
    test::TempDir dir;
    const auto path = dir / "map0.mul";
    test::writePatternFile(path, 1000000);
    try {
        buildOverview(path, MapGeometry{6144, 4096, 512}, RadarColours{});
        FAIL();
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), path.string());
    }
}

} // namespace
} // namespace stonereach
