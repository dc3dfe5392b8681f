#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QTest>

#include "gui/app/EditorWindowFixture.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/widgets/TilePalette.h"
#include "maptools/MapConversion.h"
#include "sample/SampleClientFiles.h"

namespace stonereach {
namespace {

namespace fs = std::filesystem;

// The editor on the files of a newer client: the map and the land art in UOP
// containers.
class ContainerFiles : public test::EditorWindowTest {
protected:
    // Tokuno's map as a container, made from a plain map with a few cells set.
    QString tokunoContainer() {
        const fs::path plain = mapFile("map4.mul", test::kTokunoSize).toStdString();
        {
            MapFile map(plain, File::Mode::ReadWrite);
            map.writeCell(3, 4, MapCell{0x0123, -7}, test::kTokuno);
            map.writeCell(1447, 1447, MapCell{0x0456, 9}, test::kTokuno);
        }
        const fs::path container = temp / "map4LegacyMUL.uop";
        convertMap(MapConversionRequest{plain, container, std::nullopt, true});
        return QString::fromStdString(container.string());
    }

    QImage palettePicture() {
        QCoreApplication::processEvents();
        return child<TilePalette>("TextureDrawGrid").grab().toImage();
    }
};

TEST_F(ContainerFiles, AMapInAContainerOpensAndAPaintedCellChangesOnlyItsPayloadByte) {
    const QString container = tokunoContainer();
    storePaths(container, clientDir());
    start();
    EXPECT_EQ(label("MapInfo"), "Tokuno");
    EXPECT_EQ(label("MapSize"), "1448x1448");
    EXPECT_EQ(label("MapStorage"), "UOP container, 8 entries");
    dialogs.openFiles = {container};
    click("TlLoadMap");
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].filters.first(), "Ultima Online MAP container (map*.uop)")
        << "the dialog offers the open map's own form first";
    hover(3, 4);
    EXPECT_EQ(panel(0), "X=3 - Y=4 - Altitude=-7 - Tile=01 23");

    // Altitude only, set to -3, on cell (3, 4).
    const std::vector<std::uint8_t> before = test::readBytes(container.toStdString());
    child<RadioGroup>("AltitudeRadioGroup").selectAsIfClicked(2);
    QLineEdit& z = edit("ZValueEdit");
    z.setFocus();
    QTest::keyClick(&z, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&z, "-3");
    child<QComboBox>("SelectDrawingModeComboBox").setCurrentIndex(2);
    go("3", "4");
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, view().cellRect(3, 4).center());

    const std::vector<std::uint8_t> after = test::readBytes(container.toStdString());
    ASSERT_EQ(after.size(), before.size());
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < after.size(); ++i)
        if (after[i] != before[i])
            changed.push_back(i);
    ASSERT_EQ(changed.size(), 1u) << "only the altitude byte of the cell changes";
    EXPECT_EQ(after[changed[0]], 0xFD);
    const MapFile reread(container.toStdString(), File::Mode::Read);
    EXPECT_EQ(reread.readCell(3, 4, test::kTokuno), (MapCell{0x0123, -3}));
    EXPECT_EQ(reread.readCell(1447, 1447, test::kTokuno), (MapCell{0x0456, 9}));
}

TEST_F(ContainerFiles, AClientWithOnlyTheArtContainerShowsThePalettePicturesOfTheMulPair) {
    const fs::path newer = temp / "newer-client";
    fs::create_directories(newer);
    sample::writeSampleClientFiles(newer, 1, sample::SampleArtForm::Container);
    ASSERT_FALSE(fs::exists(newer / "artidx.mul"));
    storePaths(mapFile("map4.mul", test::kTokunoSize), clientDir());
    start();

    // The forest tiles (196 on) are drawn from land art, not textures.
    QTest::keyClicks(&edit("edFindID"), "C4");
    QTest::mouseClick(&child<QPushButton>("btnFind"), Qt::LeftButton);
    const QImage fromMulPair = palettePicture();
    const TilePalette& palette = child<TilePalette>("TextureDrawGrid");
    const QPoint forest = palette.cellRect(palette.col(), palette.row()).center();
    EXPECT_NE(fromMulPair.pixelColor(forest), palette.palette().color(QPalette::Base))
        << "the forest tile has a picture";

    edit("UOPathEdit").setText(QString::fromStdString(newer.string()));
    EXPECT_TRUE(child<QLineEdit>("UOPathEdit").toolTip().isEmpty()) << "the newer client is a valid directory";
    EXPECT_EQ(palettePicture(), fromMulPair);
}

} // namespace
} // namespace stonereach
