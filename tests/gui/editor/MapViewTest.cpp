#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "editor/AltitudeColour.h"
#include "gui/editor/MapView.h"
#include "render/FakeDrawSource.h"
#include "support/GuiApp.h"

namespace stonereach {
namespace {

class MapViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.resize(400, 300);
        view.mapChanged();
    }

    void showView() {
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    // What the screen shows of the view.
    QImage screen() {
        QCoreApplication::processEvents();
        const QImage image = view.window()->screen()->grabWindow(view.window()->winId()).toImage();
        const QPoint origin = view.viewport()->mapTo(view.window(), QPoint(0, 0));
        return image.copy(QRect(origin, view.viewport()->size()));
    }

    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(&view, Qt::Key(k), mods);
    }

    void moveMouse(QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(view.viewport()->mapToGlobal(pos)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view.viewport(), &move);
    }

    QApplication& app = test::guiApp();
    test::FakeDrawSource source;
    BookmarkTable bookmarks{};
    MapView view{source, bookmarks};
};

TEST_F(MapViewTest, IsTheMainDrawGridWithTheDesignDefaults) {
    test::FakeDrawSource other;
    BookmarkTable table{};
    MapView fresh(other, table);
    EXPECT_EQ(fresh.objectName(), QStringLiteral("MainDrawGrid"));
    EXPECT_EQ(fresh.colCount(), 6144);
    EXPECT_EQ(fresh.rowCount(), 4096);
    EXPECT_EQ(fresh.zoom(), 45);
    EXPECT_EQ(fresh.gridLineWidth(), 0);
    EXPECT_EQ(fresh.hoverCell(), (CellPoint{0, 0}));
}

TEST_F(MapViewTest, PointerBeyondTheMapIsClampedToTheMapsLastCell) {
    source.geometry = MapGeometry{1448, 1448, 181};
    source.ready = false; // nothing is read; only the geometry matters
    view.mapChanged();
    view.setLeftCol(100000);
    view.setTopRow(100000);
    ASSERT_EQ(view.leftCol(), 1448 - view.visibleColCount());
    QSignalSpy hovered(&view, &MapView::hoverChanged);
    const QPoint beyond(view.viewport()->width() - 1, view.viewport()->height() - 1);
    ASSERT_EQ(view.cellAt(beyond), QPoint(-1, -1)) << "the pointer is right of and below the last cell";
    moveMouse(beyond);
    EXPECT_EQ(view.hoverCell(), (CellPoint{1447, 1447}));
    ASSERT_EQ(hovered.count(), 1);
    EXPECT_EQ(hovered.at(0).at(0).toInt(), 1447);

    source.geometry.reset();
    moveMouse(beyond);
    EXPECT_GT(view.hoverCell().x, 1447) << "a map of unknown layout clamps nothing";

    view.setLeftCol(0);
    moveMouse(QPoint(-5, 50));
    EXPECT_EQ(view.hoverCell().x, 0) << "left of every cell is raised to 0";
    moveMouse(QPoint(45 * 2 + 3, 45 + 1));
    EXPECT_EQ(view.hoverCell(), (CellPoint{2, view.topRow() + 1}));
}

TEST_F(MapViewTest, ArrowKeysScrollAndAreToldBeforeTheGridMovesTheCell) {
    // The order matters: painting skips the selection the grid's move makes.
    std::vector<std::string> events;
    QObject::connect(&view, &MapView::arrowScrolled, [&] { events.push_back("scrolled"); });
    QObject::connect(&view, &MapView::selectCell, [&](int col, int row) {
        events.push_back("select " + std::to_string(col) + "," + std::to_string(row));
    });
    key(Qt::Key_Left);
    EXPECT_EQ(events, std::vector<std::string>{"scrolled"}) << "told even though nothing moved at the edge";
    EXPECT_EQ(view.col(), 0);

    events.clear();
    key(Qt::Key_Right);
    EXPECT_EQ(events, (std::vector<std::string>{"scrolled", "select 1,0"}));
    EXPECT_EQ(view.leftCol(), 1) << "the handler scrolls one column";
    EXPECT_EQ(view.col(), 1) << "the grid moves the current cell, keeping it in view";

    events.clear();
    key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(events, std::vector<std::string>{"scrolled"});
    EXPECT_EQ(view.row(), 0) << "with Ctrl the cell stays";
    EXPECT_EQ(view.topRow(), 2) << "the handler and the grid each scroll one row";
}

TEST_F(MapViewTest, InsertAndCtrlZAreHandedToTheWindow) {
    QSignalSpy insert(&view, &MapView::insertPressed);
    QSignalSpy undo(&view, &MapView::undoRequested);
    key(Qt::Key_Insert);
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Z);
    EXPECT_EQ(insert.count(), 1);
    EXPECT_EQ(undo.count(), 1);
}

TEST_F(MapViewTest, BookmarkKeysStoreJumpAndRemoveWithTheLabelOnTheCell) {
    source.set(2, 2, 1, 0);
    source.textures[1] = TileImage(64, 64, 0x7C00);
    showView();
    view.setCurrentCell(2, 2);
    QSignalSpy jumps(&view, &MapView::goToBookmarkRequested);

    key(Qt::Key_3, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(bookmarks[3], (BookmarkSlot{2, 2, true}));
    ASSERT_EQ(jumps.count(), 1) << "Ctrl is held, so the jump to slot 3 is asked for too";
    EXPECT_EQ(jumps.at(0).at(0).toInt(), 3);
    const QRect cell = view.cellRect(2, 2);
    EXPECT_EQ(screen().pixelColor(cell.left() + 2, cell.bottom() + 1 - 14), QColor(0, 0, 128));

    view.setCurrentCell(40, 30);
    key(Qt::Key_3, Qt::ControlModifier);
    ASSERT_EQ(jumps.count(), 2);
    EXPECT_EQ(jumps.at(1).at(0).toInt(), 3);

    key(Qt::Key_3, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(jumps.count(), 2) << "digits of the numeric pad are not bookmark keys";

    view.setCurrentCell(2, 2);
    key(Qt::Key_3, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_FALSE(bookmarks[3].enabled);
    const QRect now = view.cellRect(2, 2);
    EXPECT_EQ(screen().pixelColor(now.left() + 2, now.bottom() + 1 - 14), QColor(248, 0, 0)) << "label gone";
}

TEST_F(MapViewTest, DrawsCellsWithAltitudeColourAndOutlineFromTheFile) {
    source.textures[1] = TileImage(64, 64, 0x7C00);
    source.set(0, 0, 1, -49);
    source.set(1, 0, 1, -48);
    view.setDisplaySwitches({.showAltitude = true, .coloredAltitude = true});
    showView();
    view.setFocus();
    QImage image = screen();
    EXPECT_EQ(image.pixelColor(2, 3), QColor(0, 39, 39));
    EXPECT_EQ(image.pixelColor(45 + 2, 3), QColor(128, 167, 39));
    EXPECT_EQ(image.pixelColor(0, 30), view.palette().color(QPalette::Highlight)) << "the focus mark";
    EXPECT_EQ(image.pixelColor(45, 30), QColor(248, 0, 0));
    view.clearFocus();
    EXPECT_EQ(screen().pixelColor(0, 30), QColor(255, 0, 0)) << "outline of the current cell, once the focus left";

    source.set(1, 0, 1, 127); // written behind the view's back
    view.redrawCell(1, 0);
    EXPECT_EQ(screen().pixelColor(45 + 2, 3), QColor(254, 0, 254)) << "no stale cell";
}

TEST_F(MapViewTest, ZoomStaysWithinOnePixelAndItsUpperBound) {
    EXPECT_EQ(MapView::zoomedIn(MapView::zoomedIn(MapView::zoomedIn(45))), 60);
    EXPECT_EQ(MapView::zoomedOut(5), 1);
    EXPECT_EQ(MapView::zoomedOut(1), 1);
    view.setZoom(-20);
    EXPECT_EQ(view.zoom(), 1);
    EXPECT_EQ(view.defaultColWidth(), 1);
    view.setZoom(1 << 30);
    EXPECT_EQ(view.zoom(), MapView::MaxZoom);
}

TEST_F(MapViewTest, ADrawErrorIsReportedOnceAfterThePaint) {
    source.geometry = MapGeometry{1448, 1448, 181}; // far larger than the file
    view.mapChanged();
    QSignalSpy failed(&view, &MapView::drawFailed);
    showView();
    view.setLeftCol(1000);
    QCoreApplication::processEvents();
    view.redrawAll();
    QCoreApplication::processEvents();
    ASSERT_EQ(failed.count(), 1);
    EXPECT_FALSE(failed.at(0).at(0).toString().isEmpty());
}

// A cell whose tile lies past the end of the texture index: that cell alone
// is black, the rest of the view is drawn, before and after scrolling, and
// the failure is told once until the files change.
TEST_F(MapViewTest, AnUnreadableTileCostsItsOwnCellAndIsToldOnce) {
    source.textures[1] = TileImage(64, 64, 0x7C00);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            source.set(x, y, 1, 0);
    source.set(2, 1, 0xFFFF, 0);
    source.unreadable = {0xFFFF};
    QSignalSpy failed(&view, &MapView::drawFailed);
    showView();
    const auto colourOfCell = [&](const QImage& shown, int col, int row) {
        return shown.pixelColor((col - view.leftCol()) * 45 + 22, (row - view.topRow()) * 45 + 22);
    };
    for (int scroll = 0; scroll < 3; ++scroll) {
        view.setLeftCol(scroll);
        const QImage shown = screen();
        for (int row = 0; row < 6; ++row)
            for (int col = scroll; col < scroll + 8; ++col)
                ASSERT_EQ(colourOfCell(shown, col, row), col == 2 && row == 1 ? QColor(0, 0, 0) : QColor(248, 0, 0))
                    << "scrolled by " << scroll << ", cell " << col << ", " << row;
    }
    view.redrawAll();
    QCoreApplication::processEvents();
    ASSERT_EQ(failed.count(), 1);
    const QString message = failed.at(0).at(0).toString();
    EXPECT_TRUE(message.contains(QStringLiteral("tile FF FF (65535)"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("texidx.mul"))) << message.toStdString();

    ++source.generation; // the client files were reopened
    view.redrawAll();
    EXPECT_TRUE(failed.count() == 2 || failed.wait(5000));
}

} // namespace
} // namespace stonereach
