#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <fstream>

#include "RunCli.h"
#include "mapdata/MapFile.h"
#include "mapdata/RadarColours.h"
#include "maptools/OverviewPicture.h"
#include "sample/SampleClientFiles.h"
#include "sample/SampleMap.h"
#include "sample/SampleWorld.h"

namespace stonereach {
namespace {

using ::testing::HasSubstr;
using test::runCli;

// One Tokuno-size sample map and client directory shared by the tests here.
class SmallWorld : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new test::TempDir;
        sample::writeSampleMap(*dir / "map4.mul", *sample::findVariantByName("Tokuno"), 5);
        sample::writeSampleClientFiles(dir->path(), 5);
    }
    static void TearDownTestSuite() { delete dir; }

    static std::string map() { return (*dir / "map4.mul").string(); }
    static std::string at(const std::string& name) { return (*dir / name).string(); }
    static test::TempDir* dir;
    const MapGeometry tokuno{1448, 1448, 181};
};
test::TempDir* SmallWorld::dir = nullptr;

TEST_F(SmallWorld, EnlargeWritesAMondainsLegacyMap) {
    std::filesystem::create_directories(*dir / "big");
    const auto out = at("big/map0.mul");
    const auto r = runCli({"enlarge", map(), out});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "") << "no progress bar when stderr is not a terminal";
    EXPECT_EQ(runCli({"info", out}).out, "variant: Mondains Legacy\nsize: 7168x4096\n");
    const MapGeometry ml{7168, 4096, 512};
    EXPECT_EQ(MapFile(out, File::Mode::Read).readCell(1447, 1447, ml),
              MapFile(map(), File::Mode::Read).readCell(1447, 1447, tokuno));
    EXPECT_EQ(MapFile(out, File::Mode::Read).readCell(1448, 0, ml), MapCell{});
}

TEST_F(SmallWorld, EnlargeRefusesUnknownSourcesAndItsOwnSource) {
    auto r = runCli({"enlarge", at("map0.mul"), at("x.mul")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "stonereach-cli: Wrong source map file!\n");
    r = runCli({"enlarge", map(), map()});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("cannot be written over its own source"));
    EXPECT_EQ(runCli({"info", map()}).status, 0) << "the source is intact";
}

TEST_F(SmallWorld, OverviewWritesOnePixelPerBlock) {
    const auto out = at("overview.png");
    const auto r = runCli({"overview", map(), dir->path().string(), out});
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage image(QString::fromStdString(out));
    ASSERT_EQ(image.size(), QSize(181, 181));
    // Every pixel as the engine computes it, read back by another decoder.
    RadarColours radar;
    radar.load(*dir / "radarcol.mul", "Tokuno");
    const OverviewPicture expected = buildOverview(map(), tokuno, radar);
    int wrong = 0;
    for (int y = 0; y < 181; ++y)
        for (int x = 0; x < 181; ++x) {
            const Rgb8 c = expected.at(x, y);
            wrong += image.pixel(x, y) != qRgb(c.r, c.g, c.b);
        }
    EXPECT_EQ(wrong, 0);
    // Not a blank picture: the sample world has land and sea.
    EXPECT_NE(image.pixel(0, 0), image.pixel(90, 90));
}

TEST_F(SmallWorld, OverviewNeedsTheRadarColours) {
    const auto r = runCli({"overview", map(), at("nowhere"), at("o2.png")});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("radarcol.mul"));
    EXPECT_FALSE(std::filesystem::exists(at("o2.png")));
}

TEST_F(SmallWorld, PatchAppliesABnpFileAndSaysWhatItSkipped) {
    std::filesystem::create_directories(*dir / "patched");
    const auto target = at("patched/map4.mul");
    std::filesystem::copy_file(map(), target, std::filesystem::copy_options::overwrite_existing);
    {
        std::ofstream bnp(at("p.bnp"), std::ios::binary);
        bnp << "[0]\r\nX=10\r\nY=20\r\nZ=-5\r\nID=00 03\r\n[1]\r\nX=5000\r\nY=0\r\nZ=1\r\nID=\r\n";
    }
    const auto r = runCli({"patch", target, at("p.bnp")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1 cells patched\n");
    EXPECT_THAT(r.err, HasSubstr("1 entries lie outside the map"));
    EXPECT_EQ(MapFile(target, File::Mode::Read).readCell(10, 20, tokuno), (MapCell{3, -5}));
}

TEST_F(SmallWorld, PatchRefusesAnEmptyFileAndReportsABadEntry) {
    {
        std::ofstream bnp(at("empty.bnp"), std::ios::binary);
    }
    auto r = runCli({"patch", map(), at("empty.bnp")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "stonereach-cli: File is empty or corupted!\n");
    {
        std::ofstream bnp(at("bad.bnp"), std::ios::binary);
        bnp << "[0]\r\nX=1\r\nY=1\r\nZ=1\r\nID=12 3\r\n";
    }
    r = runCli({"patch", map(), at("bad.bnp")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "stonereach-cli: Input not SpacedHex (entry [0], ID)\n") << "the entry at fault is named";
}

} // namespace
} // namespace stonereach
