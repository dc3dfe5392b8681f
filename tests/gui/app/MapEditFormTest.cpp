#include <deque>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSet>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "editor/Bookmarks.h"
#include "gui/app/GuiTestSupport.h"
#include "gui/app/AccessibleNames.h"
#include "gui/app/EditorWindowFixture.h"
#include "gui/app/ScriptedDialogs.h"
#include "gui/app/StartupPaths.h"
#include "gui/app/StatusBar.h"
#include "gui/editor/TSRMapEditForm.h"
#include "gui/app/WindowDialogs.h"
#include "gui/editor/MapView.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/widgets/ValidityColours.h"
#include "mapdata/MapFile.h"
#include "sample/SampleClientFiles.h"
#include "support/TempDir.h"

using namespace stonereach;
namespace fs = std::filesystem;

namespace {

using test::kIlshenarSize;
using test::kTokunoSize;

class MapEditForm : public test::EditorWindowTest {};

} // namespace

TEST_F(MapEditForm, FirstStartKeepsDesignDefaultsAndAsksForTheClientDirectory) {
    dialogs.directory = clientDir();
    start();

    EXPECT_EQ(window->windowTitle(), "Brannock Stonereach");
    EXPECT_EQ(dialogs.directoryCaptions, QStringList{"Select Ultima Online directory:"});
    EXPECT_TRUE(dialogs.errorsDetected.isEmpty()) << "an empty stored map path opens nothing and reports nothing";
    EXPECT_EQ(edit("UOPathEdit").text(), *dialogs.directory);
    EXPECT_EQ(shownBackground(edit("UOPathEdit")), validColour());
    EXPECT_EQ(edit("MapEdit").text(), "");
    EXPECT_EQ(shownBackground(edit("MapEdit")), invalidColour());
    EXPECT_EQ(label("MapInfo"), "None");
    EXPECT_EQ(label("MapSize"), "None");

    EXPECT_EQ(view().zoom(), 45);
    EXPECT_EQ(child<RadioGroup>("GridBox").itemIndex(), 1);
    EXPECT_EQ(view().gridLineWidth(), 0);
    EXPECT_EQ(child<RadioGroup>("ShowAltitudeRadioGroup").itemIndex(), 1);
    EXPECT_EQ(view().colCount(), 6144);
    EXPECT_EQ(view().rowCount(), 4096);
    EXPECT_EQ(panel(0), "X=0 - Y=0 - Wrong filename: no map file is chosen");
    EXPECT_EQ(panel(1), "Selected mode: Only draw tile without set altitude - Drawing disabled");
}

TEST_F(MapEditForm, StoredMapPathCoordinatesAndSwitchesAreRestored) {
    storePaths(mapFile("map4.mul", kTokunoSize), clientDir());
    store.setValue("CoordX", "100");
    store.setValue("CoordY", "200");
    store.setValue("ZoomLevel", "30");
    store.setValue("Grid", "0");
    store.setValue("ShowAltitude", "0");
    start();

    EXPECT_TRUE(dialogs.directoryCaptions.isEmpty());
    EXPECT_TRUE(dialogs.errorsDetected.isEmpty());
    EXPECT_EQ(edit("XJumpEdit").text(), "100") << "the restore of the map path keeps the stored coordinates";
    EXPECT_EQ(edit("YJumpEdit").text(), "200");
    EXPECT_EQ(label("MapInfo"), "Tokuno");
    EXPECT_EQ(label("MapSize"), "1448x1448");
    EXPECT_EQ(view().colCount(), 1448);
    EXPECT_EQ(view().rowCount(), 1448);
    EXPECT_EQ(shownBackground(edit("MapEdit")), validColour());
    EXPECT_EQ(view().zoom(), 30);
    EXPECT_EQ(view().gridLineWidth(), 1);
    EXPECT_TRUE(view().drawOptions().showAltitude);
}

TEST_F(MapEditForm, ChangingTheMapPathFollowsTheNameAndJumpsToTheOrigin) {
    const QString tokuno = mapFile("map4.mul", kTokunoSize);
    storePaths(tokuno, clientDir());
    store.setValue("CoordX", "100");
    store.setValue("CoordY", "200");
    start();
    edit("XJumpEdit").setText("300");
    edit("YJumpEdit").setText("400");
    click("CoordGoBtn");
    ASSERT_EQ(view().col(), 300);

    // The name test ignores case; a second map file sends the view to (0, 0).
    const QString ilshenar = mapFile("MAP2.MUL", kIlshenarSize);
    edit("MapEdit").setText(ilshenar);
    EXPECT_EQ(label("MapInfo"), "Ilshenar");
    EXPECT_EQ(label("MapSize"), "2304x1600");
    EXPECT_EQ(edit("XJumpEdit").text(), "0");
    EXPECT_EQ(edit("YJumpEdit").text(), "0");
    EXPECT_EQ(view().col(), 0);
    EXPECT_EQ(view().row(), 0);
    EXPECT_EQ(view().colCount(), 2304);
    EXPECT_EQ(store.value("MAPx.mul"), ilshenar.toStdString()) << "stored at once";
    EXPECT_EQ(store.value("UOPath"), clientDir().toStdString());

    // Choosing the path the edit already holds runs nothing: no jump.
    go("12", "34");
    dialogs.openFiles = {ilshenar};
    click("TlLoadMap");
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].filters, (QStringList{"Ultima Online MAP (map*.mul)", "Ultima Online MAP container (map*.uop)"}));
    EXPECT_EQ(dialogs.openRequests[0].directory, QFileInfo(ilshenar).absolutePath())
        << "the dialog opens in the folder of the current map";
    EXPECT_EQ(edit("XJumpEdit").text(), "12");
    EXPECT_EQ(view().col(), 12);

    // A file that is not named map0..map5 is no map path.
    const QString other = mapFile("mymap0.mul", kTokunoSize);
    edit("MapEdit").setText(other);
    EXPECT_EQ(shownBackground(edit("MapEdit")), invalidColour());
    EXPECT_EQ(label("MapInfo"), "None");
    EXPECT_EQ(label("MapSize"), "None");
    EXPECT_EQ(view().colCount(), 2304) << "the view keeps its dimensions";
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(MapEditForm, StatusLineDescribesTheCellUnderThePointer) {
    const QString map = mapFile("map4.mul", kTokunoSize);
    {
        MapFile file(map.toStdString(), File::Mode::ReadWrite);
        file.writeCell(3, 2, MapCell{0x0003, -5}, MapGeometry{1448, 1448, 181});
    }
    storePaths(map, clientDir());
    start();

    hover(3, 2);
    EXPECT_EQ(panel(0), "X=3 - Y=2 - Altitude=-5 - Tile=00 03");
    hover(1, 1);
    EXPECT_EQ(panel(0), "X=1 - Y=1 - Altitude=0 - Tile=00 00");
    EXPECT_EQ(panel(1), "Selected mode: Only draw tile without set altitude - Drawing disabled");
}

TEST_F(MapEditForm, GoClampsToTheMapAndReportsTextThatIsNoNumber) {
    storePaths(mapFile("map2.mul", kIlshenarSize), clientDir());
    start();
    int selections = 0;
    QObject::connect(&view(), &MapView::selectCell, [&] { ++selections; });

    go("-5", "9000");
    EXPECT_EQ(view().col(), 0);
    EXPECT_EQ(view().row(), 1599);
    EXPECT_EQ(selections, 0) << "the jump paints nothing";

    go("abc", "10");
    ASSERT_EQ(dialogs.errors, QStringList{"'abc' is not a valid integer value"});
    EXPECT_EQ(view().col(), 0);
    EXPECT_EQ(view().row(), 1599);

    // The selection handler is attached again after the failed jump.
    view().setCurrentCell(5, 5);
    EXPECT_EQ(selections, 1);
}

TEST_F(MapEditForm, GoBringsTheCurrentCellBackIntoView) {
    storePaths(mapFile("map2.mul", kIlshenarSize), clientDir());
    start();
    go("500", "600");
    view().setLeftCol(0);
    view().setTopRow(0);
    go("500", "600");
    EXPECT_LE(view().leftCol(), 500);
    EXPECT_GT(view().leftCol() + view().visibleColCount(), 500);
    EXPECT_LE(view().topRow(), 600);
    EXPECT_GT(view().topRow() + view().visibleRowCount(), 600);
}

TEST_F(MapEditForm, ZoomStepsByFivePixelsAndDefaultReturnsTo45AndTheZoomIsKeptWhole) {
    start();
    for (int i = 0; i < 3; ++i)
        click("SpeedButton3");
    EXPECT_EQ(view().zoom(), 60);
    click("TLZoomLevel");
    EXPECT_EQ(view().zoom(), 45);
    for (int i = 0; i < 12; ++i)
        click("SpeedButton2");
    EXPECT_EQ(view().zoom(), 1) << "a cell never gets smaller than one pixel";
    for (int i = 0; i < 21; ++i)
        click("SpeedButton3");
    EXPECT_EQ(view().zoom(), 106);
    child<QAction>("eXit1").trigger();
    EXPECT_EQ(store.value("ZoomLevel"), "106") << "three digits are stored whole";
}

TEST_F(MapEditForm, StatusPanelsTakeHalfTheStatusBarEach) {
    start();
    window->resize(800, window->height());
    QCoreApplication::processEvents();
    auto& bar = child<StatusBar>("StatusBar");
    EXPECT_EQ(bar.width(), 800);
    EXPECT_EQ(bar.panelWidth(0), 400);
    EXPECT_EQ(bar.panelWidth(1), 400);
    window->resize(701, window->height());
    QCoreApplication::processEvents();
    EXPECT_EQ(bar.panelWidth(0), 350);
}

TEST_F(MapEditForm, AtTheFirstRunSizeNothingIsClippedAndLongStatusTextsEndInDotsWithTheWholeTextOnHover) {
    storePaths(mapFile("map4.mul", kTokunoSize), clientDir());
    start();
    EXPECT_EQ(window->width(), 701);
    // Every caption fits its control (with room for a box, a circle or an
    // arrow beside it).
    QStringList clipped;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!control->isVisible() || control->objectName().startsWith("StatusPanel"))
            continue;
        QString text;
        int beside = 0;
        if (const auto* label = qobject_cast<QLabel*>(control); label && !label->wordWrap())
            text = label->text();
        else if (const auto* button = qobject_cast<QAbstractButton*>(control))
            text = button->text(), beside = qobject_cast<QCheckBox*>(control) || qobject_cast<QRadioButton*>(control) ? 18 : 0;
        else if (const auto* box = qobject_cast<QComboBox*>(control))
            text = box->currentText(), beside = 18;
        text.remove(QLatin1Char('&'));
        if (!text.isEmpty() && control->fontMetrics().horizontalAdvance(text) + beside > control->contentsRect().width())
            clipped << control->objectName() + QLatin1Char(':') + text;
    }
    EXPECT_EQ(clipped.join(", ").toStdString(), "");

    auto& bar = child<StatusBar>("StatusBar");
    for (int i = 0; i < 2; ++i) {
        auto* shown = bar.findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i));
        EXPECT_LE(shown->fontMetrics().horizontalAdvance(shown->text()), shown->contentsRect().width()) << i;
        EXPECT_EQ(shown->toolTip(), panel(i));
    }
    EXPECT_EQ(panel(1), "Selected mode: Only draw tile without set altitude - Drawing disabled");
    EXPECT_TRUE(bar.shownText(1).endsWith(QChar(0x2026))) << bar.shownText(1).toStdString();
    window->resize(1200, window->height());
    QCoreApplication::processEvents();
    EXPECT_EQ(bar.shownText(1), panel(1)) << "wide enough, the whole text shows";
}

// The region of the main window a control stands in.
QString regionOf(QWidget* control) {
    for (QWidget* w = control; w != nullptr; w = w->parentWidget())
        for (const char* region : {"TopPanel", "LeftPanel", "MainDrawGrid", "RightPanel", "BottomPanel", "FileNamePanel"})
            if (w->objectName() == QLatin1String(region))
                return w->objectName();
    return QStringLiteral("?");
}

TEST_F(MapEditForm, TabGoesRoundEveryControlInReadingOrderAndTheMenusHaveMnemonicsThatDoNotClash) {
    storePaths(mapFile("map4.mul", kTokunoSize), clientDir());
    start();
    EXPECT_TRUE(view().hasFocus()) << "the keyboard starts on the map";

    // One round of Tab from the map: the palette, the panel below, the
    // paths, the tool strip, the left panel, and back to the map.
    QStringList regions;
    QSet<QWidget*> reached;
    for (QWidget* w = view().nextInFocusChain(); w != &view(); w = w->nextInFocusChain()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || !w->isEnabled() || w->window() != window.get())
            continue;
        reached.insert(w);
        if (regions.isEmpty() || regions.last() != regionOf(w))
            regions << regionOf(w);
    }
    EXPECT_EQ(regions, (QStringList{"RightPanel", "BottomPanel", "FileNamePanel", "TopPanel", "LeftPanel"}));
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if ((control->focusPolicy() & Qt::TabFocus) && control->isVisible() && control->isEnabled() &&
            control != &view() && regionOf(control) != "?") {
            EXPECT_TRUE(reached.contains(control)) << control->objectName().toStdString();
        }
    }
    for (const char* name : {"BrushSizeEdt", "udRValue", "ZValueEdit", "SortedTextureGrid", "UOPathEdit", "btnDefault"})
        EXPECT_TRUE(reached.contains(&child<QWidget>(name))) << name;

    // Each item of "Edit" and "&Extra" has its own letter; the captions read
    // as ever.
    EXPECT_EQ(child<QMenu>("Edit1").title(), "E&dit");
    for (const char* menuName : {"Edit1", "Spezial1"}) {
        QSet<QChar> letters;
        for (QAction* item : child<QMenu>(menuName).actions()) {
            if (item->isSeparator())
                continue;
            const QString text = item->text();
            const qsizetype at = text.indexOf(QLatin1Char('&'));
            ASSERT_GE(at, 0) << text.toStdString();
            const QChar letter = text[at + 1].toLower();
            EXPECT_FALSE(letters.contains(letter)) << text.toStdString();
            letters.insert(letter);
        }
    }
    EXPECT_EQ(child<QAction>("TlUndo").text().remove(QLatin1Char('&')), "Undo          CTRL+Z");
    EXPECT_EQ(child<QAction>("ShowonlyColor1").text().remove(QLatin1Char('&')), "Show only Color");
}

TEST_F(MapEditForm, CtrlDigitInAJumpEditJumpsToAnEnabledBookmark) {
    storePaths(mapFile("map2.mul", kIlshenarSize), clientDir());
    bookmarks[3] = BookmarkSlot{700, 900, true};
    bookmarks[5] = BookmarkSlot{11, 12, false};
    start();
    edit("XJumpEdit").setFocus();
    QTest::keyClick(&edit("XJumpEdit"), Qt::Key_5, Qt::ControlModifier);
    EXPECT_EQ(view().col(), 0) << "a disabled slot does nothing";
    QTest::keyClick(&edit("XJumpEdit"), Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(edit("XJumpEdit").text(), "700");
    EXPECT_EQ(edit("YJumpEdit").text(), "900");
    EXPECT_EQ(view().col(), 700);
    EXPECT_EQ(view().row(), 900);
}

TEST_F(MapEditForm, DisplaySwitchesReachTheView) {
    start();
    EXPECT_EQ(view().drawOptions(), CellDrawOptions{});
    child<QAction>("coloredAltitude").trigger();
    child<QAction>("ShowAltitude1").trigger();
    EXPECT_TRUE(view().drawOptions().coloredAltitude);
    EXPECT_FALSE(view().drawOptions().showNumber);
    EXPECT_FALSE(child<QAction>("ShowAltitude1").isChecked());
    child<RadioGroup>("ShowAltitudeRadioGroup").selectAsIfClicked(0);
    EXPECT_TRUE(view().drawOptions().showAltitude);
    child<RadioGroup>("GridBox").selectAsIfClicked(0);
    EXPECT_EQ(view().gridLineWidth(), 1);
}

TEST_F(MapEditForm, AboutOpensABoxThatDoesNotBlockTheWindow) {
    start();
    child<QAction>("About1").trigger();
    auto* about = window->findChild<QDialog*>("InfoForm");
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal());
}

TEST_F(MapEditForm, ClosingWritesTheViewSettings) {
    storePaths(mapFile("map4.mul", kTokunoSize), clientDir());
    store.setValue("AltitudeModify", "1");
    store.setValue("CoordZ", "7");
    start();
    go("12", "34");
    click("SpeedButton3");
    child<RadioGroup>("GridBox").selectAsIfClicked(0);
    child<QAction>("eXit1").trigger();
    EXPECT_FALSE(window->isVisible());

    EXPECT_EQ(store.value("CoordX"), "12");
    EXPECT_EQ(store.value("CoordY"), "34");
    EXPECT_EQ(store.value("ZoomLevel"), "50");
    EXPECT_EQ(store.value("Grid"), "0");
    EXPECT_EQ(store.value("ShowAltitude"), "1");
    EXPECT_EQ(store.value("AltitudeModify"), "1") << "the painting tools' settings are kept";
    EXPECT_EQ(store.value("CoordZ"), "7");
}

TEST_F(MapEditForm, CancelInTheStartUpErrorDialogClosesWithoutSaving) {
    const std::string missing = (temp / "gone" / "map0.mul").string();
    store.setValue("MAPx.mul", missing);
    store.setValue("UOPath", clientDir().toStdString());
    store.setValue("CoordX", "100");
    const auto before = store.values();
    dialogs.choices = {ErrorChoice::Cancel};
    start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 2000));

    ASSERT_EQ(dialogs.errorsDetected.size(), 1);
    EXPECT_EQ(dialogs.errorsDetected.front(),
              QString::fromStdString("Error detected :\r\nLoad File Names\r\nFile : " + missing + "\r\nmap0.mul is missing"));
    EXPECT_EQ(store.values(), before);
}

TEST_F(MapEditForm, AMapCutShortWhileOpenIsToldOnceAndTheStatusLineSaysTheCellCannotBeRead) {
    const QString map = mapFile("map4.mul", kTokunoSize);
    storePaths(map, clientDir());
    start();
    go("1400", "1400");
    QCoreApplication::processEvents();
    fs::resize_file(map.toStdString(), kTokunoSize / 2);
    const auto errorsBefore = dialogs.errors.size();
    // Painting there, the view drawing it and the status line all fail: one
    // cause, one message.
    child<QComboBox>("SelectDrawingModeComboBox").setCurrentIndex(2);
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, view().cellRect(1400, 1400).center());
    for (int i = 0; i < 5; ++i)
        hover(1400, 1400 + i % 2);
    view().redrawAll();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.errors.size() - errorsBefore, 1) << dialogs.errors.join("\n").toStdString();
    EXPECT_TRUE(panel(0).endsWith("Cell cannot be read")) << panel(0).toStdString();
    EXPECT_EQ(child<StatusBar>("StatusBar").findChild<QLabel*>("StatusPanel0")->toolTip(), panel(0))
        << "a panel too narrow for its text shows it whole on hover";
}

TEST_F(MapEditForm, AClientFolderMissingAFileSaysWhichInTheTooltipTheStatusLineAndTheStartUpMessage) {
    const QString map = mapFile("map4.mul", kTokunoSize);
    storePaths(map, clientDir());
    start();
    const fs::path lacking = temp / "lacking";
    fs::create_directories(lacking);
    for (const char* name : {"artidx.mul", "art.mul", "texidx.mul"})
        fs::copy_file(fs::path(clientDir().toStdString()) / name, lacking / name);
    edit("UOPathEdit").setText(QString::fromStdString(lacking.string()));
    EXPECT_EQ(shownBackground(edit("UOPathEdit")), invalidColour());
    EXPECT_EQ(edit("UOPathEdit").toolTip(), "texmaps.mul is missing");
    hover(3, 4);
    EXPECT_EQ(panel(0), "X=3 - Y=4 - Wrong filename: texmaps.mul is missing");
    window->close();

    // Started on that folder.
    storePaths(map, QString::fromStdString(lacking.string()));
    start();
    EXPECT_EQ(dialogs.errorsDetected,
              QStringList{QString::fromStdString("Error detected :\r\nLoad Texture\r\nFile : " +
                                                 (lacking / "texmaps.mul").string() + "\r\ntexmaps.mul is missing")});
    EXPECT_EQ(edit("UOPathEdit").toolTip(), "texmaps.mul is missing");
}

TEST_F(MapEditForm, PathsGivenOnTheCommandLineServeThisStartAndLeaveTheStoredOnesAlone) {
    const QString stored = mapFile("map2.mul", kIlshenarSize);
    storePaths(stored, clientDir());
    const QString given = mapFile("map4.mul", kTokunoSize);
    const fs::path otherClient = temp / "other client";
    fs::create_directories(otherClient);
    sample::writeSampleClientFiles(otherClient, 1);
    setenv("STONEREACH_HOME", home().c_str(), 1);
    StartupPathStore startStore(store, StartupPaths{given.toStdString(), otherClient.string()});
    window = std::make_unique<TSRMapEditForm>(startStore, dialogs, bookmarks);
    window->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(edit("MapEdit").text(), given);
    EXPECT_EQ(edit("UOPathEdit").text(), QString::fromStdString(otherClient.string()));
    go("5", "5"); // stores and reopens both paths
    window->close();
    EXPECT_EQ(store.value("MAPx.mul"), stored.toStdString());
    EXPECT_EQ(store.value("UOPath"), clientDir().toStdString()) << "an \"Open with\" start changes no setting";

    // A map the user chooses is stored as ever.
    StartupPathStore againStore(store, StartupPaths{given.toStdString(), otherClient.string()});
    window = std::make_unique<TSRMapEditForm>(againStore, dialogs, bookmarks);
    window->show();
    QCoreApplication::processEvents();
    const QString chosen = mapFile("map0.mul", 77070336);
    edit("MapEdit").setText(chosen);
    window->close();
    EXPECT_EQ(store.value("MAPx.mul"), chosen.toStdString());
    EXPECT_EQ(store.value("UOPath"), clientDir().toStdString());
}

TEST_F(MapEditForm, AMapFileOfUnknownSizeSaysWhatWasFound) {
    storePaths(mapFile("map0.mul", 1000), clientDir());
    start();
    EXPECT_EQ(shownBackground(edit("MapEdit")), validColour());
    EXPECT_EQ(label("MapInfo"), "None");
    const QString expected = "map0.mul, 1000 bytes: no known map has this name and size.";
    EXPECT_EQ(edit("MapEdit").toolTip(), expected);
    EXPECT_EQ(child<QLabel>("MapInfo").toolTip(), expected);
}

TEST_F(MapEditForm, StartUpShowsTheStoredCellAndEnterInAJumpEditGoesThereWithTheKeyboardOnTheMap) {
    storePaths(mapFile("map2.mul", kIlshenarSize), clientDir());
    store.setValue("CoordX", "900");
    store.setValue("CoordY", "700");
    start();
    EXPECT_EQ(view().col(), 900);
    EXPECT_EQ(view().row(), 700);
    EXPECT_GE(900, view().leftCol());
    EXPECT_LT(900, view().leftCol() + view().visibleColCount()) << "the stored cell is in view";

    window->activateWindow();
    edit("XJumpEdit").setFocus();
    edit("XJumpEdit").setText("40");
    edit("YJumpEdit").setText("50");
    QTest::keyClick(&edit("XJumpEdit"), Qt::Key_Return);
    EXPECT_EQ(view().col(), 40);
    EXPECT_EQ(view().row(), 50);
    EXPECT_TRUE(view().hasFocus());

    // The folder browser starts in the client directory.
    click("TlSelectDir");
    ASSERT_EQ(dialogs.directoryStarts.size(), 1);
    EXPECT_EQ(fs::path(dialogs.directoryStarts[0].toStdString()), fs::path(clientDir().toStdString()));
}

TEST_F(MapEditForm, TheWindowComesBackAtItsLastSizeAndPlace) {
    start();
    const QSize design = window->size();
    EXPECT_GE(design.width(), 701);
    window->setGeometry(40, 50, 900, 720);
    const QRect placed = window->geometry();
    click("SpeedButton1"); // Exit on the tool strip
    EXPECT_FALSE(window->isVisible());
    ASSERT_TRUE(store.value("WindowGeometry"));

    start();
    EXPECT_EQ(window->geometry(), placed);
    // The map view never shrinks below 200 pixels; the window's minimum follows.
    EXPECT_GE(view().minimumWidth(), 200);
    window->resize(100, 100);
    EXPECT_GE(view().width(), 200);
}

TEST_F(MapEditForm, EveryControlHasANameAScreenReaderCanSay) {
    storePaths(mapFile("map4.mul", kTokunoSize), clientDir());
    start();
    EXPECT_EQ(test::controlsWithoutAccessibleName(*window).join(", ").toStdString(), "");
    EXPECT_EQ(child<QLineEdit>("XJumpEdit").accessibleName(), "X");
    EXPECT_EQ(child<QAbstractButton>("btnDefault").accessibleName(), "Paint");
    EXPECT_EQ(child<QAbstractButton>("btnDefault").toolTip(), "Paint");
}
