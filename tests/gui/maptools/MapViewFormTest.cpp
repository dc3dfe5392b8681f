// The overview window: its size for each map size, the picture built from the
// map file and the radar colours, and the jump by mouse and by keyboard.
#include <filesystem>

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>

#include "gui/app/ScriptedDialogs.h"
#include "gui/maptools/OverviewCanvas.h"
#include "gui/maptools/TMapViewForm.h"
#include "mapdata/MapFile.h"
#include "maptools/OverviewPicture.h"
#include "support/TempDir.h"
#include "gui/patches/ToolTestSupport.h"

using namespace stonereach;
namespace fs = std::filesystem;

namespace {

struct SizeCase {
    const char* sizeText;
    MapGeometry map;
    int width;
    int height;
};

void PrintTo(const SizeCase& size, std::ostream* out) { *out << size.sizeText; }

class OverviewSize : public ::testing::TestWithParam<SizeCase>, protected test::WithEditorApp {};

TEST_P(OverviewSize, WindowFitsOnePixelPerBlock) {
    test::FakeEditorLink link;
    test::ScriptedDialogs dialogs;
    TMapViewForm form(link, dialogs, GetParam().map);
    form.adjustSize();
    EXPECT_EQ(form.canvas().size(), QSize(GetParam().width, GetParam().height));
    EXPECT_EQ(form.size(), QSize(GetParam().width, GetParam().height));
}

INSTANTIATE_TEST_SUITE_P(EveryMapSize, OverviewSize,
                         ::testing::Values(SizeCase{"7168x4096", {7168, 4096, 512}, 896, 512},
                                           SizeCase{"6144x4096", {6144, 4096, 512}, 768, 512},
                                           SizeCase{"2304x1600", {2304, 1600, 200}, 288, 200},
                                           SizeCase{"2560x2048", {2560, 2048, 256}, 320, 256},
                                           SizeCase{"1448x1448", {1448, 1448, 181}, 181, 181},
                                           SizeCase{"1280x4096", {1280, 4096, 512}, 160, 512}),
                         [](const auto& test) { return std::string("Size") + std::to_string(test.param.width); });

class Overview : public ::testing::Test, protected test::WithEditorApp {
protected:
    Overview() {
        const auto& world = test::sharedSampleWorld("Tokuno");
        clientDir = world.mapPath.parent_path();
        fs::copy_file(world.mapPath, mapPath);
    }

    // Opens the overview of the map as the overview button does and lets the
    // posted build run.
    std::unique_ptr<TMapViewForm> openOverview(const MapGeometry& geometry = MapGeometry{1448, 1448, 181}) {
        auto form = std::make_unique<TMapViewForm>(link, dialogs, geometry);
        form->show();
        QCoreApplication::processEvents();
        return form;
    }

    test::TempDir dir;
    fs::path clientDir;
    fs::path mapPath = dir / "map4.mul";
    test::FakeEditorLink link;
    test::ScriptedDialogs dialogs;
};

TEST_F(Overview, EachPixelShowsTheRadarColourOfItsBlocksCellOneOne) {
    MapFile(mapPath, File::Mode::ReadWrite).writeCell(9, 1, MapCell{0x8001, 0}, MapGeometry{1448, 1448, 181});
    link.open(mapPath, clientDir);
    const auto form = openOverview();
    test::saveScreenshot(*form, "overview-tokuno");
    ASSERT_TRUE(form->built());
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join("|").toStdString();
    const QImage picture = form->picture();
    ASSERT_EQ(picture.size(), QSize(181, 181));
    EXPECT_FALSE(form->findChild<QLabel*>("GenerateText")->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the hourglass is gone";

    const MapFile map(mapPath, File::Mode::Read);
    const RadarColours& radar = link.radarColours();
    int coloured = 0;
    for (const auto& [bx, by] : {std::pair{0, 0}, {40, 7}, {90, 90}, {180, 180}, {3, 150}}) {
        const MapCell sampled = map.readCell(8 * bx + 1, 8 * by + 1, MapGeometry{1448, 1448, 181});
        const Rgb8 colour = overviewColour(radar, sampled.tile);
        EXPECT_EQ(picture.pixelColor(bx, by), QColor(colour.r, colour.g, colour.b)) << bx << "," << by;
        coloured += picture.pixelColor(bx, by) != QColor(Qt::black);
    }
    EXPECT_GT(coloured, 0) << "the radar colours were read";
    EXPECT_EQ(picture.pixelColor(1, 0), QColor(Qt::black)) << "tile ids from 32768 on show black";
}

TEST_F(Overview, PressingAPixelOrMarkingItWithTheKeysMovesTheMapViewToItsBlock) {
    link.open(mapPath, clientDir);
    auto form = openOverview();
    QTest::mouseClick(&form->canvas(), Qt::RightButton, {}, QPoint(10, 20));
    EXPECT_EQ(link.jumps, (std::vector<CellPoint>{CellPoint{80, 160}}));
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Accepted);

    form = openOverview();
    form->canvas().setFocus();
    for (const auto key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down})
        QTest::keyClick(&form->canvas(), key);
    QTest::keyClick(&form->canvas(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(&form->canvas(), Qt::Key_Return);
    ASSERT_EQ(link.jumps.size(), 2u);
    EXPECT_EQ(link.jumps[1], (CellPoint{8 * (90 + 2 - 10), 8 * (90 + 1)}));
    EXPECT_FALSE(form->isVisible());
}

TEST_F(Overview, ClosesWithNothingToShowOrWhenTheMapCannotBeRead) {
    // Neither path usable: the window closes at once.
    auto form = openOverview();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->picture().isNull());
    EXPECT_TRUE(dialogs.errors.isEmpty());

    // A map file shorter than its geometry: the error names the file.
    link.open(mapPath, clientDir);
    form = openOverview(MapGeometry{2304, 1600, 200});
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains(qPath(mapPath))) << dialogs.errors[0].toStdString();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
