// Undo Stroke and Redo in the real window: strokes are made with the mouse
// and the keyboard as a user makes them, taken back and written again with
// the menu's shortcuts, and the whole map file is compared each time.
#include <fstream>

#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QTest>

#include "gui/app/EditorWindowFixture.h"
#include "gui/editor/PaintingPart.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/widgets/UpDown.h"

namespace stonereach {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class StrokeHistoryWindow : public test::EditorWindowTest {
protected:
    void startOnTokuno() {
        map = mapFile("map4.mul", test::kTokunoSize).toStdString();
        storePaths(QString::fromStdString(map), clientDir());
        start();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        // "Set to Z", "Altitude only": each stroke writes its own altitude.
        child<RadioGroup>("AltitudeRadioGroup").selectAsIfClicked(2);
        child<QComboBox>("SelectDrawingModeComboBox").setCurrentIndex(2);
    }
    Bytes bytes() const { return test::readBytes(map); }
    QAction& action(const char* name) { return child<QAction>(name); }
    void z(int value) { edit("ZValueEdit").setText(QString::number(value)); }
    QPoint at(int x, int y) { return view().cellRect(x, y).center(); }

    // A press on the first cell, the pointer moved over the others with the
    // button held, the release on the last: one stroke.
    void drag(std::initializer_list<CellPoint> cells) {
        const CellPoint first = *cells.begin();
        go(QString::number(first.x), QString::number(first.y));
        QTest::mousePress(view().viewport(), Qt::LeftButton, {}, at(first.x, first.y));
        CellPoint last = first;
        for (const CellPoint cell : cells) {
            QMouseEvent move(QEvent::MouseMove, QPointF(at(cell.x, cell.y)),
                             QPointF(view().viewport()->mapToGlobal(at(cell.x, cell.y))), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(view().viewport(), &move);
            last = cell;
        }
        QTest::mouseRelease(view().viewport(), Qt::LeftButton, {}, at(last.x, last.y));
    }
    void clickCell(int x, int y) { drag({{x, y}}); }

    void undoStroke() { QTest::keyClick(&view(), Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier); }
    void redo() { QTest::keySequence(&view(), QKeySequence(QKeySequence::Redo)); }
    void ctrlZ(int times) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(&view(), Qt::Key_Z, Qt::ControlModifier);
    }

    std::string map;
};

TEST_F(StrokeHistoryWindow, EveryToolsStrokeIsTakenBackAndWrittenAgainByteForByte) {
    fs::create_directories(home() / "brushes");
    std::ofstream(home() / "brushes" / "Hill.brs", std::ios::binary) << "0,0,$0003\r\n1,0,$0004\r\n0,2,$0005\r\n";
    startOnTokuno();
    EXPECT_FALSE(action("TlUndoStroke").isEnabled());
    EXPECT_FALSE(action("TlRedo").isEnabled());
    EXPECT_EQ(action("TlUndoStroke").text(), "Undo &Stroke");
    EXPECT_EQ(action("TlRedo").text(), "&Redo");
    EXPECT_EQ(action("TlRedo").shortcuts(), QKeySequence::keyBindings(QKeySequence::Redo));
    EXPECT_FALSE(action("TlUndoStroke").shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Z)));

    std::vector<Bytes> states{bytes()};
    QStringList names;
    // The square brush of 2 dragged over three cells.
    auto& size = child<UpDown>("BrushSizeMover");
    size.setFocus();
    QTest::keyClick(&size, Qt::Key_Up);
    z(11);
    drag({{10, 10}, {11, 10}, {12, 11}});
    states.push_back(bytes());
    names << "Paint 9 cells";
    // A keyboard selection: Home moves to the row's first cell and paints.
    z(12);
    view().setFocus();
    QTest::keyClick(&view(), Qt::Key_Home);
    states.push_back(bytes());
    names << "Paint 4 cells";
    // A fill: both clicks are one stroke.
    z(13);
    click("btnRectFill");
    clickCell(20, 20);
    clickCell(29, 23);
    states.push_back(bytes());
    names << "Fill 40 cells";
    z(14);
    click("btnHoehle5");
    clickCell(40, 40);
    states.push_back(bytes());
    names << "Shape 9 cells";
    z(15);
    auto& brushes = child<QComboBox>("cbCustomBrushes");
    brushes.setCurrentIndex(0);
    emit brushes.textActivated(brushes.currentText());
    click("btnCustomBrush");
    clickCell(50, 50);
    states.push_back(bytes());
    names << "Brush 3 cells";
    for (std::size_t i = 0; i + 1 < states.size(); ++i)
        ASSERT_FALSE(states[i] == states[i + 1]) << "stroke " << i << " wrote nothing";

    view().setFocus();
    for (int i = 4; i >= 0; --i) {
        EXPECT_EQ(action("TlUndoStroke").text(), "Undo &Stroke: " + names[i]) << i;
        undoStroke();
        EXPECT_TRUE(bytes() == states[std::size_t(i)]) << "undo of stroke " << i;
        EXPECT_EQ(action("TlRedo").text(), "&Redo: " + names[i]) << i;
    }
    EXPECT_FALSE(action("TlUndoStroke").isEnabled());
    for (int i = 0; i < 5; ++i) {
        redo();
        EXPECT_TRUE(bytes() == states[std::size_t(i) + 1]) << "redo of stroke " << i;
    }
    EXPECT_FALSE(action("TlRedo").isEnabled());
    EXPECT_EQ(action("TlUndoStroke").text(), "Undo &Stroke: Brush 3 cells");
}

TEST_F(StrokeHistoryWindow, CtrlZUndoStrokeAndRedoShareOneBrushStrokeAndANewStrokeEmptiesRedo) {
    startOnTokuno();
    const Bytes before = bytes();
    auto& size = child<UpDown>("BrushSizeMover");
    size.setFocus();
    QTest::keyClick(&size, Qt::Key_Up);
    QTest::keyClick(&size, Qt::Key_Up);
    z(20);
    clickCell(30, 30);
    const Bytes painted = bytes();

    view().setFocus();
    ctrlZ(4);
    EXPECT_EQ(window->painting().undoList().size(), 5u);
    EXPECT_EQ(action("TlUndoStroke").text(), "Undo &Stroke: Paint 9 cells");
    undoStroke();
    EXPECT_TRUE(bytes() == before) << "Undo Stroke takes back the five cells Ctrl+Z left";
    EXPECT_TRUE(window->painting().undoList().empty());
    redo();
    EXPECT_TRUE(bytes() == painted) << "Redo writes all nine";
    ctrlZ(9);
    EXPECT_TRUE(bytes() == before) << "and Ctrl+Z takes them back one by one";

    redo();
    undoStroke();
    ASSERT_TRUE(action("TlRedo").isEnabled());
    clickCell(60, 60);
    EXPECT_FALSE(action("TlRedo").isEnabled()) << "a new stroke empties the redo list";
    EXPECT_EQ(action("TlRedo").text(), "&Redo");
}

TEST_F(StrokeHistoryWindow, TheHistoryIsClearedWhenTheMapFileChanges) {
    startOnTokuno();
    z(5);
    clickCell(3, 3);
    clickCell(4, 4);
    view().setFocus();
    undoStroke();
    ASSERT_TRUE(action("TlUndoStroke").isEnabled());
    ASSERT_TRUE(action("TlRedo").isEnabled());

    edit("MapEdit").setText(mapFile("map2.mul", test::kIlshenarSize));
    EXPECT_FALSE(action("TlUndoStroke").isEnabled());
    EXPECT_FALSE(action("TlRedo").isEnabled());
    edit("MapEdit").setText(QString::fromStdString(map));
    EXPECT_FALSE(action("TlUndoStroke").isEnabled()) << "back on the first map, its strokes are gone";
    EXPECT_EQ(window->painting().undoList().size(), 1u) << "the undo list keeps its rows";
}

} // namespace
} // namespace stonereach
