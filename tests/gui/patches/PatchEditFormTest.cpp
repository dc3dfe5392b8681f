// The patch editor and "Patch Map from file", driven as a user drives them:
// cells captured from the map, the list saved, loaded and applied, and the
// cells on disk checked.
#include <filesystem>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "gui/app/GuiTestSupport.h"
#include "gui/app/ScriptedDialogs.h"
#include "gui/editor/ToolWindows.h"
#include "gui/app/WindowRegions.h"
#include "gui/patches/TPatchEditForm.h"
#include "mapdata/MapFile.h"
#include "mapdata/MapIdentity.h"
#include "patches/PointPatch.h"
#include "sample/SampleWorld.h"
#include "support/TempDir.h"
#include "gui/patches/ToolTestSupport.h"

using namespace stonereach;
namespace fs = std::filesystem;

namespace {

class PatchEditor : public ::testing::Test, protected test::WithEditorApp {
protected:
    void SetUp() override {
        const auto& shared = test::sharedSampleWorld("Tokuno");
        fs::copy_file(shared.mapPath, mapPath);
        link.open(mapPath, shared.mapPath.parent_path());
        tools.addMenuEntries(MenuSection{&extra, nullptr});
    }

    QAction& menuEntry(const char* name) { return *extra.findChild<QAction*>(QString::fromLatin1(name)); }
    TPatchEditForm& editor() { return tools.patchEditor(); }
    QTableWidget& list() { return *editor().findChild<QTableWidget*>("Seznam"); }
    QLineEdit& field(const char* name) { return *editor().findChild<QLineEdit*>(name); }
    void click(const char* name) { QTest::mouseClick(editor().findChild<QPushButton*>(name), Qt::LeftButton); }
    QString cellText(int row, int column) { return list().item(row, column)->text(); }

    MapCell cellAt(int x, int y) { return MapFile(mapPath, File::Mode::Read).readCell(x, y, geometry); }
    void setCell(int x, int y, MapCell cell) { MapFile(mapPath, File::Mode::ReadWrite).writeCell(x, y, cell, geometry); }

    // What the main window's Insert key does with the cell under the pointer.
    bool capture(int x, int y) {
        if (!tools.patchEditorVisible() || tools.IsOnPatchList(QString::number(x), QString::number(y)))
            return false;
        tools.addCapturedCell(x, y, cellAt(x, y));
        return true;
    }

    void writeText(const fs::path& path, const std::string& text) {
        test::writeBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
    }

    test::TempDir dir;
    fs::path mapPath = dir / "map4.mul";
    MapGeometry geometry{1448, 1448, 181};
    test::FakeEditorLink link;
    test::ScriptedDialogs dialogs;
    MemorySettingsStore store;
    ToolWindows tools{link, dialogs, store};
    QMenu extra;
};

TEST_F(PatchEditor, CapturedCellsSavedLoadedAndAppliedComeBackOnTheMap) {
    EXPECT_FALSE(capture(5, 7)) << "nothing is captured while the editor is hidden";
    menuEntry("PatchEditor").trigger();
    ASSERT_TRUE(tools.patchEditorVisible());

    // A cell with a negative altitude and one with a high tile id.
    setCell(5, 7, MapCell{0x011A, -12});
    setCell(1000, 1200, MapCell{0x3FFE, 100});
    ASSERT_TRUE(capture(5, 7));
    ASSERT_TRUE(capture(1000, 1200));
    EXPECT_FALSE(capture(5, 7)) << "the same coordinates are not captured twice";
    EXPECT_FALSE(tools.IsOnPatchList("05", "7"));
    ASSERT_EQ(list().rowCount(), 2);
    EXPECT_EQ(cellText(0, 0), "5");
    EXPECT_EQ(cellText(0, 2), "-12");
    EXPECT_EQ(cellText(0, 3), "01 1A");
    EXPECT_EQ(cellText(1, 3), "3F FE");
    test::saveScreenshot(editor(), "patch-editor");

    // Saved over a file that held a longer list: no section of it is left.
    const fs::path patch = dir / "captured.bnp";
    writeText(patch, "[0]\r\nX=1\r\n[1]\r\nX=2\r\n[2]\r\nX=3\r\n");
    dialogs.saveFiles.push_back(qPath(patch));
    click("TLSave");
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].title, "Save Patch file");
    EXPECT_EQ(dialogs.saveRequests[0].fileName, "bnstonereach.bnp");
    EXPECT_EQ(dialogs.saveRequests[0].filters, QStringList{"BNStonereach Patch (*.bnp)"});
    const std::string expected = "[0]\r\nX=5\r\nY=7\r\nZ=-12\r\nID=01 1A\r\n";
    const auto saved = test::readBytes(patch);
    ASSERT_GE(saved.size(), expected.size());
    EXPECT_EQ(std::string(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
    EXPECT_EQ(readPointPatchFile(patch).size(), 2u);

    // The map changes, the list is cleared and loaded again from the file.
    setCell(5, 7, MapCell{0, 0});
    setCell(1000, 1200, MapCell{7, 7});
    click("TlClear");
    EXPECT_EQ(list().rowCount(), 0);
    dialogs.openFiles.push_back(qPath(patch));
    click("TLLoad");
    EXPECT_EQ(dialogs.openRequests.back().title, "Load Patch file");
    ASSERT_EQ(list().rowCount(), 2);
    EXPECT_EQ(cellText(1, 0), "1000");
    EXPECT_EQ(cellText(1, 2), "100");

    // Applied from the menu, the file puts both cells back.
    dialogs.openFiles.push_back(qPath(patch));
    menuEntry("PatchMap").trigger();
    EXPECT_EQ(dialogs.openRequests.back().fileName, "bnstonereach.bnp");
    EXPECT_EQ(dialogs.openRequests.back().filters, QStringList{"Brannock Stonereach (*.bnp)"});
    EXPECT_EQ(cellAt(5, 7), (MapCell{0x011A, -12}));
    EXPECT_EQ(cellAt(1000, 1200), (MapCell{0x3FFE, 100}));
    EXPECT_EQ(link.written, std::vector<fs::path>{mapPath}) << "the view repaints";
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join("|").toStdString();
}

TEST_F(PatchEditor, EmptyFilesAreRefusedByTheEditorAndByPatchMap) {
    menuEntry("PatchEditor").trigger();
    click("TLAdd");
    const fs::path empty = dir / "empty.bnp";
    writeText(empty, "X=1\r\n");

    dialogs.openFiles.push_back(qPath(empty));
    click("TLLoad");
    dialogs.openFiles.push_back(qPath(dir / "missing.bnp"));
    click("TLLoad");
    EXPECT_EQ(dialogs.messages, (QStringList{"Empty or corupted file!", "Empty or corupted file!"}));
    EXPECT_EQ(list().rowCount(), 1) << "the list is left as it was";

    const auto before = test::readBytes(mapPath);
    dialogs.openFiles.push_back(qPath(empty));
    menuEntry("PatchMap").trigger();
    EXPECT_EQ(dialogs.messages.back(), "File is empty or corupted!");
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(test::readBytes(mapPath), before);
    EXPECT_EQ(link.written.size(), 1u) << "the view repaints after a refusal too";

    // Cancelling the file dialog only repaints.
    menuEntry("PatchMap").trigger();
    EXPECT_EQ(link.written.size(), 2u);
    EXPECT_EQ(dialogs.messages.size(), 3);
}

TEST_F(PatchEditor, EntriesOutsideTheMapAndMissingSectionsAreSkippedAndCounted) {
    const MapCell untouched = cellAt(2, 2);
    const fs::path patch = dir / "gaps.bnp";
    // Three section lines: entries 0 to 2 are read; section 2 is missing
    // (section 3 lies beyond the count), and entry 1 lies outside Tokuno.
    writeText(patch, "[0]\r\nX=1\r\nY=1\r\nZ=5\r\nID=00 03\r\n"
                     "[1]\r\nX=1448\r\nY=0\r\nZ=3\r\n"
                     "[3]\r\nX=2\r\nY=2\r\nZ=9\r\n");
    dialogs.openFiles.push_back(qPath(patch));
    menuEntry("PatchMap").trigger();
    EXPECT_EQ(cellAt(1, 1), (MapCell{3, 5}));
    EXPECT_EQ(cellAt(2, 2), untouched);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0], "1 of the entries lie outside the map and were not applied.\n"
                                   "1 entry numbers are missing from the file; nothing was applied for them.");

    // The editor loads the entries the file has, without made-up ones.
    menuEntry("PatchEditor").trigger();
    dialogs.openFiles.push_back(qPath(patch));
    click("TLLoad");
    ASSERT_EQ(list().rowCount(), 2);
    EXPECT_EQ(cellText(1, 0), "1448");
    EXPECT_EQ(cellText(1, 3), "") << "a missing ID key reads empty";
}

TEST_F(PatchEditor, AnEntryThatDoesNotParseStopsTheRunAndTheEntriesBeforeItStay) {
    const fs::path patch = dir / "bad.bnp";
    writeText(patch, "[0]\r\nX=3\r\nY=4\r\nZ=-7\r\nID=\r\n"
                     "[1]\r\nX=5\r\nY=6\r\nZ=1\r\nID=12 345\r\n"
                     "[2]\r\nX=8\r\nY=8\r\nZ=1\r\nID=\r\n");
    const MapCell before3 = cellAt(3, 4);
    const MapCell before5 = cellAt(5, 6);
    const MapCell before8 = cellAt(8, 8);
    dialogs.openFiles.push_back(qPath(patch));
    menuEntry("PatchMap").trigger();
    EXPECT_EQ(dialogs.errors, QStringList{"Input not SpacedHex (entry [1], ID)"}) << "the entry at fault is named";
    EXPECT_EQ(cellAt(3, 4), (MapCell{before3.tile, -7})) << "an empty ID changes only the altitude";
    EXPECT_EQ(cellAt(5, 6), before5);
    EXPECT_EQ(cellAt(8, 8), before8);
    EXPECT_EQ(link.written.size(), 1u);
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->objectName() == "ProgressForm" && window->isVisible()) << "the progress window closed";
}

TEST_F(PatchEditor, TheListIsEditedWithTheFieldsAndTheKeyboard) {
    menuEntry("PatchEditor").trigger();
    const auto add = [&](const char* x, const char* y, const char* z) {
        field("PridatX").setText(x);
        field("PridatY").setText(y);
        field("PridatZ").setText(z);
        click("TLAdd");
    };
    add("7", "1", "1");
    add("07", "1", "2");
    add("7", "1", "3");
    EXPECT_EQ(dialogs.messages, QStringList{"This coors are on list!"});
    add("30", "40", "4");
    ASSERT_EQ(list().rowCount(), 3);

    // Selecting an entry fills the fields; Edit writes them back into it.
    list().selectRow(2);
    EXPECT_EQ(field("PridatX").text(), "30");
    EXPECT_EQ(field("PridatZ").text(), "4");
    field("PridatZ").setText("-5");
    click("TlEdit");
    EXPECT_EQ(cellText(2, 2), "-5");

    // Texts that applying would stop at are refused where they are typed.
    dialogs.messages.clear();
    field("PridatZ").setText("200");
    click("TlEdit");
    field("PridatZ").setText("1");
    field("PridatX").setText("abc");
    click("TLAdd");
    field("PridatX").setText("31");
    field("PridatID").setText("12 3");
    click("TLAdd");
    EXPECT_EQ(dialogs.messages, (QStringList{"Z: Altitude 200 is outside -128..127",
                                             "X: 'abc' is not a valid integer value", "ID: Input not SpacedHex"}));
    EXPECT_EQ(list().rowCount(), 3);
    EXPECT_EQ(cellText(2, 2), "-5");
    field("PridatID").setText("00 03");

    // Enter on the entry jumps the map view there.
    list().setFocus();
    QTest::keyClick(&list(), Qt::Key_Return);
    ASSERT_EQ(link.jumps.size(), 1u);
    EXPECT_EQ(link.jumps[0], (CellPoint{30, 40}));

    // Several selected entries are removed together.
    list().setSelectionMode(QAbstractItemView::MultiSelection);
    list().clearSelection();
    list().selectRow(0);
    list().selectRow(2);
    list().setSelectionMode(QAbstractItemView::ExtendedSelection);
    click("TLRemove");
    ASSERT_EQ(list().rowCount(), 1);
    EXPECT_EQ(cellText(0, 0), "07");

    // Escape hides the editor and keeps its list.
    QTest::keyClick(&editor(), Qt::Key_Escape);
    EXPECT_FALSE(tools.patchEditorVisible());
    menuEntry("PatchEditor").trigger();
    EXPECT_EQ(list().rowCount(), 1);
}

} // namespace
