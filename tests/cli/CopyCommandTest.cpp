#include <algorithm>

#include <gtest/gtest.h>

#include "cli/RunCli.h"
#include "mapdata/MapLayout.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

class CopyCommand : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string tokuno = (dir / "map4.mul").string();
    std::string malas = (dir / "map3.mul").string();

    void SetUp() override {
        test::writePatternFile(tokuno, 6421156);
        test::writeBytes(malas, std::vector<std::uint8_t>(16056320, 0));
    }
};

TEST_F(CopyCommand, CopiesTheRectangleAtTheDestinationsOwnAddresses) {
    const auto run = test::runCli({"copy", tokuno, "8", "16", "9", "17", malas, "2559", "$7FE"});
    ASSERT_EQ(run.status, 1) << "the last column would land beyond Malas' 2559";
    EXPECT_EQ(run.err, "stonereach-cli: You entered wrong coordinates!\n");

    const auto ok = test::runCli({"copy", "--quiet", tokuno, "8", "16", "9", "17", malas, "2558", "$7FE"});
    ASSERT_EQ(ok.status, 0) << ok.err;
    const auto source = test::readBytes(tokuno);
    const auto destination = test::readBytes(malas);
    // Each of the four cells whole, at its own address in each file.
    for (int dx = 0; dx <= 1; ++dx)
        for (int dy = 0; dy <= 1; ++dy) {
            const auto s = cellOffset(8 + dx, 16 + dy, 181);
            const auto d = cellOffset(2558 + dx, 2046 + dy, 256);
            EXPECT_TRUE(std::equal(&source[s], &source[s] + MapLayout::CellSize, &destination[d]))
                << "cell " << dx << "," << dy;
        }
    // Nothing outside the four target cells changed.
    std::size_t changed = 0;
    for (int x = 2558; x <= 2559; ++x)
        for (int y = 2046; y <= 2047; ++y)
            for (std::uint64_t i = 0; i < 3; ++i)
                changed += destination[cellOffset(x, y, 256) + i] != 0;
    EXPECT_EQ(static_cast<std::size_t>(std::count_if(destination.begin(), destination.end(),
                                                     [](std::uint8_t b) { return b != 0; })),
              changed);
}

TEST_F(CopyCommand, RefusalsAndBadNumbersExitWithOne) {
    EXPECT_EQ(test::runCli({"copy", tokuno, "0", "0", "0", "0", malas, "0", "0"}).err,
              "stonereach-cli: Coordinates X1,Y1,X2,Y2 cannot be 0!\n");
    const auto renamed = dir / "tokuno.mul";
    std::filesystem::copy_file(tokuno, renamed);
    EXPECT_EQ(test::runCli({"copy", renamed.string(), "0", "0", "0", "0", malas, "0", "0"}).err,
              "stonereach-cli: Unknown map!\n");
    const auto bad = test::runCli({"copy", tokuno, "1x", "0", "1", "1", malas, "0", "0"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("'1x' is not a valid integer value"), std::string::npos);
    EXPECT_EQ(test::runCli({"copy", tokuno, "1", "1"}).status, 2);
}

} // namespace
} // namespace stonereach
