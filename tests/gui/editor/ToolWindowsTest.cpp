// The part the main window wires in: its menu entries and overview button,
// the windows it keeps for the whole run, the jump after a map copy, and an
// accessible name on every control of every tool window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "gui/app/ScriptedDialogs.h"
#include "gui/editor/ToolWindows.h"
#include "gui/app/WindowRegions.h"
#include "gui/maptools/OverviewCanvas.h"
#include "gui/maptools/TMapCopyForm.h"
#include "gui/maptools/TMapExtendForm.h"
#include "gui/maptools/TMapViewForm.h"
#include "gui/patches/TPatchEditForm.h"
#include "gui/patches/TSRDiffForm.h"
#include "gui/patches/ToolTestSupport.h"
#include "support/TempDir.h"

using namespace stonereach;
namespace fs = std::filesystem;

namespace {

class ToolWindowsPart : public ::testing::Test, protected test::WithEditorApp {
protected:
    // Runs the menu entry; the modal window it opens is closed as soon as it
    // is on screen, and is handed to `look` first.
    void runModal(const char* entry, const std::function<void(QWidget&)>& look = {}) {
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            if (look)
                look(*modal);
            modal->close();
        });
        extra.findChild<QAction*>(entry)->trigger();
    }

    test::TempDir dir;
    test::FakeEditorLink link;
    test::ScriptedDialogs dialogs;
    MemorySettingsStore store;
    ToolWindows tools{link, dialogs, store};
    QMenu extra;
};

TEST_F(ToolWindowsPart, PutsTheToolEntriesIntoTheirMenuSectionAndMakesTheOverviewButton) {
    extra.addAction("Show Number");
    QAction* end = extra.addSeparator();
    tools.addMenuEntries(MenuSection{&extra, end});
    const QList<QAction*> actions = extra.actions();
    ASSERT_EQ(actions.size(), 7);
    EXPECT_TRUE(actions[6]->isSeparator()) << "the entries stand before the section's end";
    const char* names[] = {"PatchMap", "PatchEditor", "DiffPatch", "EnlargeMap", "MapCopy"};
    const char* captions[] = {"Patch Map from file", "Patch Editor", "Create Diff patch", "Enlarge map to ML", "Map Copy"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(actions[i + 1]->objectName(), names[i]);
        EXPECT_EQ(actions[i + 1]->text().remove(QLatin1Char('&')), captions[i]) << "the caption, with a mnemonic";
    }

    QWidget bar;
    QToolButton* overview = tools.createOverviewButton(&bar);
    EXPECT_EQ(overview->objectName(), "TlMap");
    EXPECT_EQ(overview->toolTip(), "Overview");
    EXPECT_EQ(overview->accessibleName(), "Overview");
    EXPECT_EQ(overview->parent(), &bar);

    // Without a recognised map there is no overview to build.
    QTest::mouseClick(overview, Qt::LeftButton);
    EXPECT_EQ(dialogs.messages, QStringList{"The map is not recognised: its file name and size match no known map."});
}

TEST_F(ToolWindowsPart, KeepsTheDiffDialogAndMovesTheViewHomeAfterAMapCopy) {
    tools.addMenuEntries(MenuSection{&extra, nullptr});
    // Each showing starts from the remembered paths.
    store.setValue("Orig-map0.mul", "remembered");
    runModal("DiffPatch", [](QWidget& modal) { modal.findChild<QLineEdit*>("OMapEdit")->setText("typed"); });
    runModal("DiffPatch", [](QWidget& modal) {
        EXPECT_EQ(modal.findChild<QLineEdit*>("OMapEdit")->text(), "remembered");
    });
    EXPECT_EQ(&tools.diffForm(), link.mainWindow()->findChild<TSRDiffForm*>()) << "one dialog for the whole run";

    runModal("MapCopy", [](QWidget& modal) { EXPECT_EQ(modal.windowTitle(), "Brannock Stonereach - Map Copy"); });
    EXPECT_EQ(link.jumps, (std::vector<CellPoint>{CellPoint{0, 0}}));
    EXPECT_EQ(link.mainWindow()->findChild<TMapCopyForm*>(), nullptr) << "the dialog is released when closed";
}

// Every control a user can reach says its name to a screen reader.
TEST_F(ToolWindowsPart, EveryControlOfEveryToolWindowHasAnAccessibleName) {
    TMapCopyForm copy(link, dialogs);
    TMapExtendForm extend(link, dialogs);
    TMapViewForm overview(link, dialogs, MapGeometry{1448, 1448, 181});
    QWidget* windows[] = {&tools.patchEditor(), &tools.diffForm(), &copy, &extend, &overview};
    int checked = 0;
    for (QWidget* window : windows) {
        for (QWidget* control : window->findChildren<QWidget*>()) {
            const bool isControl = qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
                                   qobject_cast<QAbstractItemView*>(control) ||
                                   qobject_cast<QProgressBar*>(control) || qobject_cast<OverviewCanvas*>(control);
            // Our own controls, not the parts Qt builds inside a list, nor the
            // shared progress dialog's bar, which its label describes.
            const QString name = control->objectName();
            if (!isControl || name.isEmpty() || name.startsWith("qt_") || control->window() != window)
                continue;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            ASSERT_NE(accessible, nullptr);
            EXPECT_FALSE(accessible->text(QAccessible::Name).trimmed().isEmpty())
                << window->objectName().toStdString() << ": " << control->objectName().toStdString();
            ++checked;
        }
    }
    EXPECT_GE(checked, 40);
}

} // namespace
