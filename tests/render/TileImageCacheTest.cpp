#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QColor>

#include "render/FakeDrawSource.h"
#include "render/TileImageCache.h"

namespace stonereach {
namespace {

// The picture of one tile as a palette row asks for it: an unreadable tile is
// black and told, not thrown, and read again only once the files change.
TEST(TileImageCache, PictureOfOneTileIsTextureElseArtElseBlackAndAnUnreadableOneIsToldNotThrown) {
    test::FakeDrawSource source;
    source.textures[1] = TileImage(64, 64, 0x7FFF);
    source.art[1] = TileImage(45, 45, 0x03E0);
    source.art[2] = TileImage(45, 45, 0x001F);
    source.unreadable = {9};
    TileImageCache cache;
    const QSize size(44, 30);

    const QImage texture = cache.picture(source, 1, size);
    ASSERT_EQ(texture.size(), size);
    EXPECT_EQ(texture.pixelColor(43, 29), QColor(248, 248, 248));
    EXPECT_EQ(cache.picture(source, 2, size).pixelColor(0, 0), QColor(0, 0, 248));
    EXPECT_EQ(cache.picture(source, 3, size).pixelColor(10, 10), QColor(0, 0, 0)) << "no picture at all";
    EXPECT_EQ(cache.picture(source, 7, size).pixelColor(10, 10), QColor(255, 255, 255)) << "placeholder";
    EXPECT_FALSE(cache.takeFailure().has_value());

    EXPECT_EQ(cache.picture(source, 9, size).pixelColor(10, 10), QColor(0, 0, 0));
    const auto failure = cache.takeFailure();
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->id, 9);
    EXPECT_THAT(failure->message, ::testing::HasSubstr("tile 00 09 (9)"));
    EXPECT_THAT(failure->message, ::testing::HasSubstr("Cannot read 12 bytes at offset 108"));
    EXPECT_THAT(failure->message, ::testing::HasSubstr("texidx.mul"));

    source.unreadable.clear();
    source.textures[9] = TileImage(64, 64, 0x001F);
    EXPECT_EQ(cache.picture(source, 9, QSize(10, 10)).pixelColor(3, 3), QColor(0, 0, 0))
        << "not read again at another size";
    ++source.generation; // the client files were reopened
    EXPECT_EQ(cache.picture(source, 9, QSize(10, 10)).pixelColor(3, 3), QColor(0, 0, 248));
    EXPECT_EQ(texture.pixelColor(43, 29), QColor(248, 248, 248)) << "an image handed out stays valid";
}

} // namespace
} // namespace stonereach
