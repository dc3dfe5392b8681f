#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include <QImage>

#include "core/mapdata/ClientFileBuilder.h"
#include "mapdata/MapFile.h"
#include "mapdata/MapVariant.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

// A Tokuno map (the smallest variant) with one textured cell, and a client
// directory whose tile 1 is a red texture and tile 2 a white one with a blue
// second pixel; the indexes hold tiles 0 to 3.
class RenderCommand : public ::testing::Test {
protected:
    void SetUp() override {
        const MapVariant& tokuno = mapVariants()[6];
        ASSERT_EQ(tokuno.fileName, "map4.mul");
        test::writeBytes(dir / "map4.mul", std::vector<std::uint8_t>(tokuno.sizeBytes, 0));
        MapFile map(dir / "map4.mul", File::Mode::ReadWrite);
        map.writeCell(1447, 1446, MapCell{1, -48}, MapGeometry::of(tokuno));
        std::filesystem::create_directory(dir / "client");
        test::IndexedFileBuilder textures(4);
        textures.add(1, test::wordBytes(std::vector<std::uint16_t>(64 * 64, 0x7C00)));
        std::vector<std::uint16_t> white(64 * 64, 0x7FFF);
        white[1] = 0x001F;
        textures.add(2, test::wordBytes(white));
        textures.write(dir / "client" / "texidx.mul", dir / "client" / "texmaps.mul");
        test::IndexedFileBuilder art(4);
        art.write(dir / "client" / "artidx.mul", dir / "client" / "art.mul");
    }

    int render(const std::string& args) {
        const std::string command = std::string(STONEREACH_CLI) + " render " + (dir / "map4.mul").string() + " " +
                                    (dir / "client").string() + " " + (dir / "out.png").string() + " " + args +
                                    " 2>" + (dir / "err.txt").string();
        return WEXITSTATUS(std::system(command.c_str()));
    }

    test::TempDir dir;
};

TEST_F(RenderCommand, DrawsTheRegionAsTheMapViewDoes) {
    ASSERT_EQ(render("--x 1446 --y 1445 --cols 2 --rows 2 --zoom 20 --grid --altitude --colored"), 0);
    QImage picture(QString::fromStdString((dir / "out.png").string()));
    ASSERT_EQ(picture.size(), QSize(41, 41)) << "two cells of 20 pixels and one line between them";
    EXPECT_EQ(picture.pixelColor(20, 5), QColor(192, 192, 192));
    EXPECT_EQ(picture.pixelColor(21 + 15, 21 + 15), QColor(248, 0, 0)) << "cell (1447, 1446) shows its texture";
    EXPECT_EQ(picture.pixelColor(21 + 2, 3), QColor(0, 127, 0)) << "cell (1447, 1445): altitude 0 label colour";
    EXPECT_EQ(picture.pixelColor(21 + 2, 21 + 3), QColor(128, 167, 39)) << "altitude -48";
    EXPECT_EQ(picture.pixelColor(15, 15), QColor(0, 0, 0)) << "tile 0 has no picture";
}

// Both the tile picture and the drawn map keep the low three bits of each
// component at 0: white is 248, 248, 248.
TEST_F(RenderCommand, PicturesOfTheTileAndRenderCommandsShiftFiveBitColoursLeftByThree) {
    const std::string tile = std::string(STONEREACH_CLI) + " tile " + (dir / "client").string() + " 2 " +
                             (dir / "tile.png").string() + " >/dev/null";
    ASSERT_EQ(WEXITSTATUS(std::system(tile.c_str())), 0);
    const QImage saved(QString::fromStdString((dir / "tile.png").string()));
    ASSERT_EQ(saved.size(), QSize(64, 64));
    EXPECT_EQ(saved.pixelColor(0, 0), QColor(248, 248, 248));
    EXPECT_EQ(saved.pixelColor(1, 0), QColor(0, 0, 248));

    MapFile map(dir / "map4.mul", File::Mode::ReadWrite);
    map.writeCell(0, 0, MapCell{2, 0}, MapGeometry::of(mapVariants()[6]));
    ASSERT_EQ(render("--cols 1 --rows 1 --zoom 64"), 0);
    const QImage drawn(QString::fromStdString((dir / "out.png").string()));
    EXPECT_EQ(drawn.pixelColor(0, 0), QColor(248, 248, 248));
    EXPECT_EQ(drawn.pixelColor(1, 0), QColor(0, 0, 248));
}

// A cell whose tile lies past the end of the texture index: that cell is
// black, the others are drawn, the picture is written and the damaged file
// is named.
TEST_F(RenderCommand, AnUnreadableTileCostsItsOwnCellOnly) {
    MapFile map(dir / "map4.mul", File::Mode::ReadWrite);
    map.writeCell(1446, 1446, MapCell{65535, 0}, MapGeometry::of(mapVariants()[6]));
    ASSERT_EQ(render("--x 1446 --y 1446 --cols 2 --rows 1 --zoom 10"), 0);
    const QImage picture(QString::fromStdString((dir / "out.png").string()));
    EXPECT_EQ(picture.pixelColor(5, 5), QColor(0, 0, 0));
    EXPECT_EQ(picture.pixelColor(15, 5), QColor(248, 0, 0)) << "the cell after it is drawn";
    const auto bytes = test::readBytes(dir / "err.txt");
    const std::string err(bytes.begin(), bytes.end());
    EXPECT_NE(err.find("tile FF FF (65535)"), std::string::npos) << err;
    EXPECT_NE(err.find("texidx.mul"), std::string::npos) << err;
}

TEST_F(RenderCommand, RefusesRegionsOutsideTheMapAndUnknownMaps) {
    EXPECT_EQ(render("--x 1447 --cols 2 --rows 1"), 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.png"));
    EXPECT_EQ(render("--x abc"), 1);
    std::filesystem::resize_file(dir / "map4.mul", 1000);
    EXPECT_EQ(render(""), 1);
    EXPECT_EQ(render("--zoom"), 2) << "bad usage";
}

// The drawing half of the command is a module beside the tool; without it the
// command says so and fails cleanly, and every other command still works.
TEST_F(RenderCommand, AMissingDrawingModuleIsReportedAsAnError) {
    const auto alone = dir / "alone";
    std::filesystem::create_directory(alone);
    std::filesystem::copy_file(STONEREACH_CLI, alone / "stonereach-cli");
    const std::string command = (alone / "stonereach-cli").string() + " render " + (dir / "map4.mul").string() +
                                " " + (dir / "client").string() + " " + (dir / "out.png").string() + " 2>" +
                                (dir / "err.txt").string();
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 1);
    const auto bytes = test::readBytes(dir / "err.txt");
    const std::string err(bytes.begin(), bytes.end());
    EXPECT_NE(err.find("drawing module of the render command could not be loaded"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.png"));
    const std::string info = (alone / "stonereach-cli").string() + " info " + (dir / "map4.mul").string() + " >/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(info.c_str())), 0);
}

} // namespace
} // namespace stonereach
