// The coordinates index driven as a user would: every change of the list
// ends in the file the dialog leaves behind.
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "editor/CoordinatesList.h"
#include "gui/app/AccessibleNames.h"
#include "gui/editor/DialogTestSupport.h"
#include "gui/editor/TListForm.h"

namespace stonereach {
namespace {

class CoordinatesIndex : public test::EditorDialogTest {
protected:
    void open(const QString& x = QStringLiteral("0"), const QString& y = QStringLiteral("0")) {
        form = std::make_unique<TListForm>(dialogs, home(), x, y);
        form->show();
    }
    QTableWidget& list() { return test::child<QTableWidget>(*form, "Seznam"); }
    QLineEdit& edit(const char* name) { return test::child<QLineEdit>(*form, name); }
    void click(const char* name) { QTest::mouseClick(&test::child<QPushButton>(*form, name), Qt::LeftButton); }
    void select(int row) { list().selectRow(row); }
    QStringList shown() {
        QStringList rows;
        for (int r = 0; r < list().rowCount(); ++r)
            rows << list().item(r, 0)->text() + QLatin1Char(',') + list().item(r, 1)->text();
        return rows;
    }
    CoordinateList saved() { return readCoordinatesFile(home() / "coords.def"); }

    std::unique_ptr<TListForm> form;
};

TEST_F(CoordinatesIndex, OpensOnCoordsDefWithTheJumpTextsAndCancelSavesExactlyTheEntriesLeft) {
    writeFile("coords.def", "[0]\r\nX=1\r\nY=2\r\n[1]\r\nX=3\r\nY=4\r\n[2]\r\nX=5\r\nY=6\r\n"
                            "[3]\r\nX=7\r\nY=8\r\n[4]\r\nX=9\r\nY=10\r\n");
    open(QStringLiteral("120"), QStringLiteral("45"));
    EXPECT_EQ(form->windowTitle(), "Coordinates Index");
    EXPECT_EQ(list().horizontalHeaderItem(0)->text(), "X");
    EXPECT_EQ(list().horizontalHeaderItem(1)->text(), "Y");
    EXPECT_EQ(edit("PridatX").text(), "120");
    EXPECT_EQ(edit("PridatY").text(), "45");
    EXPECT_EQ(shown(), (QStringList{"1,2", "3,4", "5,6", "7,8", "9,10"}));
    EXPECT_TRUE(test::controlsWithoutAccessibleName(*form).isEmpty()) << test::controlsWithoutAccessibleName(*form).join(", ").toStdString();

    click("TLRemove"); // nothing selected: nothing removed
    select(1);
    click("TLRemove");
    select(2);
    click("TLRemove");
    // A place Go could not jump to is refused, naming the field.
    edit("PridatX").setText(QStringLiteral("north"));
    click("TLAdd");
    EXPECT_EQ(dialogs.messages, QStringList{"X: 'north' is not a valid integer value"});
    EXPECT_TRUE(edit("PridatX").hasFocus() || !form->isActiveWindow());
    edit("PridatX").setText(QStringLiteral("$10"));
    click("TLAdd");
    EXPECT_EQ(shown(), (QStringList{"1,2", "5,6", "9,10", "$10,45"}));

    click("TlCancel");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(saved(), (CoordinateList{{"1", "2"}, {"5", "6"}, {"9", "10"}, {"$10", "45"}}));
    EXPECT_EQ(readFile("coords.def").find("[4]"), std::string::npos) << "no removed entry comes back";
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(CoordinatesIndex, ImportReplacesTheListExportWritesItAndAFileWithoutSectionsIsRefused) {
    open();
    writeFile("gaps.def", "[0]\r\nX=10\r\nY=20\r\n[1]\r\nX=30\r\n[5]\r\nX=50\r\nY=60\r\n");
    writeFile("empty.def", "X=1\r\n");
    dialogs.openFiles = {QString::fromStdString((home() / "gaps.def").string()),
                         QString::fromStdString((home() / "empty.def").string()), std::nullopt};
    click("TLLoad");
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].title, "Import coordinates definition");
    EXPECT_EQ(dialogs.openRequests[0].filters, QStringList{"Brannock Coordinates (*.def)"});
    EXPECT_EQ(dialogs.openRequests[0].directory, QString::fromStdString(home().string()));
    // Three section lines: sections 0, 1 and 2 are read; 2 is not there.
    EXPECT_EQ(shown(), (QStringList{"10,20", "30,0", "0,0"}));

    click("TLLoad");
    EXPECT_EQ(dialogs.messages, QStringList{"Empty file!"});
    click("TLLoad"); // cancelled
    EXPECT_EQ(shown(), (QStringList{"10,20", "30,0", "0,0"}));

    dialogs.saveFiles = {QString::fromStdString((temp / "out.def").string())};
    click("TLSave");
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].title, "Export coordinates definition");
    EXPECT_EQ(dialogs.saveRequests[0].filters, QStringList{"Brannock Coordinates (*.def)"});
    EXPECT_EQ(dialogs.saveRequests[0].fileName, "coords.def");
    EXPECT_EQ(readCoordinatesFile(temp / "out.def"), (CoordinateList{{"10", "20"}, {"30", "0"}, {"0", "0"}}));
}

TEST_F(CoordinatesIndex, OkNeedsASelectionAndTakesItWithTheKeyboardAlone) {
    writeFile("coords.def", "[0]\r\nX=1\r\nY=2\r\n[1]\r\nX=3\r\nY=4\r\n");
    open();
    QTest::keyClick(&list(), Qt::Key_Return);
    click("TlOK");
    EXPECT_EQ(dialogs.messages,
              (QStringList{"You must select any Coordinates!", "You must select any Coordinates!"}));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->chosen());

    list().setFocus();
    QTest::keyClick(&list(), Qt::Key_Down);
    QTest::keyClick(&list(), Qt::Key_Down);
    QTest::keyClick(&list(), Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Accepted);
    ASSERT_TRUE(form->chosen());
    EXPECT_EQ(*form->chosen(), (CoordinateEntry{"3", "4"}));
    EXPECT_EQ(saved(), (CoordinateList{{"1", "2"}, {"3", "4"}}));

    // A double click on an entry is OK as well.
    open();
    const QPoint entry = list().visualItemRect(list().item(0, 1)).center();
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, entry);
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, entry);
    ASSERT_TRUE(form->chosen());
    EXPECT_EQ(*form->chosen(), (CoordinateEntry{"1", "2"}));
}

TEST_F(CoordinatesIndex, AFreshProgramDirectoryIsMadeAndAnUnreadableFileIsNeverReplacedUnchanged) {
    ASSERT_FALSE(std::filesystem::exists(home()));
    open();
    EXPECT_TRUE(shown().isEmpty());
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_EQ(saved(), CoordinateList{}) << "Escape leaves as Cancel does";
    EXPECT_TRUE(exists("coords.def"));

    // Too large to be a coordinates file: it cannot be read.
    std::filesystem::resize_file(home() / "coords.def", std::uint64_t{513} << 20);
    open();
    EXPECT_EQ(dialogs.errors.size(), 1);
    click("TlCancel");
    EXPECT_EQ(dialogs.errors.size(), 1) << "leaving does not try to replace what it could not read";
    EXPECT_EQ(std::filesystem::file_size(home() / "coords.def"), std::uint64_t{513} << 20);
}

} // namespace
} // namespace stonereach
