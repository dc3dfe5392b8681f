// The tile palette as the user sees it: pictures, the NODRAW cross, the id
// labels, the search frame, and a tile whose picture cannot be read.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "gui/widgets/TilePalette.h"
#include "render/FakeDrawSource.h"
#include "support/GuiApp.h"

namespace stonereach {
namespace {

class TilePaletteTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::guiApp();
        source.textures[3] = TileImage(64, 64, 0x001F); // blue: 0, 0, 248
        source.textures[4] = TileImage(64, 64, 0x7FFF); // white: 248, 248, 248
        source.unreadable.insert(5);
        palette.setTiles({3, TilePalette::NoDraw, 5, 4});
        palette.resize(80, 4 * 44 + 10);
        palette.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&palette));
    }

    QImage shown() {
        QCoreApplication::processEvents();
        return palette.viewport()->grab().toImage();
    }

    test::FakeDrawSource source;
    TilePalette palette{source, Qt::Vertical, QSize(44, 44)};
};

TEST_F(TilePaletteTest, DrawsPicturesTheNoDrawCrossAndAnUnreadableTileAsBlackTellingItOnce) {
    QSignalSpy failures(&palette, &DrawGrid::drawFailed);
    const QImage image = shown();
    EXPECT_EQ(image.pixelColor(30, 30), QColor(0, 0, 248)) << "5-5-5 colours shifted left by 3";
    const QRect nodraw = palette.cellRect(0, 1);
    EXPECT_EQ(image.pixelColor(nodraw.left() + 20, nodraw.top() + 2), QColor(255, 255, 255));
    EXPECT_EQ(image.pixelColor(nodraw.center()), QColor(255, 0, 0)) << "the cross meets in the middle";
    EXPECT_EQ(image.pixelColor(palette.cellRect(0, 2).center()), QColor(0, 0, 0));
    EXPECT_EQ(image.pixelColor(palette.cellRect(0, 3).center()), QColor(248, 248, 248)) << "the next row still draws";
    // Told after the paint, by a call the paint posted.
    ASSERT_TRUE(failures.count() == 1 || failures.wait(5000));
    EXPECT_EQ(failures.count(), 1);
    EXPECT_TRUE(failures.at(0).at(0).toString().contains("texidx.mul"));
    palette.viewport()->repaint();
    QCoreApplication::sendPostedEvents(&palette);
    EXPECT_EQ(failures.count(), 1) << "told once";
}

TEST_F(TilePaletteTest, TheSearchFramesARowWithoutChoosingItAndIdsShowOnWhite) {
    palette.setShowIds(true);
    QSignalSpy clicks(&palette, &TilePalette::entryClicked);
    palette.showFound(3);
    const QImage image = shown();
    const QRect found = palette.cellRect(0, 3);
    EXPECT_EQ(image.pixelColor(found.right(), found.center().y()), QColor(255, 0, 0));
    EXPECT_EQ(palette.currentIndex(), 0);
    EXPECT_EQ(clicks.count(), 0);
    const QRect first = palette.cellRect(0, 0);
    EXPECT_EQ(image.pixelColor(first.left() + 2, first.top() + 2), QColor(255, 255, 255)) << "the id label";
    QTest::mouseClick(palette.viewport(), Qt::LeftButton, {}, palette.cellRect(0, 1).center());
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 1);
}

} // namespace
} // namespace stonereach
