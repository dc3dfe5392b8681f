#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>

#include "RunCli.h"
#include "mapdata/ClientFiles.h"
#include "mapdata/LandTileImage.h"
#include "render/TileQImage.h"
#include "sample/SampleClientFiles.h"
#include "sample/SampleWorld.h"

namespace stonereach {
namespace {

using ::testing::HasSubstr;
using test::runCli;

TEST(SampleCommand, WritesTheSameWorldAsTheLibraryForTheSameSeed) {
    test::TempDir dir;
    const auto r = runCli({"sample", (dir / "cli").string(), "--variant", "Tokuno", "--seed", "5"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("map4.mul"));
    sample::generateSampleWorld(dir / "lib", {"Tokuno", 5});
    for (const char* name : {"map4.mul", "staidx4.mul", "statics4.mul", "art.mul", "texmaps.mul", "radarcol.mul"})
        EXPECT_EQ(test::readBytes(dir / "cli" / name), test::readBytes(dir / "lib" / name)) << name;
    EXPECT_EQ(runCli({"info", (dir / "cli" / "map4.mul").string()}).out, "variant: Tokuno\nsize: 1448x1448\n");
}

TEST(SampleCommand, WritesTheEditorFilesIntoHomeOrTheFolderNamed) {
    test::TempDir dir;
    ASSERT_EQ(runCli({"sample", (dir / "w").string(), "--variant", "Tokuno"}).status, 0);
    for (const char* name : {"textures/tileids.lst", "textures/coast.lst", "tilelist.xml", "brushes/Hill.brs",
                             "brushes/Shore.brs", "brushes/Path.brs", "coords.def"})
        EXPECT_TRUE(std::filesystem::is_regular_file(dir / "w" / "home" / name)) << name;

    const auto r = runCli({"sample", (dir / "x").string(), "--variant", "Tokuno", "--home", (dir / "elsewhere").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("editor files: " + (dir / "elsewhere").string()));
    EXPECT_FALSE(std::filesystem::exists(dir / "x" / "home"));
    EXPECT_EQ(test::readBytes(dir / "elsewhere" / "tilelist.xml"), test::readBytes(dir / "w" / "home" / "tilelist.xml"));
}

TEST(SampleCommand, RefusesUnknownVariants) {
    test::TempDir dir;
    const auto r = runCli({"sample", (dir / "w").string(), "--variant", "Britannia"});
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "w"));
}

class TileCommand : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new test::TempDir;
        sample::writeSampleClientFiles(dir->path(), 1);
    }
    static void TearDownTestSuite() { delete dir; }
    static test::TempDir* dir;

    static TileImage expectedImage(std::uint16_t id) {
        const File texIdx(*dir / "texidx.mul", File::Mode::Read), texMaps(*dir / "texmaps.mul", File::Mode::Read);
        const File artIdx(*dir / "artidx.mul", File::Mode::Read), art(*dir / "art.mul", File::Mode::Read);
        TileImage image;
        loadLandTileImage(texIdx, texMaps, artIdx, art, id, image);
        return image;
    }
};
test::TempDir* TileCommand::dir = nullptr;

TEST_F(TileCommand, SavesTheTextureOrElseTheLandArtAsPng) {
    // The id as typed (decimal or $ hexadecimal), its value, the source, the side.
    for (const auto& [id, value, text, side] :
         {std::tuple{"3", 3, "texture", 64}, std::tuple{"5", 5, "texture", 128}, std::tuple{"$DC", 220, "land art", 45}}) {
        const auto out = (*dir / (std::string("tile-") + id + ".png")).string();
        const auto r = runCli({"tile", dir->path().string(), id, out});
        ASSERT_EQ(r.status, 0) << id << ": " << r.err;
        EXPECT_THAT(r.out, HasSubstr(text));
        QImage saved(QString::fromStdString(out));
        ASSERT_EQ(saved.width(), side) << id;
        const QImage expected = toQImage(expectedImage(static_cast<std::uint16_t>(value)));
        EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32)) << id;
    }
}

TEST_F(TileCommand, TilesWithoutAPictureExitWithOne) {
    for (const char* id : {"1", "7", "16383"}) {
        const auto out = *dir / "none.png";
        const auto r = runCli({"tile", dir->path().string(), id, out.string()});
        EXPECT_EQ(r.status, 1) << id;
        EXPECT_THAT(r.err, HasSubstr("Tile ")) << id;
        EXPECT_FALSE(std::filesystem::exists(out)) << id;
    }
    // An id past the end of the index is an error naming the index file.
    const auto r = runCli({"tile", dir->path().string(), "20000", (*dir / "x.png").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("texidx.mul"));
    EXPECT_EQ(runCli({"tile", dir->path().string(), "70000", (*dir / "x.png").string()}).status, 1);
    EXPECT_THAT(runCli({"tile", (*dir / "missing").string(), "3", (*dir / "x.png").string()}).err,
                HasSubstr("texidx.mul"));
}

} // namespace
} // namespace stonereach
