// The options dialog and its two small dialogs driven as a user would; each
// test ends with the files that OK wrote, or did not write.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "editor/SelectionGroups.h"
#include "editor/TileLists.h"
#include "gui/app/AccessibleNames.h"
#include "gui/editor/DialogTestSupport.h"
#include "gui/editor/TSRFAddTile.h"
#include "gui/editor/TSRFOptions.h"
#include "gui/editor/TDlgSelectMode.h"
#include "gui/widgets/TilePalette.h"

namespace stonereach {
namespace {

using test::child;

const char* const kGroups = "<?xml version=\"1.0\" ?>\r\n<TileList>\r\n"
                            "  <Tile id=\"0\">\r\n    <Name id=\"0\">Grass</Name>\r\n"
                            "    <TileId id=\"0\">$0003</TileId>\r\n    <TileId id=\"1\">$011A</TileId>\r\n  </Tile>\r\n"
                            "  <Tile id=\"1\">\r\n    <Name id=\"1\">Odd</Name>\r\n"
                            "    <TileId id=\"0\">a b</TileId>\r\n  </Tile>\r\n"
                            "  <Tile id=\"2\">\r\n    <Name id=\"2\">Sand</Name>\r\n"
                            "    <TileId id=\"0\">$0016</TileId>\r\n  </Tile>\r\n</TileList>\r\n";

class OptionsDialog : public test::EditorDialogTest {
protected:
    OptionsDialog() {
        writeFile("tilelist.xml", kGroups);
        writeFile("textures/tileids.lst", "textureid=$0003\r\ntextureid=282\r\ntextureid=$0004\r\ntextureid=5\r\n");
        writeFile("textures/coast.lst", "textureid=$00A8\r\n");
    }
    void open() {
        options = std::make_unique<TSRFOptions>(dialogs, home(), pictures);
        options->show();
    }
    template <typename T>
    T& control(const char* name) { return child<T>(*options, name); }
    void click(const char* name) { QTest::mouseClick(&control<QAbstractButton>(name), Qt::LeftButton); }
    QTreeWidget& groups() { return control<QTreeWidget>("lvSelectModes"); }
    QListWidget& entries() { return control<QListWidget>("lbTexture"); }
    QStringList groupRows() {
        QStringList rows;
        for (int i = 0; i < groups().topLevelItemCount(); ++i)
            rows << groups().topLevelItem(i)->text(0) + QLatin1Char('|') + groups().topLevelItem(i)->text(1);
        return rows;
    }
    QStringList entryTexts() {
        QStringList texts;
        for (int i = 0; i < entries().count(); ++i)
            texts << entries().item(i)->text();
        return texts;
    }
    // Edit, Delete, Up and Down of a tab, as "EDUD" with "-" for each one
    // that is unavailable.
    QString buttons(const char* edit, const char* remove, const char* up, const char* down) {
        QString shown;
        shown += control<QAbstractButton>(edit).isEnabled() ? 'E' : '-';
        shown += control<QAbstractButton>(remove).isEnabled() ? 'D' : '-';
        shown += control<QAbstractButton>(up).isEnabled() ? 'U' : '-';
        shown += control<QAbstractButton>(down).isEnabled() ? 'D' : '-';
        return shown;
    }
    QString groupButtons() { return buttons("btnEdit", "btnDelete", "btnUp", "btnDown"); }
    QString entryButtons() { return buttons("btnEditTexture", "btnDeleteTexture", "btnTextureUp", "btnTextureDown"); }
    void selectGroup(int row) { groups().setCurrentItem(groups().topLevelItem(row)); }
    void chooseInPalette(QWidget& dialog, int index) {
        auto& palette = child<TilePalette>(dialog, "smallDrawGrid");
        const QRect cell = palette.cellRect(palette.colCount() > 1 ? index : 0, palette.colCount() > 1 ? 0 : index);
        QTest::mouseClick(palette.viewport(), Qt::LeftButton, {}, cell.center());
    }

    std::unique_ptr<TSRFOptions> options;
};

TEST_F(OptionsDialog, GroupsShowTheirQuotedItemsAndTheButtonsFollowTheSelection) {
    open();
    EXPECT_EQ(options->windowTitle(), "Options");
    auto& pages = control<QTabWidget>("PageControl1");
    EXPECT_EQ(pages.tabText(0), "&Select Modes");
    EXPECT_FALSE(pages.isTabVisible(1));
    EXPECT_EQ(pages.tabText(2), "Te&xture Lists");
    EXPECT_EQ(groups().headerItem()->text(0), "Caption");
    EXPECT_EQ(groups().headerItem()->text(1), "Items");
    EXPECT_EQ(groupRows(), (QStringList{"Grass|$0003,$011A", "Odd|\"a b\"", "Sand|$0016"}));
    EXPECT_EQ(groupButtons(), "----");
    EXPECT_TRUE(test::controlsWithoutAccessibleName(*options).isEmpty())
        << test::controlsWithoutAccessibleName(*options).join(", ").toStdString();

    selectGroup(0);
    EXPECT_EQ(groupButtons(), "ED-D");
    selectGroup(1);
    EXPECT_EQ(groupButtons(), "EDUD");
    selectGroup(2);
    EXPECT_EQ(groupButtons(), "EDU-");
    click("btnUp");
    click("btnUp");
    EXPECT_EQ(groupRows().first(), "Sand|$0016");
    EXPECT_EQ(groupButtons(), "ED-D") << "at the top Up is unavailable at once";
    EXPECT_EQ(groups().currentItem(), groups().topLevelItem(0));

    click("btnDelete"); // answered No
    EXPECT_EQ(dialogs.questions, QStringList{"Delete selected selection group?"});
    EXPECT_EQ(groupRows().size(), 3);
    dialogs.answers = {true};
    click("btnDelete");
    EXPECT_EQ(groupRows(), (QStringList{"Grass|$0003,$011A", "Odd|\"a b\""}));
    EXPECT_EQ(groupButtons(), "----");

    click("btnOK");
    EXPECT_EQ(options->result(), QDialog::Accepted);
    const auto written = readSelectionGroups(home() / "tilelist.xml");
    EXPECT_EQ(written.groups, (std::vector<TTileNamed>{{"Grass", {"$0003", "$011A"}}, {"Odd", {"a b"}}}));
}

TEST_F(OptionsDialog, GroupsAreAddedAndEditedInTheSelectionGroupDialog) {
    open();
    test::whenModal<TDlgSelectMode>([this](TDlgSelectMode& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Add new Tiles");
        EXPECT_EQ(child<QLabel>(dialog, "lblHelpText").text(),
                  "Seperate Tile IDs with Comma! Insert Tile ID as Hex (Sample: $011a)");
        EXPECT_TRUE(test::controlsWithoutAccessibleName(dialog).isEmpty())
            << test::controlsWithoutAccessibleName(dialog).join(", ").toStdString();
        QTest::keyClicks(&child<QLineEdit>(dialog, "edCaption"), "Rock");
        chooseInPalette(dialog, 1);
        QTest::mouseClick(&child<QToolButton>(dialog, "btnAddID"), Qt::LeftButton);
        // The search selects what it finds; a double click adds as well.
        QTest::keyClicks(&child<QLineEdit>(dialog, "edFindID"), "5");
        QTest::keyClick(&child<QLineEdit>(dialog, "edFindID"), Qt::Key_Return);
        QTest::mouseClick(&child<QToolButton>(dialog, "btnAddID"), Qt::LeftButton);
        auto& palette = child<TilePalette>(dialog, "smallDrawGrid");
        palette.setTopRow(0);
        QTest::mouseClick(palette.viewport(), Qt::LeftButton, {}, palette.cellRect(0, 0).center());
        QTest::mouseDClick(palette.viewport(), Qt::LeftButton, {}, palette.cellRect(0, 0).center());
        EXPECT_EQ(child<QPlainTextEdit>(dialog, "edTileList").toPlainText(), "$011A,$0005,$0003,");
        // Enter in the tile list presses OK instead of breaking the line.
        QTest::keyClick(&child<QPlainTextEdit>(dialog, "edTileList"), Qt::Key_Return);
    });
    click("btnAdd");
    EXPECT_EQ(groupRows().last(), "Rock|$011A,$0005,$0003,");

    selectGroup(3);
    test::whenModal<TDlgSelectMode>([](TDlgSelectMode& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Edit Group Rock");
        EXPECT_EQ(child<QLabel>(dialog, "lblHelpText").text(), "");
        auto& caption = child<QLineEdit>(dialog, "edCaption");
        EXPECT_EQ(caption.text(), "Rock");
        caption.setText(QStringLiteral("Stone"));
        QTest::mouseClick(&child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
    });
    click("btnEdit");
    EXPECT_EQ(groupRows().last(), "Stone|$011A,$0005,$0003,");
    test::whenModal<TDlgSelectMode>([](TDlgSelectMode& dialog) {
        child<QLineEdit>(dialog, "edCaption").setText(QStringLiteral("Lost"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    click("btnEdit");
    EXPECT_EQ(groupRows().last(), "Stone|$011A,$0005,$0003,") << "Cancel changes nothing";

    // Ids that painting could not use are refused where they are typed.
    test::whenModal<TDlgSelectMode>([this](TDlgSelectMode& dialog) {
        for (const char* items : {"zz,16,$FFFFF", "16,$10000", " , "}) {
            dialog.setTileList(QString::fromLatin1(items));
            QTest::mouseClick(&child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
            EXPECT_TRUE(dialog.isVisible()) << items;
        }
        dialog.setTileList(QStringLiteral("16,$FFFF,"));
        QTest::mouseClick(&child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
    });
    click("btnEdit");
    EXPECT_EQ(dialogs.messages, (QStringList{"Tile List: \"zz\" is not a tile id (0 to 65535)",
                                             "Tile List: \"$10000\" is not a tile id (0 to 65535)",
                                             "Tile List: the group holds no tile id"}));
    EXPECT_EQ(groupRows().last(), "Stone|16,$FFFF,");
    selectGroup(3);
    test::whenModal<TDlgSelectMode>([](TDlgSelectMode& dialog) {
        dialog.setTileList(QStringLiteral("$011A,$0005,$0003,"));
        QTest::mouseClick(&child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
    });
    click("btnEdit");

    click("btnOK");
    const auto written = readSelectionGroups(home() / "tilelist.xml");
    ASSERT_EQ(written.groups.size(), 4u);
    EXPECT_EQ(written.groups[3], (TTileNamed{"Stone", {"$011A", "$0005", "$0003"}}));
}

TEST_F(OptionsDialog, TextureEntriesAreInsertedBeforeTheSelectionAndEditStartsFromTheDollar) {
    open();
    EXPECT_EQ(control<QComboBox>("cbTextureLists").currentText(), "tileids.lst");
    EXPECT_EQ(entryTexts(), (QStringList{"$0003", "$011A", "$0004", "$0005"}));
    EXPECT_EQ(entryButtons(), "----");

    // Nothing selected: Add appends.
    test::whenModal<TSRFAddTile>([this](TSRFAddTile& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Insert");
        EXPECT_EQ(child<QLabel>(dialog, "AddTileLabel").text(), "Insert a new Item");
        EXPECT_EQ(child<QLineEdit>(dialog, "edAddTile").text(), "$");
        EXPECT_TRUE(test::controlsWithoutAccessibleName(dialog).isEmpty())
            << test::controlsWithoutAccessibleName(dialog).join(", ").toStdString();
        chooseInPalette(dialog, 2);
        QTest::mouseClick(&child<QToolButton>(dialog, "btnAddID"), Qt::LeftButton);
        EXPECT_EQ(child<QLineEdit>(dialog, "edAddTile").text(), "$0004");
        child<QLineEdit>(dialog, "edAddTile").setText(QStringLiteral("$16"));
        QTest::keyClick(&child<QLineEdit>(dialog, "edAddTile"), Qt::Key_Return);
    });
    click("btnAddTexture");
    EXPECT_EQ(entryTexts().last(), "$16") << "typed text is kept as typed";

    entries().setCurrentRow(2);
    EXPECT_EQ(entryButtons(), "EDUD");
    EXPECT_FALSE(control<QLabel>("Image1").pixmap().isNull());
    // The bare "$" is no tile id: OK names the field and keeps the dialog.
    test::whenModal<TSRFAddTile>([this](TSRFAddTile& dialog) {
        QTest::mouseClick(&child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialogs.messages, QStringList{"Insert a new Item: \"$\" is not a tile id (0 to 65535)"});
        QTest::keyClicks(&child<QLineEdit>(dialog, "edAddTile"), "$0017"); // over the selected text
        QTest::mouseClick(&child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
    });
    click("btnAddTexture");
    EXPECT_EQ(entryTexts(), (QStringList{"$0003", "$011A", "$0017", "$0004", "$0005", "$16"}));
    EXPECT_EQ(entries().currentRow(), 3) << "the selected entry moved down with the insertion";

    test::whenModal<TSRFAddTile>([](TSRFAddTile& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Edit");
        EXPECT_EQ(child<QLabel>(dialog, "AddTileLabel").text(), "Edit Item $0004");
        EXPECT_EQ(child<QLineEdit>(dialog, "edAddTile").text(), "$");
        child<QLineEdit>(dialog, "edAddTile").setText(QStringLiteral("$00A8"));
        QTest::mouseClick(&child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
    });
    click("btnEditTexture");
    EXPECT_EQ(entryTexts()[3], "$00A8");

    entries().setCurrentRow(2);
    EXPECT_TRUE(dialogs.errors.isEmpty());
    dialogs.answers = {true};
    click("btnDeleteTexture");
    EXPECT_EQ(dialogs.questions, QStringList{"Delete selected Item?"});
    EXPECT_EQ(entryButtons(), "----");
    entries().setCurrentRow(3);
    click("btnTextureDown");
    EXPECT_EQ(entryButtons(), "EDU-") << "at the bottom Down is unavailable at once";
    click("btnOK");
    EXPECT_EQ(readFile("textures/tileids.lst"),
              "textureid=$0003\r\ntextureid=$011A\r\ntextureid=$00A8\r\ntextureid=$16\r\ntextureid=$0005\r\n");
}

TEST_F(OptionsDialog, ANewListIsWrittenAsAnEmptyFileOnOkAndNothingIsWrittenOnCancel) {
    open();
    EXPECT_EQ(control<QComboBox>("cbTextureLists").count(), 2);
    dialogs.inputAnswers = {QStringLiteral("new.lst")};
    click("btnAddList");
    EXPECT_EQ(dialogs.inputs, QStringList{"Add List|Add new Item list|.lst"});
    EXPECT_TRUE(entryTexts().isEmpty());
    EXPECT_EQ(control<QComboBox>("cbTextureLists").currentText(), "new.lst");
    click("btnCancel");
    EXPECT_EQ(options->result(), QDialog::Rejected);
    EXPECT_FALSE(exists("textures/new.lst"));
    EXPECT_EQ(readFile("tilelist.xml"), kGroups);

    open();
    dialogs.inputAnswers = {QStringLiteral("../out.lst"), QStringLiteral("new.lst")};
    click("btnAddList");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith("\"../out.lst\" cannot be used")) << dialogs.messages[0].toStdString();
    click("btnAddList");
    click("btnOK");
    EXPECT_TRUE(exists("textures/new.lst"));
    EXPECT_EQ(readFile("textures/new.lst"), "");
    EXPECT_FALSE(exists("out.lst"));
}

TEST_F(OptionsDialog, ChoosingAnotherListShowsItsEntriesAndAListThatCannotBeReadIsToldAndLeftEmpty) {
    writeFile("textures/bad.lst", "textureid=$0003\r\ntextureid=nothing\r\n");
    open();
    auto& lists = control<QComboBox>("cbTextureLists");
    EXPECT_EQ(lists.currentText(), "tileids.lst");
    QTest::keyClick(&lists, Qt::Key_Up);
    EXPECT_EQ(lists.currentText(), "coast.lst");
    EXPECT_EQ(entryTexts(), QStringList{"$00A8"});
    QTest::keyClick(&lists, Qt::Key_Home);
    EXPECT_EQ(lists.currentText(), "bad.lst");
    EXPECT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(entryTexts().isEmpty());
}

TEST_F(OptionsDialog, MissingFilesOpenEmptyListsThatSayWhichFileIsMissing) {
    std::filesystem::remove_all(home());
    open();
    EXPECT_TRUE(groupRows().isEmpty());
    EXPECT_TRUE(entryTexts().isEmpty());
    EXPECT_TRUE(control<QLabel>("GroupsNote").text().contains(QStringLiteral("tilelist.xml")));
    EXPECT_TRUE(control<QLabel>("TexturesNote").text().contains(QStringLiteral("tileids.lst")));
    EXPECT_TRUE(dialogs.errors.isEmpty());

    test::whenModal<TSRFAddTile>([](TSRFAddTile& dialog) {
        EXPECT_EQ(child<TilePalette>(dialog, "smallDrawGrid").count(), 0);
        EXPECT_TRUE(child<QLabel>(dialog, "PaletteNote").text().contains(QStringLiteral("tileids.lst")));
        QTest::mouseClick(&child<QToolButton>(dialog, "btnAddID"), Qt::LeftButton); // nothing to take
        EXPECT_EQ(child<QLineEdit>(dialog, "edAddTile").text(), "$");
    });
    click("btnAddTexture");
    EXPECT_TRUE(dialogs.errors.isEmpty());

    // OK makes the folders a new user does not have yet.
    click("btnOK");
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(readFile("tilelist.xml"), "<?xml version=\"1.0\" ?>\r\n<TileList>\r\n</TileList>\r\n");
    EXPECT_TRUE(exists("textures/tileids.lst"));
}

} // namespace
} // namespace stonereach
