#include "maptools/MapCopy.h"

#include <gtest/gtest.h>

#include "mapdata/Errors.h"
#include "mapdata/MapLayout.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

constexpr std::uint64_t TokunoSize = 6421156;  // map4.mul, block height 181
constexpr std::uint64_t MalasSize = 16056320;  // map3.mul, block height 256

std::vector<std::uint8_t> patternMap(std::uint64_t size, int seed) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 7 + static_cast<std::size_t>(seed)) % 251);
    return bytes;
}

// The copy as the plain single-cell loop: read 3 bytes, write 3 bytes,
// columns left to right, each column top to bottom.
void copyCellByCell(const std::vector<std::uint8_t>& source, int hs, std::vector<std::uint8_t>& destination, int hd,
                    const MapCopyRequest& r, bool sameFile) {
    for (int x = r.x1; x <= r.x2; ++x)
        for (int y = r.y1; y <= r.y2; ++y) {
            const auto& from = sameFile ? destination : source;
            const std::uint64_t s = cellOffset(x, y, hs);
            const std::uint64_t d = cellOffset(x - r.x1 + r.dx, y - r.y1 + r.dy, hd);
            const std::uint8_t cell[3] = {from[s], from[s + 1], from[s + 2]};
            std::copy_n(cell, 3, destination.begin() + static_cast<std::ptrdiff_t>(d));
        }
}

TEST(MapCopyTable, KnowsTheDialogsOwnTexts) {
    EXPECT_EQ(recogniseForMapCopy("MAP1.mul", 89915392).mapName, "Mondains Legacy");
    EXPECT_EQ(recogniseForMapCopy("map0.mul", 77108927).mapName, "Felucca+Trammel (unknown version)");
    const MapCopySide tokuno = recogniseForMapCopy("map4.mul", TokunoSize);
    EXPECT_EQ(tokuno.sizeText, "1448x1448");
    EXPECT_EQ(tokuno.maxX, 1447);
    const MapCopySide renamed = recogniseForMapCopy("tokuno.mul", TokunoSize);
    EXPECT_EQ(renamed.mapName, "Unknown");
    EXPECT_EQ(renamed.sizeText, "Unknown");
    EXPECT_EQ(renamed.maxX, 0);
    EXPECT_FALSE(recogniseForMapCopy("map4.mul", TokunoSize + 1).recognised());
    EXPECT_EQ(mapCopyBlockHeightOf("Tokuno"), 181);
    EXPECT_EQ(mapCopyBlockHeightOf("Felucca+Trammel (unknown version)"), 512);
    EXPECT_EQ(mapCopyBlockHeightOf("Unknown"), std::nullopt);
}

TEST(MapCopyChecks, DestinationMustHoldTheLastColumn) {
    EXPECT_TRUE(mapCopyDestinationValid(1437, 0, 10, 1447));   // last column lands on max
    EXPECT_FALSE(mapCopyDestinationValid(1438, 0, 10, 1447));  // one further
    EXPECT_FALSE(mapCopyDestinationValid(-1, 5, 3, 1447));     // negative, whatever the width
    EXPECT_TRUE(mapCopyDestinationValid(1447, 10, 3, 1447));   // X2 < X1 lands nowhere
    EXPECT_FALSE(mapCopySourceValid(1448, 1447));
}

class MapCopyFiles : public ::testing::Test {
protected:
    test::TempDir dir;
    std::filesystem::path tokuno = dir / "map4.mul";
    std::filesystem::path malas = dir / "map3.mul";
    std::vector<std::uint8_t> tokunoBytes = patternMap(TokunoSize, 1);
    std::vector<std::uint8_t> malasBytes = patternMap(MalasSize, 2);

    void SetUp() override {
        test::writeBytes(tokuno, tokunoBytes);
        test::writeBytes(malas, malasBytes);
    }

    std::string refusal(const MapCopyRequest& r) {
        try {
            copyMapRectangle(r, {});
        } catch (const Refusal& e) {
            return e.what();
        }
        return "(copied)";
    }
};

TEST_F(MapCopyFiles, RefusesInTheSpecifiedOrderBeforeOpeningAnything) {
    const auto unknown = dir / "other.mul";
    test::writeBytes(unknown, {1, 2, 3});
    // Bad coordinates win over an unknown map.
    EXPECT_EQ(refusal({unknown, malas, 0, 0, 5, 0, 0, 0}), "You entered wrong coordinates!");
    EXPECT_EQ(refusal({unknown, malas, 0, 0, 0, 0, 0, 0}), "Unknown map!");
    EXPECT_EQ(refusal({tokuno, dir / "missing.mul", 0, 0, 0, 0, 0, 0}), "Unknown map!");
    EXPECT_EQ(refusal({tokuno, malas, 0, 0, 0, 0, 0, 0}), "Coordinates X1,Y1,X2,Y2 cannot be 0!");
    EXPECT_EQ(refusal({tokuno, malas, 0, 0, 10, 10, 2550, 0}), "You entered wrong coordinates!");
    EXPECT_EQ(refusal({tokuno, malas, 0, 0, 10, 10, 0, 2040}), "You entered wrong coordinates!");
    EXPECT_EQ(refusal({tokuno, malas, 0, 0, 10, 10, -1, 0}), "You entered wrong coordinates!");
    EXPECT_EQ(refusal({tokuno, malas, 0, 1448, 10, 10, 0, 0}), "You entered wrong coordinates!");
    EXPECT_EQ(test::readBytes(malas), malasBytes);
}

TEST_F(MapCopyFiles, EachFileUsesItsOwnBlockHeightAndHeadersStay) {
    // A rectangle crossing block borders in both files, landing on the last
    // column and row of the destination.
    const MapCopyRequest r{tokuno, malas, 1400, 1000, 1447, 1447, 2559 - 47, 2047 - 447};
    std::vector<std::int64_t> positions;
    const auto result = copyMapRectangle(r, [&](const ProgressReport& p) { positions.push_back(p.position); });
    EXPECT_EQ(result.cellsCopied, 48u * 448u);
    auto expected = malasBytes;
    copyCellByCell(tokunoBytes, 181, expected, 256, r, false);
    EXPECT_TRUE(test::readBytes(malas) == expected);
    EXPECT_TRUE(test::readBytes(tokuno) == tokunoBytes);
    EXPECT_EQ(positions.back(), 100);
}

TEST_F(MapCopyFiles, OverlappingCopyInsideOneFileMatchesTheSingleCellOrder) {
    const int offsets[][2] = {{0, 1},  {0, -1}, {1, 0},  {-1, 0}, {3, 5},   {-2, 3},
                              {9, -4}, {0, 0},  {8, 8},  {-7, -9}, {-8, 16}, {16, 0}, {0, 8}};
    auto expected = tokunoBytes;
    for (const auto& o : offsets) {
        const MapCopyRequest r{tokuno, dir / "./map4.mul", 20, 30, 45, 70, 20 + o[0], 30 + o[1]};
        copyMapRectangle(r, {});
        copyCellByCell(expected, 181, expected, 181, r, true);
        ASSERT_TRUE(test::readBytes(tokuno) == expected) << o[0] << ", " << o[1];
    }
}

// Rectangles moved by whole blocks go block by block; the cells, the headers
// and everything outside the rectangle must come out as the single-cell copy
// leaves them, with whole columns several at a time between maps of one size.
TEST_F(MapCopyFiles, WholeBlockMovesGiveTheSingleCellResult) {
    std::filesystem::create_directory(dir / "other");
    const auto otherMalas = dir / "other" / "map3.mul";
    const auto otherBytes = patternMap(MalasSize, 3);
    test::writeBytes(otherMalas, otherBytes);
    struct Case {
        std::filesystem::path source;
        const std::vector<std::uint8_t>* sourceBytes;
        int hs;
        MapCopyRequest request;
    };
    const Case cases[] = {
        {tokuno, &tokunoBytes, 181, {tokuno, malas, 5, 13, 300, 1001, 21, 37}},         // ragged edges
        {tokuno, &tokunoBytes, 181, {tokuno, malas, 8, 0, 15, 1447, 2048, 8}},          // one whole column
        {otherMalas, &otherBytes, 256, {otherMalas, malas, 0, 0, 2559, 2047, 0, 0}},    // the whole map
        {otherMalas, &otherBytes, 256, {otherMalas, malas, 40, 0, 2519, 2047, 0, 0}},   // whole columns, moved
        {otherMalas, &otherBytes, 256, {otherMalas, malas, 0, 3, 2559, 2046, 0, 3}},    // all but two rows
    };
    for (const Case& c : cases) {
        test::writeBytes(malas, malasBytes);
        std::vector<std::int64_t> positions;
        const auto result =
            copyMapRectangle(c.request, [&](const ProgressReport& p) { positions.push_back(p.position); });
        const MapCopyRequest& r = c.request;
        auto expected = malasBytes;
        copyCellByCell(*c.sourceBytes, c.hs, expected, 256, r, false);
        EXPECT_TRUE(test::readBytes(malas) == expected) << r.x1 << "," << r.y1 << " to " << r.dx << "," << r.dy;
        EXPECT_EQ(result.cellsCopied, static_cast<std::uint64_t>((r.x2 - r.x1 + 1) * (r.y2 - r.y1 + 1)));
        // Progress after each cell column, as the single-cell copy reports it.
        ASSERT_EQ(positions.size(), static_cast<std::size_t>(r.x2 - r.x1 + 2));
        for (int x = r.x1; x <= r.x2; ++x)
            EXPECT_EQ(positions[static_cast<std::size_t>(x - r.x1 + 1)], static_cast<std::int64_t>(x) * 100 / r.x2);
    }
    EXPECT_TRUE(test::readBytes(otherMalas) == otherBytes);
}

TEST_F(MapCopyFiles, ReversedRectangleCopiesNothing) {
    const auto result = copyMapRectangle({tokuno, malas, 10, 10, 5, 20, 0, 0}, {});
    EXPECT_EQ(result.cellsCopied, 0u);
    EXPECT_EQ(test::readBytes(malas), malasBytes);
}

TEST_F(MapCopyFiles, ColumnZeroAloneEndsAtOneHundred) {
    std::vector<std::int64_t> positions;
    const MapCopyRequest r{tokuno, malas, 0, 0, 0, 9, 3, 3};
    copyMapRectangle(r, [&](const ProgressReport& p) { positions.push_back(p.position); });
    EXPECT_EQ(positions.back(), 100);
    auto expected = malasBytes;
    copyCellByCell(tokunoBytes, 181, expected, 256, r, false);
    EXPECT_TRUE(test::readBytes(malas) == expected);
}

TEST_F(MapCopyFiles, ShortenedFileIsUnknownAndNotWritten) {
    tokunoBytes.resize(tokunoBytes.size() - 196);
    test::writeBytes(tokuno, tokunoBytes);
    EXPECT_EQ(refusal({tokuno, malas, 0, 0, 0, 0, 0, 0}), "Unknown map!");
}

} // namespace
} // namespace stonereach
