#include <gtest/gtest.h>

#include "ClientFileBuilder.h"
#include "mapdata/ClientFiles.h"
#include "mapdata/Errors.h"
#include "mapdata/TileImagesByPath.h"

namespace stonereach {
namespace {

using test::numberedWords;
using test::wordBytes;

TEST(ClientFilePath, JoinsDirectoryTextSeparatorAndName) {
    EXPECT_EQ(clientFilePath("/games/uo", "art.mul").string(), "/games/uo/art.mul");
    EXPECT_EQ(clientFilePath("/games/uo/", "art.mul").string(), "/games/uo//art.mul");
}

// Client files whose highest texture id is 4096 and highest art id 16382, so
// the lookup limits, not the files, decide.
class ClientDir : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new test::TempDir;
        test::IndexedFileBuilder textures(4097);
        textures.add(4095, wordBytes(numberedWords(64 * 64)));
        textures.add(4096, wordBytes(numberedWords(64 * 64)));
        textures.write(*dir / "texidx.mul", *dir / "texmaps.mul");
        test::IndexedFileBuilder art(16383);
        art.add(16381, wordBytes(numberedWords(1012)), 2024);
        art.add(16382, wordBytes(numberedWords(1012)), 2024);
        art.write(*dir / "artidx.mul", *dir / "art.mul");
    }
    static void TearDownTestSuite() { delete dir; }
    static test::TempDir* dir;
};
test::TempDir* ClientDir::dir = nullptr;

TEST_F(ClientDir, LooksUpOnlyTheIdsTheDialogsOffer) {
    TileImage image;
    EXPECT_TRUE(loadTextureImageByPath(dir->path(), 4095, image));
    EXPECT_EQ(image.width, 64);
    EXPECT_FALSE(loadTextureImageByPath(dir->path(), 4096, image));
    EXPECT_TRUE(loadLandArtImageByPath(dir->path(), 16381, image));
    EXPECT_EQ(image.width, 45);
    EXPECT_FALSE(loadLandArtImageByPath(dir->path(), 16382, image));
    EXPECT_FALSE(loadLandArtImageByPath(dir->path(), 70000, image));
}

TEST_F(ClientDir, WorksWithATrailingSeparator) {
    TileImage image;
    EXPECT_TRUE(loadTextureImageByPath(dir->path().string() + "/", 4095, image));
}

TEST(TileImagesByPath, Tiles7And8NeedNoFiles) {
    TileImage image(2, 2, 9);
    EXPECT_TRUE(loadLandArtImageByPath("/nonexistent-client", 7, image));
    EXPECT_TRUE(loadLandArtImageByPath("/nonexistent-client", 8, image));
    EXPECT_EQ(image.pixels, std::vector<std::uint16_t>(4, 9));
}

TEST(TileImagesByPath, AMissingFileRaisesAnErrorNamingIt) {
    test::TempDir dir;
    test::writeBytes(dir / "texidx.mul", std::vector<std::uint8_t>(12 * 10));
    TileImage image;
    try {
        loadTextureImageByPath(dir.path(), 3, image);
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(std::filesystem::path(e.path()).filename(), "texmaps.mul");
    }
}

} // namespace
} // namespace stonereach
