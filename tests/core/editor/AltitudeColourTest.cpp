#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "editor/AltitudeColour.h"
#include "editor/Bookmarks.h"

namespace stonereach {
namespace {

struct ColourCase {
    int z;
    Rgb8 colour;
};

void PrintTo(const ColourCase& c, std::ostream* os) {
    *os << "z " << c.z << " -> (" << int(c.colour.r) << ", " << int(c.colour.g) << ", " << int(c.colour.b) << ")";
}

class AltitudeColourBands : public ::testing::TestWithParam<ColourCase> {};

TEST_P(AltitudeColourBands, GivesTheBandColour) {
    const Rgb8 c = altitudeColour(GetParam().z);
    EXPECT_EQ(c, GetParam().colour) << "z=" << GetParam().z << " gave (" << int(c.r) << ", " << int(c.g) << ", "
                                    << int(c.b) << ")";
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValuesAndBandEdges, AltitudeColourBands,
    ::testing::Values(
        // the worked values
        ColourCase{0, {0, 127, 0}}, ColourCase{-100, {27, 27, 27}}, ColourCase{-99, {0, 56, 0}},
        ColourCase{-49, {0, 39, 39}}, ColourCase{-48, {128, 167, 39}}, ColourCase{51, {178, 178, 178}},
        ColourCase{127, {254, 0, 254}},
        // both ends of every band
        ColourCase{-127, {0, 0, 0}}, ColourCase{-50, {0, 154, 0}}, ColourCase{-1, {0, 63, 63}},
        ColourCase{-2, {128, 190, 62}}, ColourCase{50, {0, 177, 0}}, ColourCase{100, {227, 227, 227}},
        ColourCase{101, {228, 0, 228}},
        // below every band: the dark end of the lowest ramp
        ColourCase{-128, {0, 0, 0}}),
    [](const ::testing::TestParamInfo<ColourCase>& param) {
        const int z = param.param.z;
        return (z < 0 ? "minus" : "z") + std::to_string(z < 0 ? -z : z);
    });

TEST(Bookmarks, HighestEnabledSlotOnACellWins) {
    BookmarkTable table{};
    EXPECT_EQ(topBookmarkAt(table, 0, 0), -1) << "disabled slots at (0, 0) show nothing";
    table[2] = {5, 6, true};
    table[7] = {5, 6, true};
    table[9] = {5, 6, false};
    EXPECT_EQ(topBookmarkAt(table, 5, 6), 7);
    EXPECT_EQ(topBookmarkAt(table, 6, 5), -1);
}

} // namespace
} // namespace stonereach
