// The map copy dialog driven through its edits and buttons: the states of the
// path and coordinate edits at the edges of both maps, the refusals in their
// order, and the cells that land in the destination file.
#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "gui/app/ScriptedDialogs.h"
#include "gui/maptools/TMapCopyForm.h"
#include "gui/widgets/ValidityColours.h"
#include "mapdata/FaultInjection.h"
#include "mapdata/MapLayout.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"
#include "gui/patches/ToolTestSupport.h"

using namespace stonereach;
namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kTokunoSize = 6421156;     // map4.mul, 1448 x 1448, block height 181
constexpr std::uint64_t kIlshenarSize = 11289600;  // map2.mul, 2304 x 1600, block height 200

class MapCopyDialog : public ::testing::Test, protected test::WithEditorApp {
protected:
    MapCopyDialog() {
        fs::create_directories(dir / "src");
        fs::create_directories(dir / "dst");
        test::writePatternFile(source, kTokunoSize);
        test::writeBytes(destination, {});
        fs::resize_file(destination, kIlshenarSize);
    }

    QLineEdit& edit(const char* name) { return *form.findChild<QLineEdit*>(name); }
    QString label(const char* name) { return form.findChild<QLabel*>(name)->text(); }
    QPushButton& copyButton() { return *form.findChild<QPushButton*>("btnCopy"); }
    bool red(const char* name) { return shownBackground(edit(name)) == invalidColour(); }

    void openBoth() {
        edit("EditSourceMap").setText(qPath(source));
        dialogs.openFiles.push_back(qPath(destination));
        QTest::mouseClick(form.findChild<QToolButton*>("btnDestinationFile"), Qt::LeftButton);
    }
    void set(const char* x1, const char* y1, const char* x2, const char* y2, const char* dx, const char* dy) {
        edit("EditSX1").setText(x1);
        edit("EditSY1").setText(y1);
        edit("EditSX2").setText(x2);
        edit("EditSY2").setText(y2);
        edit("EditDX").setText(dx);
        edit("EditDY").setText(dy);
    }
    void copy() { QTest::mouseClick(&copyButton(), Qt::LeftButton); }

    // The destination's bytes after copying the rectangle cell by cell.
    std::vector<std::uint8_t> expectedCopy(int x1, int y1, int x2, int y2, int dx, int dy) {
        const auto from = test::readBytes(source);
        auto to = test::readBytes(destination);
        for (int x = x1; x <= x2; ++x)
            for (int y = y1; y <= y2; ++y)
                std::copy_n(&from[cellOffset(x, y, 181)], 3, &to[cellOffset(x - x1 + dx, y - y1 + dy, 200)]);
        return to;
    }

    test::TempDir dir;
    fs::path source = dir / "src/map4.mul";
    fs::path destination = dir / "dst/map2.mul";
    test::FakeEditorLink link;
    test::ScriptedDialogs dialogs;
    TMapCopyForm form{link, dialogs, link.mainWindow()};
};

TEST_F(MapCopyDialog, CopiesTheRectangleToTheDestinationsOwnCellAddresses) {
    form.show();
    EXPECT_EQ(label("TextSMapInfo"), "Unknown");
    EXPECT_FALSE(copyButton().isEnabled());
    openBoth();
    EXPECT_EQ(dialogs.openRequests[0].filters, (QStringList{"Ultima Online MAP (*.mul)", "Ultima Online MAP container (*.uop)"}));
    EXPECT_EQ(label("TextSMapInfo"), "Tokuno");
    EXPECT_EQ(label("TextSMapSize"), "1448x1448");
    EXPECT_EQ(label("TextDMapInfo"), "Ilshenar");
    EXPECT_EQ(label("TextDMapSize"), "2304x1600");
    EXPECT_EQ(shownBackground(edit("EditSourceMap")), validColour());
    ASSERT_TRUE(copyButton().isEnabled());

    // The last column and row land exactly on the destination's edges.
    set("1400", "1300", "1447", "1447", "2256", "1452");
    const auto expected = expectedCopy(1400, 1300, 1447, 1447, 2256, 1452);
    const auto sourceBefore = test::readBytes(source);
    test::saveScreenshot(form, "map-copy");
    copy();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join("|").toStdString();
    EXPECT_TRUE(test::readBytes(destination) == expected);
    EXPECT_TRUE(test::readBytes(source) == sourceBefore);
    EXPECT_EQ(form.findChild<QProgressBar*>("ProgressBar")->value(), 100);
    EXPECT_EQ(link.written, std::vector<fs::path>{destination}) << "an open destination repaints";
    EXPECT_TRUE(copyButton().isEnabled());

    // A rectangle in column 0 alone ends with the bar full too.
    set("0", "0", "0", "5", "7", "7");
    const auto columnZero = expectedCopy(0, 0, 0, 5, 7, 7);
    form.findChild<QProgressBar*>("ProgressBar")->setValue(0);
    copy();
    EXPECT_EQ(form.findChild<QProgressBar*>("ProgressBar")->value(), 100);
    EXPECT_TRUE(test::readBytes(destination) == columnZero);
}

TEST_F(MapCopyDialog, AKeyboardUserFillsTheDialogAndCopies) {
    form.show();
    QApplication::setActiveWindow(&form);
    edit("EditSourceMap").setFocus();
    const auto type = [&](const QString& text) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        if (auto* lineEdit = qobject_cast<QLineEdit*>(focus))
            lineEdit->selectAll();
        QTest::keyClicks(focus, text);
        QTest::keyClick(focus, Qt::Key_Tab);
    };
    type(qPath(source));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // past the "..." button
    for (const char* value : {"8", "16", "9", "17"})
        type(value);
    type(qPath(destination));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    type("100");
    type("200");
    ASSERT_EQ(QApplication::focusWidget(), &copyButton());
    const auto expected = expectedCopy(8, 16, 9, 17, 100, 200);
    QTest::keyClick(&copyButton(), Qt::Key_Space);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    EXPECT_TRUE(test::readBytes(destination) == expected);
}

TEST_F(MapCopyDialog, CoordinateEditsTurnRedAtTheEdgesOfBothMaps) {
    form.show();
    openBoth();
    set("0", "0", "10", "99", "2293", "1500");
    for (const char* name : {"EditSX1", "EditSY1", "EditSX2", "EditSY2", "EditDX", "EditDY"})
        EXPECT_FALSE(red(name)) << name;
    EXPECT_TRUE(form.coordinateValid(TMapCopyForm::DX));

    edit("EditDX").setText("2294");  // the last column would land at 2304
    EXPECT_TRUE(red("EditDX"));
    edit("EditSX2").setText("9");  // one column narrower fits again
    EXPECT_FALSE(red("EditDX"));
    edit("EditDY").setText("1501");
    EXPECT_TRUE(red("EditDY"));
    edit("EditDY").setText("-1");
    EXPECT_TRUE(red("EditDY")) << "a negative corner, whatever the rectangle";
    edit("EditDY").setText("0");
    EXPECT_FALSE(red("EditDY"));

    edit("EditSX1").setText("1447");
    EXPECT_FALSE(red("EditSX1"));
    edit("EditSX1").setText("1448");
    EXPECT_TRUE(red("EditSX1"));
    edit("EditSX1").setText("");
    EXPECT_TRUE(red("EditSX1")) << "an emptied edit keeps its state";
    edit("EditSY2").setText("-");
    EXPECT_TRUE(red("EditSY2")) << "text that is no number";
    EXPECT_TRUE(dialogs.errors.isEmpty()) << "typing never pops up a message";
    edit("EditSY2").setText("$10");
    EXPECT_FALSE(red("EditSY2"));

    // A smaller destination checks the destination corner again.
    edit("EditSX1").setText("0");
    edit("EditSX2").setText("10");
    edit("EditDX").setText("1440");
    EXPECT_FALSE(red("EditDX"));
    fs::create_directories(dir / "small");
    test::writeBytes(dir / "small/map4.mul", {});
    fs::resize_file(dir / "small/map4.mul", kTokunoSize);
    edit("EditDestinationMap").setText(qPath(dir / "small/map4.mul"));
    EXPECT_TRUE(red("EditDX"));

    // A path that names no file only turns red; a map of a known size under
    // another name is unknown.
    edit("EditDestinationMap").setText(qPath(dir / "small/none.mul"));
    EXPECT_EQ(shownBackground(edit("EditDestinationMap")), invalidColour());
    EXPECT_EQ(label("TextDMapInfo"), "Tokuno");
    EXPECT_FALSE(copyButton().isEnabled());
    fs::rename(dir / "small/map4.mul", dir / "small/map9.mul");
    edit("EditDestinationMap").setText(qPath(dir / "small/map9.mul"));
    EXPECT_EQ(label("TextDMapInfo"), "Unknown");
    EXPECT_EQ(label("TextDMapSize"), "Unknown");
    EXPECT_FALSE(copyButton().isEnabled());
}

TEST_F(MapCopyDialog, RefusesInItsOrderAndWritesNothing) {
    form.show();
    openBoth();
    const auto before = test::readBytes(destination);

    set("0", "0", "0", "0", "2304", "0");
    copy();
    set("0", "0", "0", "0", "0", "0");
    copy();
    // The destination stops being a map of a known size after it was chosen.
    fs::resize_file(destination, kIlshenarSize - 1);
    copy();
    EXPECT_EQ(dialogs.messages, (QStringList{"You entered wrong coordinates!", "Coordinates X1,Y1,X2,Y2 cannot be 0!",
                                             "Unknown map!"}));
    EXPECT_TRUE(dialogs.errors.isEmpty());
    fs::resize_file(destination, kIlshenarSize);
    EXPECT_TRUE(test::readBytes(destination) == before);
    EXPECT_TRUE(link.written.empty());
    EXPECT_TRUE(copyButton().isEnabled());
}

TEST_F(MapCopyDialog, AFailingDiskEndsTheCopyWithTheFileAndTheCauseAndTheButtonComesBack) {
    form.show();
    openBoth();
    set("10", "10", "300", "300", "0", "0");
    {
        test::FailingDevice device(0, EIO, {IoOperation::Write});
        const ScopedFaultInjector injected(device);
        copy();
        ASSERT_TRUE(device.failed());
    }
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("Input/output error")) << dialogs.errors[0].toStdString();
    EXPECT_TRUE(dialogs.errors[0].contains(qPath(destination))) << dialogs.errors[0].toStdString();
    EXPECT_TRUE(copyButton().isEnabled());
    EXPECT_FALSE(form.running());
    EXPECT_EQ(link.written, std::vector<fs::path>{destination}) << "cells written before the failure are shown";

    // Both files were closed: the next copy runs.
    const auto expected = expectedCopy(10, 10, 300, 300, 0, 0);
    copy();
    EXPECT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(test::readBytes(destination) == expected);
}

} // namespace
