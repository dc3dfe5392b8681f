#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "gui/widgets/DrawGrid.h"
#include "support/GuiApp.h"

namespace stonereach {
namespace {

struct Selection {
    int col;
    int row;
    int currentColDuringCall;
    int currentRowDuringCall;
    friend bool operator==(const Selection&, const Selection&) = default;
};

// A colour that tells every cell apart.
QColor colourOf(int col, int row) { return QColor((col * 37) % 256, (row * 53) % 256, (col + row) % 2 ? 200 : 60); }

// A grid whose cells are drawn by a function the test sets.
class TestGrid : public DrawGrid {
public:
    std::function<void(QPainter&, int, int, const QRect&)> draw;

protected:
    void drawCell(QPainter& p, int c, int r, const QRect& rect, bool) override {
        if (draw)
            draw(p, c, r, rect);
    }
};

class DrawGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.setColCount(100);
        grid.setRowCount(80);
        grid.setDefaultColWidth(10);
        grid.setDefaultRowHeight(10);
        grid.resize(200, 150);
        QObject::connect(&grid, &DrawGrid::selectCell,
                         [this](int c, int r) { selections.push_back({c, r, grid.col(), grid.row()}); });
        grid.draw = [](QPainter& p, int c, int r, const QRect& rect) { p.fillRect(rect, colourOf(c, r)); };
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(&grid, key, mods); }
    QPoint centreOf(int col, int row) const { return grid.cellRect(col, row).center(); }

    // What is on screen, as the window system holds it.
    QImage screenImage() {
        QCoreApplication::processEvents();
        return grid.viewport()->grab().toImage();
    }

    QApplication& app = test::guiApp(); // before any widget
    TestGrid grid;
    std::vector<Selection> selections;
};

TEST_F(DrawGridTest, ArrowsMoveTheCurrentCellByOneAndStopAtTheEdges) {
    press(Qt::Key_Right);
    press(Qt::Key_Down);
    EXPECT_EQ(grid.col(), 1);
    EXPECT_EQ(grid.row(), 1);
    press(Qt::Key_Left);
    press(Qt::Key_Left);
    EXPECT_EQ(grid.col(), 0) << "left of column 0 there is nothing to move to";
    // Two selections, each made while the old cell was still current, and
    // none for the move that did not happen.
    const std::vector<Selection> expected{{1, 0, 0, 0}, {1, 1, 1, 0}, {0, 1, 1, 1}};
    EXPECT_EQ(selections, expected);
}

TEST_F(DrawGridTest, MovingTheCurrentCellOutOfViewScrollsJustFarEnough) {
    const int visible = grid.visibleColCount();
    ASSERT_EQ(visible, grid.viewport()->width() / 10);
    grid.setCurrentCell(visible + 5, 0);
    EXPECT_EQ(grid.leftCol(), 6) << "the cell becomes the last whole column";
    grid.setCurrentCell(2, 0);
    EXPECT_EQ(grid.leftCol(), 2) << "the cell becomes the first column";
    grid.setCurrentCell(3, 0);
    EXPECT_EQ(grid.leftCol(), 2) << "a visible cell does not scroll";
}

TEST_F(DrawGridTest, ScrollPositionStaysWithinTheRangeThatShowsTheLastCell) {
    grid.setLeftCol(100000);
    grid.setTopRow(100000);
    EXPECT_EQ(grid.leftCol(), 100 - grid.visibleColCount());
    EXPECT_EQ(grid.topRow(), 80 - grid.visibleRowCount());
    EXPECT_EQ(grid.horizontalScrollBar()->maximum(), grid.leftCol()) << "scroll bars count cells";
    grid.setLeftCol(-3);
    EXPECT_EQ(grid.leftCol(), 0);
}

TEST_F(DrawGridTest, PageKeysHomeAndEndMoveAsADrawGridDoes) {
    const int page = grid.visibleRowCount();
    press(Qt::Key_PageDown);
    EXPECT_EQ(grid.row(), page);
    EXPECT_EQ(grid.topRow(), page);
    press(Qt::Key_PageUp);
    EXPECT_EQ(grid.row(), 0);
    EXPECT_EQ(grid.topRow(), 0);
    press(Qt::Key_End);
    EXPECT_EQ(grid.col(), 99);
    EXPECT_EQ(grid.leftCol(), grid.maxLeftCol());
    press(Qt::Key_Home);
    EXPECT_EQ(grid.col(), 0);
    press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.col(), 99);
    EXPECT_EQ(grid.row(), 79);
    press(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(grid.row(), grid.topRow()) << "Ctrl+PgUp goes to the first visible row";
}

TEST_F(DrawGridTest, CtrlArrowsScrollWithoutMovingTheCurrentCell) {
    press(Qt::Key_Right, Qt::ControlModifier);
    press(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(grid.leftCol(), 1);
    EXPECT_EQ(grid.topRow(), 1);
    EXPECT_EQ(grid.col(), 0);
    EXPECT_EQ(grid.row(), 0);
    EXPECT_TRUE(selections.empty());
}

TEST_F(DrawGridTest, KeyboardMovesCountAsClicks) {
    std::vector<QPoint> clicks;
    QObject::connect(&grid, &DrawGrid::clicked, [&](int c, int r) { clicks.emplace_back(c, r); });
    press(Qt::Key_Right);
    EXPECT_EQ(grid.col(), 1);
    press(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(clicks, std::vector<QPoint>{QPoint(1, 0)}) << "scrolling with Ctrl chooses no cell";
}

TEST_F(DrawGridTest, PressSelectsTheCellEvenWhenItIsCurrentAndDraggingSelectsEachCellEntered) {
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, centreOf(0, 0));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, centreOf(0, 0));
    ASSERT_EQ(selections.size(), 1u) << "a press on the current cell still selects it";

    selections.clear();
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, centreOf(2, 2));
    QMouseEvent move1(QEvent::MouseMove, QPointF(centreOf(3, 2)), QPointF(grid.viewport()->mapToGlobal(centreOf(3, 2))),
                      Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid.viewport(), &move1);
    QMouseEvent move2(QEvent::MouseMove, QPointF(centreOf(3, 2) + QPoint(1, 1)),
                      QPointF(grid.viewport()->mapToGlobal(centreOf(3, 2) + QPoint(1, 1))), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid.viewport(), &move2);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, centreOf(3, 2));
    const std::vector<Selection> expected{{2, 2, 0, 0}, {3, 2, 2, 2}};
    EXPECT_EQ(selections, expected) << "moving inside a cell selects nothing more";

    selections.clear();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centreOf(3, 2));
    QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(centreOf(3, 2)),
                       QPointF(grid.viewport()->mapToGlobal(centreOf(3, 2))), Qt::LeftButton, Qt::LeftButton,
                       Qt::NoModifier);
    QCoreApplication::sendEvent(grid.viewport(), &second);
    EXPECT_EQ(selections.size(), 1u) << "the second press of a double click does not select";
}

TEST_F(DrawGridTest, MovesWhileASilentSelectionIsAliveSelectNothing) {
    {
        const DrawGrid::SilentSelection silent(grid);
        grid.setCurrentCell(5, 5);
    }
    EXPECT_TRUE(selections.empty());
    EXPECT_EQ(grid.col(), 5);
    grid.setCurrentCell(6, 5);
    EXPECT_EQ(selections.size(), 1u) << "selecting again once the guard is gone";
}

TEST_F(DrawGridTest, PointerToCellCountsGridLinesWithTheCellBefore) {
    grid.setGridLineWidth(1);
    EXPECT_EQ(grid.cellAt(QPoint(0, 0)), QPoint(0, 0));
    EXPECT_EQ(grid.cellAt(QPoint(10, 10)), QPoint(0, 0)) << "the line after cell 0";
    EXPECT_EQ(grid.cellAt(QPoint(11, 22)), QPoint(1, 2));
    EXPECT_EQ(grid.cellAt(QPoint(-1, 5)), QPoint(-1, -1));
    grid.setColCount(3);
    EXPECT_EQ(grid.cellAt(QPoint(40, 5)), QPoint(-1, -1)) << "right of the last column";
}

TEST_F(DrawGridTest, GridLinesAreSilverBetweenAllColumnsAndRowsAndTheRestIsBlack) {
    grid.setColCount(3);
    grid.setRowCount(2);
    grid.setGridLineWidth(1);
    const QImage image = screenImage();
    EXPECT_EQ(image.pixelColor(5, 5), colourOf(0, 0));
    EXPECT_EQ(image.pixelColor(10, 5), QColor(192, 192, 192));
    EXPECT_EQ(image.pixelColor(16, 10), QColor(192, 192, 192));
    EXPECT_EQ(image.pixelColor(16, 16), colourOf(1, 1));
    EXPECT_EQ(image.pixelColor(32, 21), QColor(192, 192, 192)) << "line after the last cell";
    EXPECT_EQ(image.pixelColor(60, 5), QColor(0, 0, 0)) << "beyond the last column";
    EXPECT_EQ(image.pixelColor(5, 40), QColor(0, 0, 0)) << "below the last row";
}

TEST_F(DrawGridTest, ScrolledContentMatchesAFullRepaint) {
    for (int i = 0; i < 3; ++i)
        press(Qt::Key_Right, Qt::ControlModifier);
    press(Qt::Key_Down, Qt::ControlModifier);
    grid.horizontalScrollBar()->setValue(7);
    const QImage image = screenImage();
    for (int r = grid.topRow(); r < grid.topRow() + grid.visibleRowCount(); ++r)
        for (int c = grid.leftCol(); c < grid.leftCol() + grid.visibleColCount(); ++c)
            ASSERT_EQ(image.pixelColor(grid.cellRect(c, r).center()), colourOf(c, r)) << c << ", " << r;
}

TEST_F(DrawGridTest, ScrollingByOneColumnPaintsOnlyTheUncoveredStrip) {
    QCoreApplication::processEvents();
    int painted = 0;
    grid.draw = [&](QPainter& p, int c, int r, const QRect& rect) {
        ++painted;
        p.fillRect(rect, colourOf(c, r));
    };
    grid.viewport()->update();
    QCoreApplication::processEvents();
    painted = 0;
    press(Qt::Key_Right, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_GT(painted, 0);
    EXPECT_LE(painted, 2 * (grid.visibleRowCount() + 1)) << "one or two columns, not the whole view";
    const QImage image = grid.window()->screen()->grabWindow(grid.window()->winId()).toImage();
    ASSERT_FALSE(image.isNull());
    {
        const QPoint origin = grid.viewport()->mapTo(grid.window(), QPoint(0, 0));
        for (int c = grid.leftCol(); c < grid.leftCol() + grid.visibleColCount(); ++c)
            ASSERT_EQ(image.pixelColor(origin + grid.cellRect(c, 1).center()), colourOf(c, 1)) << c;
    }
}

TEST(DrawGridHuge, SevenThousandColumnsAtOnePixelReachTheLastCell) {
    test::guiApp();
    DrawGrid grid;
    grid.resize(300, 200);
    grid.setColCount(7168);
    grid.setRowCount(4096);
    grid.setDefaultColWidth(1);
    grid.setDefaultRowHeight(1);
    grid.setCurrentCell(7167, 4095);
    EXPECT_EQ(grid.leftCol(), 7168 - grid.visibleColCount());
    const QRect rect = grid.cellRect(7167, 4095);
    EXPECT_TRUE(grid.viewport()->rect().contains(rect));
    EXPECT_EQ(grid.cellAt(rect.topLeft()), QPoint(7167, 4095));
    grid.setDefaultColWidth(100000);
    grid.setCurrentCell(0, 0);
    EXPECT_EQ(grid.cellAt(QPoint(5, 0)), QPoint(0, 0));
    EXPECT_FALSE(grid.viewport()->rect().intersects(grid.cellRect(7167, 0))) << "far cells stay far";
}

} // namespace
} // namespace stonereach
