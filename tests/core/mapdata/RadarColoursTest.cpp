#include <gtest/gtest.h>

#include "ClientFileBuilder.h"
#include "mapdata/Errors.h"
#include "mapdata/RadarColours.h"

namespace stonereach {
namespace {

class RadarFile : public ::testing::Test {
protected:
    test::TempDir dir;
    std::filesystem::path path = dir / "radarcol.mul";
    RadarColours table;
};

TEST_F(RadarFile, ClassicVariantsReadTheFirst16383Colours) {
    test::writeBytes(path, test::wordBytes(test::numberedWords(32768)));
    table.load(path, "Tokuno");
    EXPECT_EQ(table.colour(0), 1);
    EXPECT_EQ(table.colour(16382), 16383);
    EXPECT_EQ(table.colour(16383), 0);
    EXPECT_EQ(table.colour(32767), 0);
}

TEST_F(RadarFile, StygianAbyssReadsAllColoursAndLaterLoadsKeepTheRest) {
    test::writeBytes(path, test::wordBytes(test::numberedWords(32768)));
    table.load(path, "Stygian Abyss");
    EXPECT_EQ(table.colour(32767), 32768 & 0xFFFF);
    EXPECT_EQ(table.colour(16383), 16384);

    test::writeBytes(path, test::wordBytes(std::vector<std::uint16_t>(16383, 0x7C00)));
    table.load(path, "Felucca+Trammel");
    EXPECT_EQ(table.rgb(16382), (Rgb8{248, 0, 0}));
    EXPECT_EQ(table.colour(16383), 16384);  // not read again, kept
    // Ids past the table have no colour; they do not wrap onto other entries.
    EXPECT_EQ(table.colour(32768 + 5), 0);
}

TEST_F(RadarFile, AShortFileKeepsWhatWasReadAndRaisesAnError) {
    test::writeBytes(path, test::wordBytes(std::vector<std::uint16_t>(100, 0x001F)));
    try {
        table.load(path, "Malas");
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), path.string());
    }
    EXPECT_EQ(table.colour(99), 0x001F);
    EXPECT_EQ(table.colour(100), 0);
}

TEST_F(RadarFile, AMissingFileRaisesAnErrorNamingIt) {
    try {
        table.load(path, "Malas");
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), path.string());
    }
}

} // namespace
} // namespace stonereach
