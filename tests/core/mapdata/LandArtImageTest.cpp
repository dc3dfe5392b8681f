#include <gtest/gtest.h>

#include <set>

#include "ClientFileBuilder.h"
#include "mapdata/Errors.h"
#include "mapdata/LandArtImage.h"

namespace stonereach {
namespace {

using test::numberedWords;
using test::wordBytes;

// Diamond pixels numbered 1..1012 in file order, so every position of the
// square tells which pixel landed there.
const std::vector<std::uint16_t> numbered = numberedWords(LandArtLayout::DiamondPixels);

TEST(LandArtDecoding, PlacesTheDiamondCornersOnTheSquareCorners) {
    const TileImage image = decodeLandArt(wordBytes(numbered));
    ASSERT_EQ(image.width, 45);
    ASSERT_EQ(image.height, 45);
    EXPECT_EQ(image.at(0, 0), 0);
    EXPECT_EQ(image.at(0, 1), 1);     // first pixel of the top row
    EXPECT_EQ(image.at(1, 0), 2);     // second pixel of the top row
    EXPECT_EQ(image.at(43, 44), 1011);  // bottom row, left pixel
    EXPECT_EQ(image.at(44, 43), 1012);  // bottom row, right pixel
    EXPECT_EQ(image.at(0, 43), 463);    // left corner: first pixel of row 21 (2 + 4 + ... + 42 = 462 before it)
    EXPECT_EQ(image.at(43, 0), 506);    // right corner: last pixel of row 21
}

TEST(LandArtDecoding, EveryOddPositionHoldsOneDiamondPixelAndEvenOnesCopyANeighbour) {
    const TileImage image = decodeLandArt(wordBytes(numbered));
    std::set<std::uint16_t> seen;
    for (int y = 0; y < 45; ++y) {
        for (int x = 0; x < 45; ++x) {
            const std::uint16_t value = image.at(x, y);
            if ((x + y) % 2 == 1) {
                EXPECT_NE(value, 0) << x << "," << y;
                EXPECT_TRUE(seen.insert(value).second) << "pixel " << value << " appears twice";
            } else if (y > 0) {
                EXPECT_EQ(value, image.at(x, y - 1)) << x << "," << y;
            } else if (x > 0) {
                EXPECT_EQ(value, image.at(x - 1, y)) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(seen.size(), 1012u);
}

// An art index of 32 ids and its data in a temporary directory.
class LandArtFiles : public ::testing::Test {
protected:
    test::TempDir dir;
    test::IndexedFileBuilder builder{32};

    bool load(std::uint16_t id, TileImage& image) {
        builder.write(dir / "artidx.mul", dir / "art.mul");
        const File index(dir / "artidx.mul", File::Mode::Read);
        const File data(dir / "art.mul", File::Mode::Read);
        return loadLandArtImage(index, data, id, image);
    }

    static TileImage marker() { return TileImage(3, 3, 0x1234); }
};

TEST_F(LandArtFiles, ReadsClassicEntriesOf2048AndExactEntriesOf2024Bytes) {
    auto classic = wordBytes(numbered);
    classic.resize(2048, 0xEE);  // the 24 bytes after the pixels are never used
    builder.add(2, classic, 2048);
    builder.add(3, wordBytes(numberedWords(1012, 2000)), 2024);

    TileImage image;
    ASSERT_TRUE(load(2, image));
    EXPECT_EQ(image.at(0, 1), 1);
    EXPECT_EQ(image.at(44, 43), 1012);
    ASSERT_TRUE(load(3, image));
    EXPECT_EQ(image.at(0, 1), 2000);
    EXPECT_EQ(image.at(44, 43), 3011);
}

TEST_F(LandArtFiles, EntriesWithoutArtLeaveTheImageUnchanged) {
    builder.add(1, wordBytes(numbered), 2048);
    builder.setRecord(1, IndexRecord{-1, 2048, 0});
    builder.add(2, {}, 0);
    builder.add(3, wordBytes(numbered), 2000);
    for (std::uint16_t id : std::initializer_list<std::uint16_t>{1, 2, 3, 4}) {
        TileImage image = marker();
        EXPECT_FALSE(load(id, image)) << id;
        EXPECT_EQ(image.pixels, marker().pixels) << id;
    }
}

TEST_F(LandArtFiles, Tiles7And8SucceedWithoutReadingAnything) {
    // No files at all: the answer comes before any read.
    const File none;
    for (std::uint16_t id : std::initializer_list<std::uint16_t>{7, 8}) {
        TileImage image = marker();
        EXPECT_TRUE(loadLandArtImage(none, none, id, image));
        EXPECT_EQ(image.pixels, marker().pixels);
    }
}

TEST_F(LandArtFiles, CorruptIndexesRaiseErrorsNamingTheFile) {
    builder.add(0, wordBytes(numbered), 2048);
    builder.data().resize(2030);  // entry 0 is cut short
    builder.setRecord(1, IndexRecord{-5, 2048, 0});
    builder.setRecord(2, IndexRecord{0x7FFFFFFF, 2024, 0});
    builder.setRecord(3, IndexRecord{std::int32_t{-2147483647 - 1}, 2024, 0});

    auto expectError = [&](std::uint16_t id, const char* file) {
        TileImage image = marker();
        try {
            load(id, image);
            ADD_FAILURE() << "no error for id " << id;
        } catch (const IoError& e) {
            EXPECT_EQ(std::filesystem::path(e.path()).filename(), file) << id;
        }
        EXPECT_EQ(image.pixels, marker().pixels) << id;
    };
    expectError(0, "art.mul");      // truncated data
    expectError(1, "artidx.mul");   // negative offset
    expectError(2, "art.mul");      // offset past the end
    expectError(3, "artidx.mul");
    expectError(40, "artidx.mul");  // id beyond the index
}

} // namespace
} // namespace stonereach
