// The brush editor driven as a user would: tiles chosen in the palette,
// cells clicked and keyed in the grid, and the brush file OK writes.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/app/AccessibleNames.h"
#include "gui/editor/BrushGridView.h"
#include "gui/editor/DialogTestSupport.h"
#include "gui/editor/TSRCustomBrush.h"
#include "gui/widgets/TilePalette.h"
#include "gui/widgets/UpDown.h"
#include "gui/widgets/ValidityColours.h"

namespace stonereach {
namespace {

class BrushEditor : public test::EditorDialogTest {
protected:
    BrushEditor() { writeFile("textures/tileids.lst", "textureid=$0003\r\ntextureid=$011A\r\ntextureid=5\r\n"); }

    void open(const QStringList& names = {}) {
        editor = std::make_unique<TSRCustomBrush>(dialogs, home(), pictures, names);
        editor->show();
    }
    template <typename T>
    T& child(const char* name) { return test::child<T>(*editor, name); }
    BrushGridView& grid() { return child<BrushGridView>("BrushGrid"); }
    TilePalette& palette() { return child<TilePalette>("smallDrawGrid"); }
    QString text(const char* name) { return child<QLineEdit>(name).text(); }
    void choosePaletteRow(int row) {
        QTest::mouseClick(palette().viewport(), Qt::LeftButton, {}, palette().cellRect(0, row).center());
    }
    void clickCell(int col, int row) {
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, grid().cellRect(col, row).center());
    }
    // Keys pressed in the edit that shows an up-down's position.
    void step(const char* edit, Qt::Key key, int times) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(&child<QLineEdit>(edit), key);
    }
    // Chooses a brush with the arrow keys, as the keyboard does.
    void chooseBrush(const QString& name) {
        auto& box = child<QComboBox>("cbCustomBrushes");
        for (int i = 0; i < box.count() && box.currentText() != name; ++i)
            QTest::keyClick(&box, Qt::Key_Down);
    }
    void ok() { QTest::mouseClick(&child<QPushButton>("BitBtn1"), Qt::LeftButton); }
    QColor pixel(int col, int row, QPoint offset) {
        return grid().viewport()->grab().toImage().pixelColor(grid().cellRect(col, row).topLeft() + offset);
    }

    std::unique_ptr<TSRCustomBrush> editor;
};

TEST_F(BrushEditor, TilesChosenInThePaletteArePutDownByMouseAndKeyboardAndOkWritesThemColumnByColumn) {
    pictures.textures[0x11A] = TileImage(64, 64, 0x7C00); // red: 31 << 3 in eight bits
    open();
    EXPECT_EQ(editor->windowTitle(), "Custom Brushes");
    EXPECT_EQ(grid().colCount(), 5);
    EXPECT_EQ(grid().rowCount(), 5);
    EXPECT_EQ(text("edRows"), "5");
    EXPECT_EQ(text("edCols"), "5");
    EXPECT_EQ(shownBackground(child<QLineEdit>("edBrushName")), invalidColour());
    EXPECT_EQ(palette().tiles(), (std::vector<int>{TilePalette::NoDraw, 3, 0x11A, 5}));
    EXPECT_FALSE(child<QLabel>("PaletteNote").isVisibleTo(editor.get()));
    EXPECT_TRUE(test::controlsWithoutAccessibleName(*editor).isEmpty())
        << test::controlsWithoutAccessibleName(*editor).join(", ").toStdString();

    clickCell(0, 0); // the current tile is NODRAW at first
    choosePaletteRow(2);
    EXPECT_EQ(editor->currentTile(), 0x11A);
    clickCell(2, 0);
    QTest::keyClick(&grid(), Qt::Key_Down); // the keyboard puts the tile down too
    EXPECT_EQ(editor->brush().cellText(2, 1), "$011A");
    choosePaletteRow(0);
    clickCell(2, 1); // and NODRAW takes it away again
    choosePaletteRow(1);
    clickCell(4, 4);
    clickCell(0, 3);
    EXPECT_EQ(pixel(2, 0, {20, 5}), QColor(248, 0, 0)) << "the tile's picture";
    EXPECT_EQ(pixel(1, 1, {1, 1}), QColor(255, 0, 0)) << "the NODRAW cross";
    EXPECT_EQ(pixel(1, 1, {20, 5}), QColor(255, 255, 255));

    QTest::keyClicks(&child<QLineEdit>("edBrushName"), "Pond");
    EXPECT_EQ(shownBackground(child<QLineEdit>("edBrushName")), validColour());
    ok();
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(readFile("brushes/Pond.brs"), "0,3,$0003\r\n2,0,$011A\r\n4,4,$0003\r\n");
}

TEST_F(BrushEditor, ALoadedBrushTakesTheSizeOfItsFurthestCellAndShrinkingWritesOnlyTheCellsLeft) {
    writeFile("brushes/Hill.brs", "3,6,$011A\r\n0,0,$3\r\n1,1,3\r\n");
    open({"Hill"});
    chooseBrush("Hill");
    EXPECT_EQ(text("edBrushName"), "Hill");
    EXPECT_EQ(text("edCols"), "4");
    EXPECT_EQ(text("edRows"), "7");
    EXPECT_EQ(grid().colCount(), 4);
    EXPECT_EQ(grid().rowCount(), 7);
    EXPECT_EQ(editor->brush().cellText(0, 0), "$0003");
    EXPECT_EQ(editor->brush().cellText(2, 2), "NODRAW");

    step("edRows", Qt::Key_PageDown, 1);
    EXPECT_EQ(text("edRows"), "1") << "Page Down steps ten, down to the least";
    step("edRows", Qt::Key_Up, 1);
    step("edCols", Qt::Key_Down, 2);
    EXPECT_EQ(text("edRows"), "2");
    EXPECT_EQ(text("edCols"), "2");
    EXPECT_EQ(grid().rowCount(), 2);
    ok();
    EXPECT_EQ(readFile("brushes/Hill.brs"), "0,0,$0003\r\n1,1,$0003\r\n");
}

TEST_F(BrushEditor, BadLinesOfABrushFileAreToldInOneMessageAndTheRestLoads) {
    writeFile("brushes/Odd.brs", "0,0,$0003\r\nrubbish\r\n1,0,70000\r\n12,0,5\r\n");
    open({"Odd"});
    chooseBrush("Odd");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith("Brush \"Odd\": 2 lines were skipped (lines 2, 3)"))
        << dialogs.messages[0].toStdString();
    // A hand-written column of 12 grows the grid past the up-down's reach.
    EXPECT_EQ(text("edCols"), "13");
    EXPECT_EQ(grid().colCount(), 13);
    EXPECT_EQ(editor->brush().cellText(12, 0), "$0005");
}

TEST_F(BrushEditor, WithoutANameThePromptKeepsTheDrawingUnlessItIsDiscardedAndRefusedNamesStayRed) {
    open();
    choosePaletteRow(1);
    clickCell(1, 1);
    const NamePromptAnswer back{};
    dialogs.nameAnswers = {back, NamePromptAnswer{NamePromptAnswer::Choice::Name, QString()}};
    ok();
    ok();
    EXPECT_EQ(dialogs.inputs, QStringList(2, "Brush name|Select a brush name|Discard brush"));
    EXPECT_TRUE(editor->isVisible()) << "Cancel and an empty name both go back to the drawing";
    EXPECT_EQ(editor->brush().cellText(1, 1), "$0003");
    EXPECT_FALSE(exists("brushes"));

    // The name given in the prompt saves the drawing.
    dialogs.nameAnswers = {NamePromptAnswer{NamePromptAnswer::Choice::Name, QStringLiteral("Path")}};
    ok();
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(readFile("brushes/Path.brs"), "1,1,$0003\r\n");
    ASSERT_EQ(dialogs.nameChecks.size(), 2);
    EXPECT_TRUE(dialogs.nameChecks[0].endsWith("the name is empty.")) << "the prompt checks names as OK does";
    EXPECT_EQ(dialogs.nameChecks[1], "");

    // Only the prompt's discard button throws the drawing away.
    open();
    clickCell(0, 0);
    dialogs.nameAnswers = {NamePromptAnswer{NamePromptAnswer::Choice::Discard, QString()}};
    ok();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->result(), QDialog::Rejected);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home() / "brushes"), {}), 1) << "Path.brs alone";

    // The name field is green exactly for the names OK saves under.
    for (const char* refused : {"..\\..\\x", "a/b", "..", "   ", "con"}) {
        open();
        auto& name = child<QLineEdit>("edBrushName");
        QTest::keyClicks(&name, refused);
        EXPECT_EQ(shownBackground(name), invalidColour()) << refused;
        EXPECT_FALSE(name.toolTip().isEmpty()) << refused;
        dialogs.messages.clear();
        ok();
        ASSERT_EQ(dialogs.messages.size(), 1) << refused;
        EXPECT_TRUE(dialogs.messages[0].startsWith(QStringLiteral("\"%1\" cannot be used as a brush name").arg(refused)))
            << dialogs.messages[0].toStdString();
        EXPECT_TRUE(editor->isVisible()) << refused;
    }
    open();
    QTest::keyClicks(&child<QLineEdit>("edBrushName"), "Hill");
    EXPECT_EQ(shownBackground(child<QLineEdit>("edBrushName")), validColour());
}

TEST_F(BrushEditor, TheSearchChoosesTheTileItFindsAndAnIdNotInThePaletteChangesNothing) {
    open();
    auto& find = child<QLineEdit>("edFindID");
    QTest::keyClicks(&find, "11a");
    QTest::keyClick(&find, Qt::Key_Return); // searches; the dialog stays open
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->currentTile(), 0x11A);
    EXPECT_EQ(palette().foundIndex(), 2);
    EXPECT_EQ(palette().currentIndex(), 2);
    clickCell(3, 3);
    EXPECT_EQ(editor->brush().cellText(3, 3), "$011A");

    find.setText(QStringLiteral("FFFF"));
    QTest::mouseClick(&child<QPushButton>("btnFind"), Qt::LeftButton);
    EXPECT_EQ(editor->currentTile(), 0x11A);
    EXPECT_EQ(palette().foundIndex(), 2);
    find.setText(QStringLiteral("zz"));
    QTest::mouseClick(&child<QPushButton>("btnFind"), Qt::LeftButton);
    EXPECT_EQ(dialogs.errors.size(), 1);

    child<QCheckBox>("cbShowID").click();
    EXPECT_FALSE(palette().showIds());
}

TEST_F(BrushEditor, WithoutATileListThePaletteHoldsOnlyNodrawAndSaysWhichFileIsMissing) {
    std::filesystem::remove(home() / "textures" / "tileids.lst");
    open();
    EXPECT_EQ(palette().tiles(), std::vector<int>{TilePalette::NoDraw});
    EXPECT_TRUE(child<QLabel>("PaletteNote").isVisible());
    EXPECT_TRUE(child<QLabel>("PaletteNote").text().contains(QStringLiteral("tileids.lst")));
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

} // namespace
} // namespace stonereach
