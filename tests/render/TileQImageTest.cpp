#include <gtest/gtest.h>

#include <QColor>

#include "render/TileQImage.h"

namespace stonereach {
namespace {

// Each 5-bit component is shifted left by 3, the low bits stay 0 and bit 15
// is ignored: full white is 248, not the 255 of a picture tool's conversion.
TEST(TileQImage, FiveBitComponentsAreShiftedLeftByThree) {
    TileImage image(4, 2, 0);
    image.at(0, 0) = 0x7FFF;
    image.at(1, 0) = 0x001F;
    image.at(2, 0) = 0xFC00; // bit 15 set
    image.at(3, 0) = 0x03E0;
    image.at(0, 1) = (1 << 10) | (2 << 5) | 3;
    const QImage rgb = toQImage(image);
    ASSERT_EQ(rgb.format(), QImage::Format_RGB32);
    EXPECT_EQ(rgb.pixelColor(0, 0), QColor(248, 248, 248));
    EXPECT_EQ(rgb.pixelColor(1, 0), QColor(0, 0, 248));
    EXPECT_EQ(rgb.pixelColor(2, 0), QColor(248, 0, 0));
    EXPECT_EQ(rgb.pixelColor(3, 0), QColor(0, 248, 0));
    EXPECT_EQ(rgb.pixelColor(0, 1), QColor(8, 16, 24));
    EXPECT_EQ(rgb.pixelColor(1, 1), QColor(0, 0, 0));
}

} // namespace
} // namespace stonereach
