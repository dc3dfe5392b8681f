#include <cctype>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "mapdata/Errors.h"
#include "mapdata/MapIdentity.h"
#include "mapdata/MapLayout.h"
#include "mapdata/MapVariant.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

struct VariantRow {
    const char* file;
    std::uint64_t size;
    const char* name;
    const char* sizeText;
    int width;
    int height;
    int blockHeight;
};

void PrintTo(const VariantRow& row, std::ostream* os) { *os << row.file << ' ' << row.size << " (" << row.name << ')'; }

class EveryVariant : public ::testing::TestWithParam<VariantRow> {};

TEST_P(EveryVariant, IsDetectedByNameAndExactSizeOnly) {
    const auto& row = GetParam();
    const auto* v = detectMapVariant(row.file, row.size);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->name, row.name);
    EXPECT_EQ(v->sizeText, row.sizeText);
    EXPECT_EQ(v->width, row.width);
    EXPECT_EQ(v->height, row.height);
    EXPECT_EQ(v->blockHeight, row.blockHeight);
    EXPECT_EQ(v->blocksAcross, row.width / 8);

    std::string upper = row.file;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(detectMapVariant(upper, row.size), v) << "the name test ignores case";
    EXPECT_EQ(detectMapVariant(row.file, row.size - 1), nullptr);
    EXPECT_EQ(detectMapVariant(row.file, row.size + 1), nullptr);
    EXPECT_EQ(detectMapVariant(row.file, row.size + (std::uint64_t{1} << 32)), nullptr);

    EXPECT_EQ(blockHeightOf(row.name), row.blockHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EveryVariant,
    ::testing::Values(VariantRow{"map0.mul", 89915392, "Mondains Legacy", "7168x4096", 7168, 4096, 512},
                      VariantRow{"map0.mul", 77070336, "Felucca+Trammel", "6144x4096", 6144, 4096, 512},
                      VariantRow{"map0.mul", 77108927, "Felucca+Trammel (unknown version)", "6144x4096", 6144,
                                 4096, 512},
                      VariantRow{"map1.mul", 89915392, "Mondains Legacy (Patch 6.x.x.x)", "7168x4096", 7168, 4096,
                                 512},
                      VariantRow{"map2.mul", 11289600, "Ilshenar", "2304x1600", 2304, 1600, 200},
                      VariantRow{"map3.mul", 16056320, "Malas", "2560x2048", 2560, 2048, 256},
                      VariantRow{"map4.mul", 6421156, "Tokuno", "1448x1448", 1448, 1448, 181},
                      VariantRow{"map5.mul", 16056320, "Stygian Abyss", "1280x4096", 1280, 4096, 512}),
    [](const ::testing::TestParamInfo<VariantRow>& param) {
        // The variant's name with letters and digits only.
        std::string name;
        for (const char c : std::string(param.param.name))
            if (std::isalnum(static_cast<unsigned char>(c)))
                name += c;
        return name;
    });

TEST(MapVariantDetection, NeedsTheRowsOwnName) {
    EXPECT_EQ(detectMapVariant("map1.mul", 77070336), nullptr);
    EXPECT_EQ(detectMapVariant("map6.mul", 77070336), nullptr);
    EXPECT_EQ(detectMapVariant("mymap0.mul", 77070336), nullptr);
    EXPECT_EQ(detectMapVariant("map3.mul", 16056320)->blockHeight, 256);
    EXPECT_EQ(detectMapVariant("map5.mul", 16056320)->blockHeight, 512);
}

TEST(MapVariantDetection, OnlySixFileNamesAreMapFiles) {
    for (const char* good : {"map0.mul", "MAP5.MUL", "Map3.Mul"})
        EXPECT_TRUE(isMapFileName(good)) << good;
    for (const char* bad : {"map6.mul", "mymap0.mul", "map0.mul.bak", "map0", "map.mul", ""})
        EXPECT_FALSE(isMapFileName(bad)) << bad;
}

TEST(MapVariantLookups, HaveNoResultForTextsOutsideTheTable) {
    for (const char* text : {"None", "Unknown", "Map version", "MapSize", ""})
        EXPECT_FALSE(blockHeightOf(text));
}

TEST(CellOffset, MatchesTheWorkedValues) {
    EXPECT_EQ(cellOffset(0, 0, 512), 4u);
    EXPECT_EQ(cellOffset(7, 9, 512), 245u);
    EXPECT_EQ(cellOffset(8, 0, 512), 100356u);
    EXPECT_EQ(cellOffset(6143, 4095, 512), 77070333u);
    EXPECT_EQ(cellOffset(1447, 1447, 181), 6421153u);
    EXPECT_EQ(cellOffset(2303, 1599, 200), 11289597u);
    EXPECT_EQ(blockOffset(1, 0, 512), 512u * 196u);
}

TEST(MapIdentity, RecognisesAFileOnDiskByNameAndSize) {
    test::TempDir dir;
    const auto tokuno = dir / "MAP4.MUL";
    {
        std::ofstream out(tokuno, std::ios::binary);
        out.seekp(6421156 - 1);
        out.put('\0');
    }
    ASSERT_NE(identifyMapFile(tokuno), nullptr);
    EXPECT_EQ(identifyMapFile(tokuno)->name, "Tokuno");

    const auto wrong = dir / "map4.mul";
    test::writeBytes(wrong, std::vector<std::uint8_t>(196));
    EXPECT_EQ(identifyMapFile(wrong), nullptr);
    EXPECT_THROW(requireKnownMap(wrong), RangeError);
    EXPECT_THROW(requireKnownMap(dir / "map0.mul"), IoError);
    EXPECT_EQ(identifyMapFile(dir.path()), nullptr) << "a directory is no map";
}

} // namespace
} // namespace stonereach
