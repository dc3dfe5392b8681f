// The whole-file tools reached from the real main window: the Insert key
// capturing cells into the patch editor, and an enlargement saved over the
// open map, after which painting lands in the new file.
#include <functional>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <QToolButton>

#include "gui/app/EditorWindowFixture.h"
#include "gui/app/QtConversions.h"
#include "gui/editor/ToolWindows.h"
#include "gui/editor/PaintingPart.h"
#include "gui/patches/TPatchEditForm.h"
#include "gui/widgets/RadioGroup.h"

namespace stonereach {
namespace {

namespace fs = std::filesystem;

class ToolWiring : public test::EditorWindowTest {
protected:
    // Triggers a menu entry whose window is modal and lets `act` work in it
    // once it is on screen; `act` closes it or leaves it to close itself.
    void runModal(const char* entry, const std::function<void(QWidget&)>& act) {
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            act(*modal);
            if (modal->isVisible())
                modal->close();
        });
        child<QAction>(entry).trigger();
    }
};

TEST_F(ToolWiring, InsertCapturesTheCellUnderThePointerOnceWhileThePatchEditorIsOpen) {
    const QString map = mapFile("map4.mul", test::kTokunoSize);
    MapFile(map.toStdString(), File::Mode::ReadWrite).writeCell(3, 2, MapCell{0x011A, -5}, test::kTokuno);
    storePaths(map, clientDir());
    start();
    hover(3, 2);
    view().setFocus();
    QTest::keyClick(&view(), Qt::Key_Insert);
    TPatchEditForm& editor = window->toolWindows().patchEditor();
    EXPECT_FALSE(editor.IsOnPatchList("3", "2")) << "nothing is captured while the editor is hidden";

    child<QAction>("PatchEditor").trigger();
    ASSERT_TRUE(editor.isVisible());
    QTest::keyClick(&view(), Qt::Key_Insert);
    EXPECT_TRUE(editor.IsOnPatchList("3", "2"));
    ASSERT_EQ(editor.entries().size(), 1u);
    EXPECT_EQ(editor.entries()[0].z, "-5");
    EXPECT_EQ(editor.entries()[0].id, "01 1A");
    QTest::keyClick(&view(), Qt::Key_Insert);
    EXPECT_EQ(dialogs.messages, QStringList{"This coords are on list!"});
    EXPECT_EQ(editor.entries().size(), 1u);
}

// The folder's name is not plain ASCII: the path the save dialog gives the
// tool and the one the main window opened must still name the same file.
TEST_F(ToolWiring, AfterAnEnlargementOverTheOpenMapPaintingLandsInTheNewFile) {
    const fs::path world = temp.path() / pathOf(QStringLiteral("Wörld Ænd Ü"));
    fs::create_directories(world);
    fs::create_directories(temp / "small");
    const fs::path open = world / "map0.mul";
    test::writeBytes(open, {});
    fs::resize_file(open, 77070336); // Felucca+Trammel
    const fs::path source = temp / "small" / "map4.mul";
    test::writeBytes(source, {});
    fs::resize_file(source, test::kTokunoSize);
    storePaths(qPath(open), clientDir());
    start();
    ASSERT_EQ(view().colCount(), 6144);
    ASSERT_EQ(edit("MapEdit").text(), qPath(open));

    dialogs.openFiles.push_back(qPath(source));
    dialogs.saveFiles.push_back(qPath(open));
    runModal("EnlargeMap", [](QWidget& modal) {
        QTest::mouseClick(modal.findChild<QToolButton*>("TLMapLoad"), Qt::LeftButton);
        QTest::mouseClick(modal.findChild<QAbstractButton*>("TLMapSave"), Qt::LeftButton);
    });
    ASSERT_EQ(fs::file_size(open), 89915392u) << dialogs.errors.join("; ").toStdString();
    EXPECT_EQ(label("MapInfo"), "Mondains Legacy");
    EXPECT_EQ(view().colCount(), 7168) << "the main window opened the new file";

    // A cell only the enlarged map has.
    child<RadioGroup>("AltitudeRadioGroup").selectAsIfClicked(2);
    edit("ZValueEdit").setText("42");
    child<QComboBox>("SelectDrawingModeComboBox").setCurrentIndex(2);
    go("7000", "4000");
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, view().cellRect(7000, 4000).center());
    const MapGeometry enlarged{7168, 4096, 512};
    EXPECT_EQ(MapFile(open, File::Mode::Read).readCell(7000, 4000, enlarged).z, 42);
}

} // namespace
} // namespace stonereach
