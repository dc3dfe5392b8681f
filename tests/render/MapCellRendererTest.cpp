#include <algorithm>
#include <random>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "editor/AltitudeColour.h"
#include "mapdata/Errors.h"
#include "render/FakeDrawSource.h"
#include "render/MapCellRenderer.h"
#include "render/TileQImage.h"

namespace stonereach {
namespace {

QGuiApplication& app() {
    if (auto* existing = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return *existing;
    static int argc = 1;
    static char name[] = "render_tests";
    static char* argv[] = {name, nullptr};
    static auto* instance = new QGuiApplication(argc, argv); // lives to the end of the process
    return *instance;
}

QColor colourOf(Rgb8 c) { return QColor(c.r, c.g, c.b); }

constexpr std::uint16_t RedTexture = 0x7C00;   // (248, 0, 0)
constexpr std::uint16_t GreenArt = 0x03E0;     // (0, 248, 0)

class MapCellRendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        app();
        source.textures[1] = TileImage(64, 64, RedTexture);
        source.art[1] = TileImage(45, 45, GreenArt);
        source.art[2] = TileImage(45, 45, GreenArt);
        layout.colCount = 64;
        layout.rowCount = 64;
        layout.cellWidth = 45;
        layout.cellHeight = 45;
    }

    // The view area of 4 x 3 cells of 45 pixels at (0, 0), drawn whole.
    QImage region(QPoint current = {-1, -1}) {
        QImage image(4 * 45, 3 * 45, QImage::Format_RGB32);
        renderer.drawRegion(image, QPoint(0, 0), layout, current, source, test::FakeDrawSource::Geometry, bookmarks,
                            options);
        return image;
    }

    test::FakeDrawSource source;
    MapCellRenderer renderer;
    GridLayout layout;
    BookmarkTable bookmarks{};
    CellDrawOptions options;
};

TEST_F(MapCellRendererTest, CellShowsTextureElseLandArtElseBlackAndPlaceholdersStayWhite) {
    source.set(0, 0, 1, 0); // texture and art: the texture wins
    source.set(1, 0, 2, 0); // art only
    source.set(2, 0, 3, 0); // nothing
    source.set(3, 0, 7, 0); // placeholder without texture
    const QImage image = region();
    EXPECT_EQ(image.pixelColor(20, 20), QColor(248, 0, 0));
    EXPECT_EQ(image.pixelColor(45 + 20, 20), QColor(0, 248, 0));
    EXPECT_EQ(image.pixelColor(90 + 20, 20), QColor(0, 0, 0));
    EXPECT_EQ(image.pixelColor(135 + 20, 20), QColor(255, 255, 255));
}

TEST_F(MapCellRendererTest, DataFilesNotReadyGiveWhiteCellsWithoutReadingOrAltitudeLabel) {
    source.set(0, 0, 1, 5);
    source.ready = false;
    options.showAltitude = true;
    options.coloredAltitude = true;
    const QImage image = region();
    EXPECT_EQ(image.pixelColor(2, 3), QColor(255, 255, 255)) << "no label where it would start";
    EXPECT_EQ(image.pixelColor(40, 40), QColor(255, 255, 255));
    EXPECT_EQ(source.loads, 0);
}

TEST_F(MapCellRendererTest, CurrentCellOutlineIsRedOrBlueWhileAShapeToolIsDown) {
    source.set(1, 1, 1, 0);
    QImage image = region(QPoint(1, 1));
    EXPECT_EQ(image.pixelColor(45, 45 + 20), QColor(255, 0, 0)) << "left edge";
    EXPECT_EQ(image.pixelColor(89, 45 + 20), QColor(255, 0, 0)) << "right edge";
    EXPECT_EQ(image.pixelColor(45 + 20, 89), QColor(255, 0, 0)) << "bottom edge";
    EXPECT_EQ(image.pixelColor(46, 45 + 20), QColor(248, 0, 0)) << "inside is the picture";
    options.shapeToolDown = true;
    image = region(QPoint(1, 1));
    EXPECT_EQ(image.pixelColor(45 + 20, 45), QColor(0, 0, 255)) << "top edge";
}

TEST_F(MapCellRendererTest, AltitudeLabelSitsAtTheTopLeftOnWhiteOrTheAltitudeColour) {
    source.set(0, 0, 1, -48);
    options.showAltitude = true;
    QImage image = region();
    EXPECT_EQ(image.pixelColor(2, 3), QColor(255, 255, 255)) << "the leading blank of the label";
    EXPECT_EQ(image.pixelColor(0, 0), QColor(248, 0, 0)) << "the label starts one pixel in";
    EXPECT_EQ(image.pixelColor(40, 40), QColor(248, 0, 0)) << "picture below the label";
    options.coloredAltitude = true;
    image = region();
    EXPECT_EQ(image.pixelColor(2, 3), QColor(128, 167, 39));

    options.showAltitude = false; // the colour switches alone change nothing
    options.showNumber = false;
    EXPECT_EQ(region().pixelColor(2, 3), QColor(248, 0, 0));
}

TEST_F(MapCellRendererTest, NumberOffShowsFourBlanksInTheLabelColour) {
    source.set(0, 0, 1, 0);
    options.showAltitude = true;
    options.coloredAltitude = true;
    options.showNumber = false;
    const QImage image = region();
    const QColor colour = colourOf(altitudeColour(0));
    int labelPixels = 0;
    for (int y = 1; y < 45; ++y)
        for (int x = 1; x < 45; ++x)
            if (image.pixelColor(x, y) == colour)
                ++labelPixels;
            else
                ASSERT_EQ(image.pixelColor(x, y), QColor(248, 0, 0)) << x << ", " << y << ": no text is drawn";
    EXPECT_GT(labelPixels, 4 * 4 * 8) << "a patch of four blanks";
}

TEST_F(MapCellRendererTest, ShowOnlyColorFillsTheCellWithTheLabelColourOrLeavesItBlack) {
    source.set(0, 0, 1, 127);
    options.showOnlyColor = true;
    EXPECT_EQ(region().pixelColor(40, 40), QColor(0, 0, 0)) << "altitude off: no picture, background";
    options.showAltitude = true;
    EXPECT_EQ(region().pixelColor(40, 40), QColor(255, 255, 255)) << "white without colored altitude";
    options.coloredAltitude = true;
    const QImage image = region(QPoint(0, 0));
    EXPECT_EQ(image.pixelColor(40, 40), QColor(254, 0, 254));
    EXPECT_EQ(image.pixelColor(44, 44), QColor(254, 0, 254)) << "the fill covers the outline";
}

TEST_F(MapCellRendererTest, AltitudeBelowEveryBandIsBlack) {
    source.set(0, 0, 1, -128);
    options.showAltitude = true;
    options.coloredAltitude = true;
    options.showOnlyColor = true;
    EXPECT_EQ(region().pixelColor(40, 40), QColor(0, 0, 0));
}

TEST_F(MapCellRendererTest, BookmarkLabelIsWhiteOnNavyNearTheBottomAndTheHighestSlotWins) {
    source.set(1, 1, 1, 0);
    bookmarks[3] = {1, 1, true};
    QImage image = region();
    EXPECT_EQ(image.pixelColor(45 + 2, 90 - 14), QColor(0, 0, 128)) << "the leading blank";
    EXPECT_EQ(image.pixelColor(45 + 2, 90 - 16), QColor(248, 0, 0)) << "above the label";
    bool whiteText = false;
    for (int x = 46; x < 80; ++x)
        for (int y = 75; y < 89; ++y)
            whiteText = whiteText || (qRed(image.pixel(x, y)) > 200 && qBlue(image.pixel(x, y)) > 200);
    EXPECT_TRUE(whiteText);

    bookmarks[8] = {1, 1, true};
    const QImage both = region();
    bookmarks[3].enabled = false;
    EXPECT_EQ(both, region()) << "slot 8 covers slot 3";
    EXPECT_NE(both, image);
}

TEST_F(MapCellRendererTest, NoStaleCellAfterAWriteByAnotherHandle) {
    source.set(0, 0, 1, 0);
    EXPECT_EQ(region().pixelColor(20, 20), QColor(248, 0, 0));
    MapFile other(source.dir.path() / "map0.mul", File::Mode::ReadWrite);
    other.writeCell(0, 0, MapCell{2, 0}, test::FakeDrawSource::Geometry);
    EXPECT_EQ(region().pixelColor(20, 20), QColor(0, 248, 0));
}

// A tile id past the end of the texture index (a cell set to 65535): that
// cell is black, every other cell shows its picture, at every zoom.
TEST_F(MapCellRendererTest, UnreadableTileCostsItsOwnCellsOnlyUntilTheFilesChange) {
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            source.set(x, y, (x + y) % 2 ? 1 : 2, 0);
    const std::vector<QPoint> bad{{1, 0}, {2, 2}, {7, 7}};
    for (const QPoint cell : bad)
        source.set(cell.x(), cell.y(), 0xFFFF, 0);
    source.unreadable = {0xFFFF};
    for (const int zoom : {45, 2, 1}) {
        layout.cellWidth = layout.cellHeight = zoom;
        const QImage image = region();
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) {
                const QColor expected = std::count(bad.begin(), bad.end(), QPoint(x, y)) ? QColor(0, 0, 0)
                                        : (x + y) % 2                                    ? QColor(248, 0, 0)
                                                                                         : QColor(0, 248, 0);
                EXPECT_EQ(image.pixelColor(x * zoom + zoom / 2, y * zoom + zoom / 2), expected)
                    << "zoom " << zoom << " cell " << x << ", " << y;
            }
        }
        const auto failure = renderer.takeTileFailure();
        ASSERT_TRUE(failure.has_value()) << "zoom " << zoom;
        EXPECT_EQ(failure->id, 0xFFFF);
        EXPECT_THAT(failure->message, ::testing::HasSubstr("tile FF FF (65535)"));
        EXPECT_THAT(failure->message, ::testing::HasSubstr("texidx.mul"));
        EXPECT_FALSE(renderer.takeTileFailure().has_value()) << "told once per drawing";
    }

    const int loads = source.loads;
    region();
    EXPECT_EQ(source.loads, loads) << "the damaged entry is not read at every paint";
    EXPECT_TRUE(renderer.takeTileFailure().has_value()) << "but every drawing that shows it says so";

    source.unreadable.clear(); // the client files were mended and reopened
    source.textures[0xFFFF] = TileImage(64, 64, 0x001F);
    ++source.generation;
    EXPECT_EQ(region().pixelColor(1, 0), QColor(0, 0, 248));
    EXPECT_FALSE(renderer.takeTileFailure().has_value());
}

TEST_F(MapCellRendererTest, TileCacheKeepsPicturesUntilTheClientFilesAreReopened) {
    source.set(0, 0, 1, 0);
    region();
    const int loads = source.loads;
    region();
    EXPECT_EQ(source.loads, loads) << "the second paint decodes nothing";
    source.textures[1] = TileImage(64, 64, 0x001F);
    EXPECT_EQ(region().pixelColor(20, 20), QColor(248, 0, 0)) << "still the cached picture";
    ++source.generation; // the client files were reopened
    EXPECT_EQ(region().pixelColor(20, 20), QColor(0, 0, 248));
}

TEST_F(MapCellRendererTest, ShrunkenTilesShowTheirAverageColour) {
    TileImage halves(64, 64, 0);
    for (int y = 0; y < 64; ++y)
        for (int x = 32; x < 64; ++x)
            halves.at(x, y) = 0x7FFF;
    const QImage one = stretchTileImage(halves, QSize(1, 1));
    EXPECT_NEAR(qRed(one.pixel(0, 0)), 124, 2);
}

// Every visible cell drawn on its own gives exactly the pixels of the region.
TEST_F(MapCellRendererTest, CellByCellAndRegionGiveTheSamePixels) {
    std::mt19937 random(7);
    source.textures[4] = TileImage(128, 128, 0x1234);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            source.set(x, y, std::uint16_t(random() % 6), int(random() % 256) - 128);
    bookmarks[2] = {13, 9, true};
    bookmarks[5] = {14, 9, true};
    layout.leftCol = 11;
    layout.topRow = 7;
    const QPoint origin(-3, -5); // the area starts inside a cell
    for (int zoom : {1, 2, 5, 10, 45}) {
        for (int variant = 0; variant < 4; ++variant) {
            options.showAltitude = variant != 0;
            options.coloredAltitude = variant >= 2;
            options.showOnlyColor = variant == 3;
            layout.cellWidth = layout.cellHeight = zoom;
            layout.lineWidth = zoom % 2;
            const QPoint current(13, 9);
            QImage whole(150, 120, QImage::Format_RGB32);
            renderer.drawRegion(whole, origin, layout, current, source, test::FakeDrawSource::Geometry, bookmarks,
                                options);
            QImage single(whole.size(), QImage::Format_RGB32);
            single.fill(qRgb(1, 2, 3));
            const IndexSpan cols = layout.colsIn(origin.x(), origin.x() + whole.width());
            const IndexSpan rows = layout.rowsIn(origin.y(), origin.y() + whole.height());
            for (int r = rows.first; r <= rows.last; ++r)
                for (int c = cols.first; c <= cols.last; ++c)
                    renderer.drawCell(single, origin, layout.cellRect(c, r), c, r, QPoint(c, r) == current, source,
                                      test::FakeDrawSource::Geometry, bookmarks, options);
            int compared = 0;
            for (int y = 0; y < whole.height(); ++y) {
                for (int x = 0; x < whole.width(); ++x) {
                    const QPoint cell = layout.cellAt(origin + QPoint(x, y));
                    if (!layout.cellRect(cell.x(), cell.y()).contains(origin + QPoint(x, y)))
                        continue; // a grid line
                    ++compared;
                    ASSERT_EQ(single.pixel(x, y), whole.pixel(x, y))
                        << "zoom " << zoom << " variant " << variant << " at " << x << ", " << y;
                }
            }
            EXPECT_GT(compared, 2000) << "zoom " << zoom;
        }
    }
}

TEST_F(MapCellRendererTest, GridLinesAreSilverAfterEveryCellAndTheRestIsBackground) {
    layout.cellWidth = layout.cellHeight = 10;
    layout.lineWidth = 1;
    layout.colCount = 3;
    layout.rowCount = 64;
    source.set(0, 0, 1, 0);
    QImage image(60, 30, QImage::Format_RGB32);
    renderer.drawRegion(image, QPoint(0, 0), layout, QPoint(-1, -1), source, test::FakeDrawSource::Geometry, bookmarks,
                        options);
    EXPECT_EQ(image.pixelColor(10, 5), QColor(192, 192, 192));
    EXPECT_EQ(image.pixelColor(5, 10), QColor(192, 192, 192));
    EXPECT_EQ(image.pixelColor(32, 5), QColor(192, 192, 192));
    EXPECT_EQ(image.pixelColor(40, 5), QColor(0, 0, 0)) << "beyond the last column";
}

TEST_F(MapCellRendererTest, RenderedRegionHasTheCellsAndLinesBetweenThemOnly) {
    source.set(2, 3, 1, 0);
    const QImage image = renderMapRegion(source, test::FakeDrawSource::Geometry, 2, 3, 4, 2, 10, true, options).image;
    EXPECT_EQ(image.size(), QSize(4 * 11 - 1, 2 * 11 - 1));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(248, 0, 0));
    EXPECT_EQ(image.pixelColor(10, 5), QColor(192, 192, 192));
    EXPECT_THROW(renderMapRegion(source, test::FakeDrawSource::Geometry, 60, 0, 5, 1, 10, false, options), RangeError);
    EXPECT_THROW(renderMapRegion(source, test::FakeDrawSource::Geometry, 0, 0, 64, 64, 300, false, options), RangeError);
}

} // namespace
} // namespace stonereach
