#include <algorithm>
#include <fstream>
#include <set>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QKeyEvent>
#include <QTest>

#include "editor/ShapeTables.h"
#include "editor/UndoList.h"
#include "gui/app/EditorWindowFixture.h"
#include "gui/editor/MapView.h"
#include "gui/editor/PaintingPart.h"
#include "gui/editor/PalettePart.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/widgets/TilePalette.h"
#include "gui/widgets/UpDown.h"

namespace stonereach {
namespace {

namespace fs = std::filesystem;

// Painting in the real window: cells are chosen with the mouse and the
// keyboard as a user would, and the map file is checked byte by byte.
class Painting : public test::EditorWindowTest {
protected:
    void startOnTokuno() {
        map = mapFile("map4.mul", test::kTokunoSize).toStdString();
        storePaths(QString::fromStdString(map), clientDir());
        start();
    }

    MapCell cell(int x, int y) { return MapFile(map, File::Mode::Read).readCell(x, y, test::kTokuno); }
    void setCell(int x, int y, MapCell value) {
        MapFile(map, File::Mode::ReadWrite).writeCell(x, y, value, test::kTokuno);
    }

    // Brings the cell into view without painting, then presses it.
    void clickCell(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        go(QString::number(x), QString::number(y));
        QTest::mouseClick(view().viewport(), button, {}, view().cellRect(x, y).center());
    }

    void typeZ(const QString& text) {
        QLineEdit& z = edit("ZValueEdit");
        z.setFocus();
        QTest::keyClick(&z, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&z, Qt::Key_Backspace);
        QTest::keyClicks(&z, text);
    }
    void altitudeMode(int index) { child<RadioGroup>("AltitudeRadioGroup").selectAsIfClicked(index); }
    void drawingMode(int index) { child<QComboBox>("SelectDrawingModeComboBox").setCurrentIndex(index); }
    // Up in the brush size's edit, as the keyboard does it.
    void brushSize(int size) {
        QLineEdit& shown = edit("BrushSizeEdt");
        shown.setFocus();
        while (shown.text().toInt() < size)
            QTest::keyClick(&shown, Qt::Key_Up);
    }
    const UndoList& undo() { return window->painting().undoList(); }
    std::vector<std::uint8_t> bytes() { return test::readBytes(map); }

    std::string map;
};

TEST_F(Painting, BrushOfThreeRaisesNineCellsAndNineUndosRestoreTheFile) {
    startOnTokuno();
    setCell(11, 11, MapCell{7, 120});
    const auto before = bytes();
    altitudeMode(0);
    typeZ("0");
    QTest::keyClick(&edit("ZValueEdit"), Qt::Key_Up);
    EXPECT_EQ(edit("ZValueEdit").text(), "1") << "Up in the Z edit steps its up-down";
    drawingMode(2); // "Altitude only"
    QTest::keyClick(&edit("BrushSizeEdt"), Qt::Key_PageUp);
    EXPECT_EQ(edit("BrushSizeEdt").text(), "9");
    QTest::keyClick(&edit("BrushSizeEdt"), Qt::Key_PageDown);
    EXPECT_EQ(child<UpDown>("BrushSizeMover").position(), 1);
    brushSize(3);
    EXPECT_EQ(edit("BrushSizeEdt").text(), "3");

    clickCell(10, 10);
    for (int x = 10; x <= 12; ++x)
        for (int y = 10; y <= 12; ++y)
            EXPECT_EQ(cell(x, y).z, (x == 11 && y == 11) ? 121 : 1) << x << "," << y;
    EXPECT_EQ(cell(11, 11).tile, 7) << "altitude only keeps the tile";
    EXPECT_EQ(cell(13, 10).z, 0);
    ASSERT_EQ(undo().size(), 9u);

    view().setFocus();
    for (int i = 0; i < 8; ++i)
        QTest::keyClick(&view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(cell(10, 10).z, 1) << "the top-left cell of the square is restored last";
    QTest::keyClick(&view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(bytes() == before) << "nine undos give the file back byte for byte";
    child<QAction>("TlUndo").trigger();
    EXPECT_TRUE(bytes() == before) << "undo with an empty list does nothing";
}

TEST_F(Painting, AltitudeIsClampedAndTheRandomOffsetStaysInItsRange) {
    startOnTokuno();
    setCell(5, 5, MapCell{1, 120});
    setCell(6, 5, MapCell{1, -125});
    drawingMode(2);
    altitudeMode(0);
    typeZ("10");
    clickCell(5, 5);
    EXPECT_EQ(cell(5, 5).z, 127);
    altitudeMode(1);
    clickCell(6, 5);
    EXPECT_EQ(cell(6, 5).z, -128);

    // Set to Z 5 with a random offset of up to 2, over a 20 x 20 fill.
    altitudeMode(2);
    typeZ("5");
    child<QCheckBox>("cbAddRAl").setChecked(true);
    edit("edRauschen").setText("2");
    click("btnRectFill");
    clickCell(100, 100);
    clickCell(119, 119);
    std::set<int> seen;
    for (int x = 100; x < 120; ++x)
        for (int y = 100; y < 120; ++y)
            seen.insert(cell(x, y).z);
    EXPECT_EQ(seen, (std::set<int>{3, 4, 5, 6, 7}));
}

TEST_F(Painting, AZOutsideTheAltitudeRangeIsRefusedAndReset) {
    startOnTokuno();
    const auto before = bytes();
    altitudeMode(2);
    drawingMode(2);
    typeZ("2x00"); // the letter is never typed
    EXPECT_EQ(edit("ZValueEdit").text(), "200");
    clickCell(3, 3);
    EXPECT_EQ(dialogs.messages, QStringList{"Z must be between -128 to 127!"});
    EXPECT_EQ(edit("ZValueEdit").text(), "0");
    EXPECT_TRUE(bytes() == before);
}

TEST_F(Painting, FillWritesColumnByColumnAndAReversedFillWritesNothing) {
    startOnTokuno();
    setCell(11, 10, MapCell{9, 0});
    altitudeMode(0);
    typeZ("2");
    // "Don't draw" stops the square brush, not the fill: altitudes change,
    // tile ids stay.
    clickCell(1, 1);
    EXPECT_TRUE(undo().empty());
    click("btnRectFill");
    clickCell(10, 10);
    clickCell(12, 11);
    ASSERT_EQ(undo().size(), 6u);
    const std::vector<std::pair<int, int>> order{{10, 10}, {10, 11}, {11, 10}, {11, 11}, {12, 10}, {12, 11}};
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(undo().at(i).x, order[i].first);
        EXPECT_EQ(undo().at(i).y, order[i].second);
        EXPECT_EQ(cell(order[i].first, order[i].second).z, 2);
    }
    EXPECT_EQ(cell(11, 10).tile, 9);

    clickCell(12, 11);
    clickCell(10, 10);
    EXPECT_EQ(undo().size(), 6u) << "a second corner left of and above the first fills nothing";
    clickCell(20, 20);
    clickCell(20, 20);
    EXPECT_EQ(undo().size(), 7u) << "and the next selection starts a new fill";
}

TEST_F(Painting, TheStatusLineFollowsWritesUnderThePointerAndFillOutlinesItsRectangle) {
    startOnTokuno();
    setCell(30, 30, MapCell{7, 0});
    altitudeMode(2);
    typeZ("3");
    drawingMode(2); // "Altitude only"
    clickCell(30, 30);
    hover(30, 30);
    EXPECT_EQ(panel(0), "X=30 - Y=30 - Altitude=3 - Tile=00 07");
    view().setFocus();
    QTest::keyClick(&view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(panel(0), "X=30 - Y=30 - Altitude=0 - Tile=00 07") << "undo under the pointer shows at once";

    // After the first corner the rectangle to the pointer is outlined.
    click("btnRectFill");
    clickCell(40, 40);
    hover(42, 41);
    const auto outlineShown = [&] {
        QCoreApplication::processEvents();
        const QImage image = view().viewport()->grab().toImage();
        const QRect first = view().cellRect(40, 40);
        return image.pixelColor(first.left() + 1, first.center().y()) == MapView::FillOutlineColour &&
               image.pixelColor(first.center().x(), first.top() + 1) == MapView::FillOutlineColour;
    };
    EXPECT_TRUE(outlineShown());
    click("btnDefault");
    EXPECT_FALSE(outlineShown()) << "only while Fill is down";
    click("btnRectFill");
    EXPECT_TRUE(outlineShown()) << "the corner waits";
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, view().cellRect(42, 41).center());
    EXPECT_EQ(cell(42, 41).z, 3);
    EXPECT_FALSE(outlineShown()) << "the fill is done";
}

TEST_F(Painting, ShapeButtonsLayTheirPiecesWithABlueOutlineAndNoUndo) {
    startOnTokuno();
    for (int shape = 1; shape <= ShapeCount; ++shape) {
        click(QStringLiteral("btnHoehle%1").arg(shape).toLatin1().constData());
        EXPECT_TRUE(view().drawOptions().shapeToolDown);
        const int x = 10 * shape;
        clickCell(x, 50);
        for (const BrushEntry& piece : shapePieces(shape))
            EXPECT_EQ(cell(x + piece.dx, 50 + piece.dy).tile, piece.tile) << "shape " << shape;
    }
    EXPECT_EQ(cell(10 * 5 + 1, 51).tile, 475) << "the whole set has its centre";
    EXPECT_TRUE(undo().empty());
    click("btnDefault");
    EXPECT_FALSE(view().drawOptions().shapeToolDown);
}

TEST_F(Painting, AnArrowKeySelectionPaintsNothingAndTheNextClickPaints) {
    startOnTokuno();
    altitudeMode(2);
    typeZ("9");
    drawingMode(2);
    clickCell(30, 30);
    ASSERT_EQ(cell(30, 30).z, 9);
    view().setFocus();
    QTest::keyClick(&view(), Qt::Key_Right);
    EXPECT_EQ(view().col(), 31);
    EXPECT_EQ(cell(31, 30).z, 0) << "the arrow key moved the cell without painting";
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, view().cellRect(31, 30).center());
    EXPECT_EQ(cell(31, 30).z, 9);
}

TEST_F(Painting, FootprintsPastTheMapEdgeWriteOnlyTheCellsInside) {
    startOnTokuno();
    altitudeMode(2);
    typeZ("3");
    drawingMode(2);
    brushSize(9);
    clickCell(1445, 1443);
    auto expected = bytes();
    // Only the 3 x 5 cells inside the map change; nothing past its end.
    ASSERT_EQ(expected.size(), test::kTokunoSize);
    for (int x = 1445; x < 1448; ++x)
        for (int y = 1443; y < 1448; ++y)
            EXPECT_EQ(cell(x, y).z, 3);
    EXPECT_EQ(undo().size(), 15u);
    click("btnHoehle5");
    clickCell(1447, 1447);
    EXPECT_EQ(cell(1447, 1447).tile, 467);
    auto after = bytes();
    expected[cellOffset(1447, 1447, 181)] = after[cellOffset(1447, 1447, 181)];
    expected[cellOffset(1447, 1447, 181) + 1] = after[cellOffset(1447, 1447, 181) + 1];
    EXPECT_TRUE(after == expected) << "the eight pieces off the map are not written anywhere";
}

TEST_F(Painting, PaletteRowsChooseTheTileAndSwitchTheDrawingMode) {
    fs::create_directories(home() / "textures");
    std::ofstream(home() / "textures" / "tileids.lst", std::ios::binary) << "textureid=3\r\ntextureid=$01A4\r\n";
    std::ofstream(home() / "textures" / "coast.lst", std::ios::binary) << "textureid=$0002\r\n";
    startOnTokuno();
    auto& sorted = child<TilePalette>("SortedTextureGrid");
    auto& unsorted = child<TilePalette>("TextureDrawGrid");
    ASSERT_EQ(sorted.tiles(), (std::vector<int>{3, 0x1A4}));
    auto& modes = child<QComboBox>("SelectDrawingModeComboBox");
    EXPECT_EQ(modes.currentIndex(), 0);

    QTest::mouseClick(sorted.viewport(), Qt::LeftButton, {}, sorted.cellRect(0, 1).center());
    EXPECT_EQ(modes.currentIndex(), 1) << "a palette click paints the selected tile";
    EXPECT_EQ(window->painting().selectedTile(), 0x1A4);
    EXPECT_EQ(panel(1), "Selected mode: Only draw tile without set altitude - Selected tile=01 A4");
    clickCell(8, 8);
    EXPECT_EQ(cell(8, 8).tile, 0x1A4);

    // The search: in the sorted list only ids it holds, in the full palette any.
    edit("edFindID").setText("2");
    click("btnFind");
    EXPECT_EQ(window->painting().selectedTile(), 0x1A4) << "2 is not in the sorted list";
    child<QCheckBox>("cbSortet").click();
    EXPECT_FALSE(sorted.isVisible());
    click("btnFind");
    EXPECT_EQ(window->painting().selectedTile(), 2);
    EXPECT_EQ(unsorted.topRow(), 2);
    EXPECT_EQ(modes.currentIndex(), 1);
    hover(8, 8);
    EXPECT_EQ(panel(1), "Selected mode: Only draw tile without set altitude - Selected tile=00 02")
        << "the status line names the tile that painting will write, not the palette's current row";

    // The right-button pick takes the tile of the map cell.
    setCell(20, 20, MapCell{3, 0});
    clickCell(20, 20, Qt::RightButton);
    EXPECT_EQ(window->painting().selectedTile(), 3);
    EXPECT_EQ(unsorted.topRow(), 3);
    EXPECT_EQ(cell(20, 20).tile, 3) << "a right click paints nothing";

    // The tile list menu lists both files, the loaded one checked.
    auto* menu = window->findChild<QMenu*>("pmCustomTextures");
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), "coast.lst");
    EXPECT_FALSE(menu->actions()[0]->isChecked());
    EXPECT_TRUE(menu->actions()[1]->isChecked());
    menu->actions()[0]->trigger();
    EXPECT_TRUE(menu->actions()[0]->isChecked());
    EXPECT_EQ(sorted.tiles(), std::vector<int>{2});
}

// The rows a palette shows framed in red, as the user sees them.
std::vector<int> framedRows(TilePalette& palette) {
    QCoreApplication::processEvents();
    const QImage image = palette.viewport()->grab().toImage();
    std::vector<int> rows;
    for (int row = palette.topRow(); row < std::min(palette.count(), palette.topRow() + palette.visibleRowCount());
         ++row) {
        const QRect rect = palette.cellRect(0, row);
        // The frame's bottom line, clear of the focus mark along the edges.
        if (image.pixelColor(rect.center().x(), rect.bottom()) == QColor(255, 0, 0))
            rows.push_back(row);
    }
    return rows;
}

TEST_F(Painting, TheShownPaletteFramesTheTileThatPaintingWritesAndNothingElse) {
    fs::create_directories(home() / "textures");
    std::ofstream(home() / "textures" / "tileids.lst", std::ios::binary) << "textureid=3\r\ntextureid=$01A4\r\n";
    std::ofstream(home() / "textures" / "coast.lst", std::ios::binary)
        << "textureid=$0016\r\ntextureid=$0002\r\ntextureid=3\r\n";
    startOnTokuno();
    auto& sorted = child<TilePalette>("SortedTextureGrid");
    auto& unsorted = child<TilePalette>("TextureDrawGrid");
    auto& sortedBox = child<QCheckBox>("cbSortet");
    const auto paintsTile = [&](int x) {
        drawingMode(1);
        clickCell(x, 30);
        return int(cell(x, 30).tile);
    };
    EXPECT_EQ(framedRows(sorted), std::vector<int>{}) << "tile 0, which painting writes, is not in the list";

    QTest::mouseClick(sorted.viewport(), Qt::LeftButton, {}, sorted.cellRect(0, 1).center());
    EXPECT_EQ(framedRows(sorted), std::vector<int>{1});
    sortedBox.click();
    EXPECT_EQ(framedRows(unsorted), std::vector<int>{0x1A4}) << "the other palette frames the same tile, in view";
    EXPECT_EQ(paintsTile(1), 0x1A4);

    // The search in the full palette, then back to the list, which lacks it.
    edit("edFindID").setText("2");
    click("btnFind");
    EXPECT_EQ(framedRows(unsorted), std::vector<int>{2});
    sortedBox.click();
    EXPECT_EQ(framedRows(sorted), std::vector<int>{});
    EXPECT_EQ(paintsTile(2), 2);

    // A list that holds the tile frames its row.
    window->findChild<QMenu*>("pmCustomTextures")->actions()[0]->trigger();
    EXPECT_EQ(framedRows(sorted), std::vector<int>{1});

    // The right-button pick, then the other palette.
    setCell(20, 20, MapCell{3, 0});
    clickCell(20, 20, Qt::RightButton);
    EXPECT_EQ(framedRows(sorted), std::vector<int>{2});
    sortedBox.click();
    EXPECT_EQ(framedRows(unsorted), std::vector<int>{3});
    EXPECT_EQ(paintsTile(3), 3);

    // The keyboard goes on from the framed row.
    unsorted.setFocus();
    QTest::keyClick(&unsorted, Qt::Key_Down);
    EXPECT_EQ(framedRows(unsorted), std::vector<int>{4});
    EXPECT_EQ(paintsTile(4), 4);
}

TEST_F(Painting, TheSelectedTileTheListTheBrushAndTheDrawingModeComeBackAfterARestart) {
    fs::create_directories(home() / "textures");
    fs::create_directories(home() / "brushes");
    std::ofstream(home() / "textures" / "tileids.lst", std::ios::binary) << "textureid=3\r\n";
    std::ofstream(home() / "textures" / "coast.lst", std::ios::binary) << "textureid=$0016\r\ntextureid=$0017\r\n";
    std::ofstream(home() / "brushes" / "Hill.brs", std::ios::binary) << "0,0,$0005\r\n";
    std::ofstream(home() / "tilelist.xml", std::ios::binary)
        << "<?xml version=\"1.0\" ?>\r\n<TileList>\r\n  <Tile id=\"0\">\r\n    <Name id=\"0\">Sand</Name>\r\n"
           "    <TileId id=\"0\">$0016</TileId>\r\n  </Tile>\r\n</TileList>\r\n";
    startOnTokuno();
    window->findChild<QMenu*>("pmCustomTextures")->actions()[0]->trigger();
    auto& sorted = child<TilePalette>("SortedTextureGrid");
    QTest::mouseClick(sorted.viewport(), Qt::LeftButton, {}, sorted.cellRect(0, 1).center());
    auto& brushes = child<QComboBox>("cbCustomBrushes");
    brushes.setCurrentIndex(0);
    emit brushes.textActivated(brushes.currentText());
    drawingMode(3);
    window->close();

    start();
    EXPECT_EQ(window->painting().selectedTile(), 0x17);
    auto& sortedAgain = child<TilePalette>("SortedTextureGrid");
    EXPECT_EQ(sortedAgain.tiles(), (std::vector<int>{0x16, 0x17})) << "the list shown last time";
    EXPECT_EQ(framedRows(sortedAgain), std::vector<int>{1});
    EXPECT_EQ(child<QComboBox>("SelectDrawingModeComboBox").currentText(), "Sand");
    EXPECT_EQ(child<QComboBox>("cbCustomBrushes").currentText(), "Hill");
    click("btnCustomBrush");
    clickCell(70, 70);
    EXPECT_EQ(cell(70, 70).tile, 5) << "the brush is loaded, not only named";

    window->close();
    fs::remove(home() / "textures" / "coast.lst");
    start();
    auto& sortedLast = child<TilePalette>("SortedTextureGrid");
    EXPECT_EQ(sortedLast.tiles(), std::vector<int>{3}) << "a list that is gone gives way to tileids.lst";
    EXPECT_EQ(framedRows(sortedLast), std::vector<int>{});
}

TEST_F(Painting, SelectionGroupsPaintTheirMembersAndAnEmptyGroupIsRefused) {
    std::ofstream(home() / "tilelist.xml", std::ios::binary)
        << "<?xml version=\"1.0\" ?>\r\n<TileList>\r\n"
           "  <Tile id=\"0\">\r\n    <Name id=\"0\">Sand &amp; Rock</Name>\r\n"
           "    <TileId id=\"0\">$0016</TileId>\r\n    <TileId id=\"1\">$0017</TileId>\r\n  </Tile>\r\n"
           "  <Tile id=\"1\">\r\n    <Name id=\"1\">Nothing</Name>\r\n  </Tile>\r\n</TileList>\r\n";
    startOnTokuno();
    auto& modes = child<QComboBox>("SelectDrawingModeComboBox");
    ASSERT_EQ(modes.count(), 5);
    EXPECT_EQ(modes.itemText(3), "Sand & Rock");
    drawingMode(3);
    EXPECT_EQ(panel(1), "Selected mode: Only draw tile without set altitude - Selected group: \"Sand & Rock\"");
    brushSize(4);
    clickCell(40, 40);
    std::set<int> tiles;
    for (int x = 40; x < 44; ++x)
        for (int y = 40; y < 44; ++y)
            tiles.insert(cell(x, y).tile);
    EXPECT_EQ(tiles, (std::set<int>{0x16, 0x17}));

    const auto before = bytes();
    drawingMode(4);
    clickCell(60, 60);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("Nothing")) << dialogs.errors[0].toStdString();
    EXPECT_TRUE(bytes() == before);
}

TEST_F(Painting, TheChosenCustomBrushIsStampedAtTheClickedCell) {
    fs::create_directories(home() / "brushes");
    std::ofstream(home() / "brushes" / "Hill.brs", std::ios::binary) << "0,0,$0003\r\n1,0,$0004\r\n0,2,$0005\r\n";
    std::ofstream(home() / "brushes" / "apath.brs", std::ios::binary) << "0,0,$0006\r\n";
    startOnTokuno();
    auto& brushes = child<QComboBox>("cbCustomBrushes");
    ASSERT_EQ(brushes.count(), 2);
    EXPECT_EQ(brushes.itemText(0), "apath") << "names sorted without regard to case";
    click("btnCustomBrush");
    clickCell(70, 70);
    EXPECT_EQ(cell(70, 70).tile, 0) << "no brush chosen yet";
    brushes.setCurrentIndex(1);
    emit brushes.textActivated(brushes.currentText());
    clickCell(70, 70);
    EXPECT_EQ(cell(70, 70).tile, 3);
    EXPECT_EQ(cell(71, 70).tile, 4);
    EXPECT_EQ(cell(70, 72).tile, 5);
    EXPECT_EQ(cell(70, 71).tile, 0) << "a cell the brush leaves out stays";
    EXPECT_TRUE(undo().empty());
}

} // namespace
} // namespace stonereach
