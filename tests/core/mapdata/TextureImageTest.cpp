#include <gtest/gtest.h>

#include "ClientFileBuilder.h"
#include "mapdata/Errors.h"
#include "mapdata/LandTileImage.h"
#include "mapdata/TextureImage.h"

namespace stonereach {
namespace {

using test::numberedWords;
using test::wordBytes;

// Texture and art files of 16 ids each in a temporary directory.
class TileFiles : public ::testing::Test {
protected:
    test::TempDir dir;
    test::IndexedFileBuilder textures{16};
    test::IndexedFileBuilder art{16};

    TileImageSource loadTile(std::uint16_t id, TileImage& image) {
        textures.write(dir / "texidx.mul", dir / "texmaps.mul");
        art.write(dir / "artidx.mul", dir / "art.mul");
        const File texIdx(dir / "texidx.mul", File::Mode::Read);
        const File texMaps(dir / "texmaps.mul", File::Mode::Read);
        const File artIdx(dir / "artidx.mul", File::Mode::Read);
        const File artData(dir / "art.mul", File::Mode::Read);
        return loadLandTileImage(texIdx, texMaps, artIdx, artData, id, image);
    }

    static TileImage marker() { return TileImage(3, 3, 0x1234); }
};

TEST_F(TileFiles, TexturesAreSquaresRowByRowSizedByTheirLength) {
    textures.add(1, wordBytes(numberedWords(64 * 64)));
    textures.add(2, wordBytes(numberedWords(128 * 128)));
    TileImage image;
    ASSERT_EQ(loadTile(1, image), TileImageSource::Texture);
    ASSERT_EQ(image.width, 64);
    ASSERT_EQ(image.height, 64);
    EXPECT_EQ(image.at(0, 0), 1);
    EXPECT_EQ(image.at(5, 0), 6);
    EXPECT_EQ(image.at(0, 1), 65);
    EXPECT_EQ(image.at(63, 63), 4096);
    ASSERT_EQ(loadTile(2, image), TileImageSource::Texture);
    ASSERT_EQ(image.width, 128);
    EXPECT_EQ(image.at(3, 2), 2 * 128 + 3 + 1);
}

TEST_F(TileFiles, ATextureWinsOverLandArt) {
    textures.add(4, wordBytes(std::vector<std::uint16_t>(64 * 64, 0x03E0)));
    art.add(4, wordBytes(std::vector<std::uint16_t>(1012, 0x7C00)), 2048);
    art.data().resize(art.data().size() + 24);
    TileImage image;
    ASSERT_EQ(loadTile(4, image), TileImageSource::Texture);
    EXPECT_EQ(image.width, 64);
    EXPECT_EQ(image.at(10, 10), 0x03E0);
}

TEST_F(TileFiles, OtherTextureLengthsFallBackToLandArt) {
    textures.add(5, wordBytes(numberedWords(64 * 64)), 8000);
    textures.add(6, wordBytes(numberedWords(64 * 64)), 0);
    textures.add(9, wordBytes(numberedWords(64 * 64)));
    textures.setRecord(9, IndexRecord{-1, 8192, 0});
    for (std::uint16_t id : std::initializer_list<std::uint16_t>{5, 6, 9})
        art.add(id, wordBytes(numberedWords(1012)), 2024);
    for (std::uint16_t id : std::initializer_list<std::uint16_t>{5, 6, 9}) {
        TileImage image;
        EXPECT_EQ(loadTile(id, image), TileImageSource::LandArt) << id;
        EXPECT_EQ(image.width, 45) << id;
    }
}

TEST_F(TileFiles, ATileWithNeitherKeepsTheImage) {
    art.setRecord(3, IndexRecord{-1, 0, 0});
    TileImage image = marker();
    EXPECT_EQ(loadTile(3, image), TileImageSource::None);
    EXPECT_EQ(image.pixels, marker().pixels);
    // 7 and 8 count as land art but draw nothing new.
    EXPECT_EQ(loadTile(7, image), TileImageSource::LandArt);
    EXPECT_EQ(image.pixels, marker().pixels);
}

TEST_F(TileFiles, CorruptTextureIndexesRaiseErrorsNamingTheFile) {
    textures.add(1, wordBytes(numberedWords(64 * 64)));
    textures.data().resize(5000);  // entry 1 is cut short
    textures.setRecord(2, IndexRecord{-7, 8192, 0});
    textures.setRecord(3, IndexRecord{0x7FFF0000, 32768, 0});
    auto expectError = [&](std::uint16_t id, const char* file) {
        TileImage image = marker();
        try {
            loadTile(id, image);
            ADD_FAILURE() << "no error for id " << id;
        } catch (const IoError& e) {
            EXPECT_EQ(std::filesystem::path(e.path()).filename(), file) << id;
        }
        EXPECT_EQ(image.pixels, marker().pixels) << id;
    };
    expectError(1, "texmaps.mul");
    expectError(2, "texidx.mul");
    expectError(3, "texmaps.mul");
    expectError(16, "texidx.mul");
}

} // namespace
} // namespace stonereach
