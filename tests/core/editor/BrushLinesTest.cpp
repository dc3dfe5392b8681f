#include <gtest/gtest.h>

#include <fstream>

#include "editor/BrushLines.h"
#include "mapdata/Errors.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

struct LineCase {
    const char* line;
    std::optional<BrushEntry> entry;
};

class BrushLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(BrushLine, IsReadByItsFieldsOrSkipped) { EXPECT_EQ(parseBrushLine(GetParam().line), GetParam().entry); }

INSTANTIATE_TEST_SUITE_P(
    Lines, BrushLine,
    ::testing::Values(LineCase{"2,0,$0003", BrushEntry{2, 0, 3}}, LineCase{"0,1,3", BrushEntry{0, 1, 3}},
                      LineCase{"1,2,$3 \t ", BrushEntry{1, 2, 3}},           // trailing blanks after the tile id
                      LineCase{"1,2,9,$00FF", BrushEntry{1, 9, 255}},        // the last middle field is the row
                      LineCase{"-1,-2,-3", BrushEntry{-1, -2, -3}},          // kept: stamping skips or refuses
                      LineCase{"0,0,70000", BrushEntry{0, 0, 70000}},
                      LineCase{"$A,$b,$FFFF", BrushEntry{10, 11, 65535}},
                      LineCase{"1,$3", std::nullopt},                        // two fields
                      LineCase{"1,2,x", std::nullopt}, LineCase{"1,y,3", std::nullopt},
                      LineCase{"1,2,z,4", std::nullopt},                      // every middle field must convert
                      LineCase{" 1,2,3", std::nullopt}, LineCase{"1 ,2,3", std::nullopt},
                      LineCase{"1,,3", std::nullopt}, LineCase{"1,2,", std::nullopt},
                      LineCase{"", std::nullopt}, LineCase{"NODRAW", std::nullopt},
                      LineCase{"1,2,$10000000000", std::nullopt}));

TEST(BrushFile, SkipsBadLinesWithoutTakingFieldsFromTheLineBefore) {
    test::TempDir dir;
    std::ofstream(dir / "Hill.brs", std::ios::binary) << "0,0,$0003\r\n1,$4\r\nfoo\n2,5,$0006\r7,8,x\r\n\r\n3,3,3";
    EXPECT_EQ(readBrushFile(dir / "Hill.brs"),
              (std::vector<BrushEntry>{{0, 0, 3}, {2, 5, 6}, {3, 3, 3}}));
    std::ofstream(dir / "Empty.brs", std::ios::binary);
    EXPECT_TRUE(readBrushFile(dir / "Empty.brs").empty());
    EXPECT_THROW(readBrushFile(dir / "Gone.brs"), IoError);
}

} // namespace
} // namespace stonereach
