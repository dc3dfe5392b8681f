// The main window with its own files: the coordinates index behind List,
// the brush editor behind Edit, the options behind Extra > Options..., and
// the bookmarks kept between runs.
#include <fstream>

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <QToolButton>

#include "editor/BookmarkFile.h"
#include "editor/SelectionGroups.h"
#include "gui/app/EditorWindowFixture.h"
#include "gui/editor/DialogTestSupport.h"
#include "gui/editor/PalettePart.h"
#include "gui/editor/TSRFAddTile.h"
#include "gui/editor/TSRCustomBrush.h"
#include "gui/editor/TSRFOptions.h"
#include "gui/editor/TDlgSelectMode.h"
#include "gui/editor/TListForm.h"
#include "gui/widgets/TilePalette.h"

namespace stonereach {
namespace {

namespace fs = std::filesystem;
using test::whenModal;

class EditorOwnFiles : public test::EditorWindowTest {
protected:
    void writeHomeFile(const std::string& relative, const std::string& text) {
        fs::create_directories((home() / relative).parent_path());
        std::ofstream(home() / relative, std::ios::binary) << text;
    }
    std::string homeFile(const std::string& relative) {
        const auto bytes = test::readBytes(home() / relative);
        return std::string(bytes.begin(), bytes.end());
    }
    void startOnTokuno() {
        storePaths(mapFile("map4.mul", test::kTokunoSize), clientDir());
        start();
    }
};

TEST_F(EditorOwnFiles, OkInTheCoordinatesIndexFillsTheJumpEditsWithoutMovingTheView) {
    writeHomeFile("coords.def", "[0]\r\nX=5\r\nY=6\r\n[1]\r\nX=300\r\nY=400\r\n");
    startOnTokuno();
    go("10", "20");
    whenModal<TListForm>([](TListForm& form) {
        EXPECT_EQ(test::child<QLineEdit>(form, "PridatX").text(), "10");
        EXPECT_EQ(test::child<QLineEdit>(form, "PridatY").text(), "20");
        test::child<QTableWidget>(form, "Seznam").selectRow(1);
        QTest::mouseClick(&test::child<QPushButton>(form, "TlOK"), Qt::LeftButton);
    });
    click("List");
    EXPECT_EQ(edit("XJumpEdit").text(), "300");
    EXPECT_EQ(edit("YJumpEdit").text(), "400");
    EXPECT_EQ(view().col(), 10);
    EXPECT_EQ(view().row(), 20);

    // Cancel leaves the jump edits alone.
    whenModal<TListForm>([](TListForm& form) { QTest::keyClick(&form, Qt::Key_Escape); });
    click("List");
    EXPECT_EQ(edit("XJumpEdit").text(), "300");
}

TEST_F(EditorOwnFiles, TheBrushEditorOpensOnTheListedBrushesAndTheBrushesAreListedAgainAfterOk) {
    writeHomeFile("brushes/b.brs", "0,0,$0003\r\n");
    writeHomeFile("brushes/A.brs", "0,0,$0004\r\n");
    start();
    auto& brushes = child<QComboBox>("cbCustomBrushes");
    ASSERT_EQ(brushes.count(), 2);
    whenModal<TSRCustomBrush>([](TSRCustomBrush& editor) {
        auto& names = test::child<QComboBox>(editor, "cbCustomBrushes");
        ASSERT_EQ(names.count(), 2);
        EXPECT_EQ(names.itemText(0), "A");
        EXPECT_EQ(names.itemText(1), "b");
        QTest::keyClicks(&test::child<QLineEdit>(editor, "edBrushName"), "Cliff");
        QTest::mouseClick(&test::child<QPushButton>(editor, "BitBtn1"), Qt::LeftButton);
    });
    click("SpeedButton6");
    ASSERT_EQ(brushes.count(), 3);
    EXPECT_EQ(brushes.itemText(2), "Cliff");
    EXPECT_EQ(homeFile("brushes/Cliff.brs"), "");
}

TEST_F(EditorOwnFiles, OptionsOkWritesBothFilesAndTheWindowFollowsThem) {
    writeHomeFile("textures/tileids.lst", "textureid=$0003\r\ntextureid=$0004\r\n");
    start();
    auto& modes = child<QComboBox>("SelectDrawingModeComboBox");
    modes.setCurrentIndex(1);

    QMenu& extra = child<QMenu>("Spezial1");
    QAction* options = &child<QAction>("Options1");
    EXPECT_EQ(extra.actions().last(), options);
    EXPECT_TRUE(extra.actions()[extra.actions().size() - 2]->isSeparator());
    EXPECT_EQ(options->text(), "&Options...");

    // Cancel: nothing written, nothing reloaded.
    whenModal<TSRFOptions>([](TSRFOptions& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    options->trigger();
    EXPECT_FALSE(fs::exists(home() / "tilelist.xml"));
    EXPECT_EQ(modes.currentIndex(), 1);

    dialogs.inputAnswers = {QStringLiteral("mine.lst")};
    whenModal<TSRFOptions>([](TSRFOptions& dialog) {
        whenModal<TDlgSelectMode>([](TDlgSelectMode& group) {
            test::child<QLineEdit>(group, "edCaption").setText(QStringLiteral("Stones"));
            group.setTileList(QStringLiteral("$0004,$0003"));
            QTest::mouseClick(&test::child<QPushButton>(group, "BitBtn1"), Qt::LeftButton);
        });
        QTest::mouseClick(&test::child<QPushButton>(dialog, "btnAdd"), Qt::LeftButton);
        QTest::mouseClick(&test::child<QPushButton>(dialog, "btnAddList"), Qt::LeftButton);
        whenModal<TSRFAddTile>([](TSRFAddTile& entry) {
            entry.setEntryText(QStringLiteral("$0004"));
            QTest::mouseClick(&test::child<QPushButton>(entry, "BitBtn1"), Qt::LeftButton);
        });
        QTest::mouseClick(&test::child<QPushButton>(dialog, "btnAddTexture"), Qt::LeftButton);
        QTest::mouseClick(&test::child<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
    });
    options->trigger();

    EXPECT_EQ(readSelectionGroups(home() / "tilelist.xml").groups,
              (std::vector<TTileNamed>{{"Stones", {"$0004", "$0003"}}}));
    EXPECT_EQ(homeFile("textures/mine.lst"), "textureid=$0004\r\n");
    EXPECT_EQ(modes.currentIndex(), 1) << "the drawing mode stays";
    ASSERT_EQ(modes.count(), 4);
    EXPECT_EQ(modes.itemText(3), "Stones");
    EXPECT_EQ(child<TilePalette>("SortedTextureGrid").tiles(), (std::vector<int>{3, 4})) << "the list shown stays";
    QStringList checked;
    QStringList listed;
    for (QAction* item : child<QMenu>("pmCustomTextures").actions()) {
        listed << item->text();
        if (item->isChecked())
            checked << item->text();
    }
    EXPECT_EQ(checked, QStringList{"tileids.lst"});
    EXPECT_EQ(listed, (QStringList{"mine.lst", "tileids.lst"}));

    // A group that is deleted takes its drawing mode with it.
    modes.setCurrentIndex(3);
    dialogs.answers = {true};
    whenModal<TSRFOptions>([](TSRFOptions& dialog) {
        auto& groups = test::child<QTreeWidget>(dialog, "lvSelectModes");
        groups.setCurrentItem(groups.topLevelItem(0));
        QTest::mouseClick(&test::child<QPushButton>(dialog, "btnDelete"), Qt::LeftButton);
        QTest::mouseClick(&test::child<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
    });
    options->trigger();
    EXPECT_EQ(modes.count(), 3);
    EXPECT_EQ(modes.currentIndex(), 0) << "back at Don't draw";
}

TEST_F(EditorOwnFiles, BookmarksAreLoadedAtCreationAndWrittenWholeAtClosing) {
    BookmarkTable stored{};
    stored[3] = {120, 45, true};
    stored[4] = {-7, 9, false};
    std::string text = bookmarkFileText(stored);
    // A damaged Col keeps what the slot had; the rest of the file loads.
    text.replace(text.find("<Col id=\"5\">0</Col>"), 19, "<Col id=\"5\">x</Col>");
    writeHomeFile("bookmarklist.xml", text);
    startOnTokuno();
    EXPECT_EQ(bookmarks, stored);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("bookmarklist.xml"))) << dialogs.messages[0].toStdString();

    bookmarks[3].enabled = false;
    bookmarks[9] = {1, 2, true};
    window->close();
    EXPECT_EQ(homeFile("bookmarklist.xml"), bookmarkFileText(bookmarks));
    EXPECT_NE(homeFile("bookmarklist.xml").find("<Enabled id=\"9\">True</Enabled>\r\n"), std::string::npos);
}

TEST_F(EditorOwnFiles, AFreshProgramDirectoryGetsTheBookmarksAndCancelAtStartUpWritesNothing) {
    fs::remove_all(home());
    start();
    window->close();
    EXPECT_EQ(homeFile("bookmarklist.xml"), bookmarkFileText(BookmarkTable{}));

    fs::remove(home() / "bookmarklist.xml");
    store.setValue("MAPx.mul", (temp / "gone" / "map0.mul").string());
    dialogs.choices = {ErrorChoice::Cancel};
    start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 2000));
    EXPECT_FALSE(fs::exists(home() / "bookmarklist.xml"));
}

} // namespace
} // namespace stonereach
