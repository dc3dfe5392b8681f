#include "gui/editor/TSRMapEditForm.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QToolButton>

#include "editor/BookmarkFile.h"
#include "editor/TypedFileName.h"
#include "editor/StatusLineText.h"
#include "editor/TileLists.h"
#include "gui/app/ProgramDirectory.h"
#include "gui/app/QtConversions.h"
#include "gui/app/StatusBar.h"
#include "gui/app/TInfoForm.h"
#include "gui/app/WindowDialogs.h"
#include "gui/app/WindowRegions.h"
#include "gui/editor/BrushesPart.h"
#include "gui/editor/DialogSupport.h"
#include "gui/editor/MapFileWatcher.h"
#include "gui/editor/MapFilesPart.h"
#include "gui/editor/MapView.h"
#include "gui/editor/NavigationPart.h"
#include "gui/editor/PaintingPart.h"
#include "gui/editor/PalettePart.h"
#include "gui/editor/TSRFOptions.h"
#include "gui/editor/ToolWindows.h"
#include "gui/widgets/ControlNames.h"
#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/ViewSettings.h"

namespace stonereach {

namespace {

constexpr int kClientWidth = 701;
constexpr int kClientHeight = 553;
// The map view never shrinks below this, so the window's minimum size keeps
// room for a few cells whatever the panels need.
constexpr int kMinimumViewSize = 200;

// Where the window was and how large, kept between runs.
constexpr std::string_view kWindowGeometrySetting = "WindowGeometry";

// The ten bookmarks, in the program directory.
constexpr const char* kBookmarkFileName = "bookmarklist.xml";

} // namespace

TSRMapEditForm::TSRMapEditForm(SettingsStore& store, WindowDialogs& dialogs, BookmarkTable& bookmarks,
                               QWidget* parent)
    : QMainWindow(parent), guard_(dialogs, this), store_(store), bookmarks_(bookmarks),
      programDir_(stonereach::programDirectory()) {
    setObjectName(QStringLiteral("SRMapEditForm"));
    setWindowTitle(applicationTitle());

    MainWindowFrame frame = buildMainWindowFrame(*this);
    WindowRegions& regions = frame.regions;
    // The map files come first: they hold the open map the others work on.
    mapFiles_ = std::make_unique<MapFilesPart>(store_, guard_, regions);
    OpenMap& map = mapFiles_->openMap();
    drawSource_ = std::make_unique<DataFileSetDrawSource>(mapFiles_->dataFiles());
    mapView_ = new MapView(*drawSource_, bookmarks_);
    mapView_->setMinimumSize(kMinimumViewSize, kMinimumViewSize);
    frame.mapView->addWidget(mapView_, 1);
    statusBar_ = new StatusBar;
    frame.statusLine->addWidget(statusBar_);

    navigation_ = std::make_unique<NavigationPart>(guard_, bookmarks_, programDir_, regions);
    palette_ = std::make_unique<PalettePart>(guard_, *drawSource_, map, programDir_, regions);
    brushes_ = std::make_unique<BrushesPart>(guard_, programDir_, *drawSource_, regions);
    painting_ = std::make_unique<PaintingPart>(guard_, map, programDir_, regions);
    tools_ = std::make_unique<ToolWindows>(*this, dialogs, store_);
    watcher_ = std::make_unique<MapFileWatcher>(mapFiles_->dataFiles(), guard_);
    tools_->addMenuEntries(regions.toolItems);
    regions.overviewButton->addWidget(tools_->createOverviewButton(frame.exitButton->parentWidget()));

    connect(frame.exitButton, &QToolButton::clicked, this, &QWidget::close);
    connect(frame.exitAction, &QAction::triggered, this, &QWidget::close);
    guard_.connect(frame.optionsAction, &QAction::triggered, this, [this] { Options1Click(); });
    guard_.connect(frame.aboutAction, &QAction::triggered, this, [this] { About1Click(); });
    connectParts();
    chainTabStops();
    FormCreate();
    restoreWindowGeometry();
}

void TSRMapEditForm::chainTabStops() {
    // Tab goes round the window as it reads: the tool strip, the left panel,
    // the map, the palette, the panel below the map, the paths.
    QList<QWidget*> stops;
    for (const char* region : {"TopPanel", "LeftPanel"})
        stops += tabStopsInLayoutOrder(findChild<QWidget*>(QString::fromLatin1(region)));
    stops << mapView_;
    for (const char* region : {"RightPanel", "BottomPanel", "FileNamePanel"})
        stops += tabStopsInLayoutOrder(findChild<QWidget*>(QString::fromLatin1(region)));
    for (qsizetype i = 1; i < stops.size(); ++i)
        setTabOrder(stops[i - 1], stops[i]);
}

void TSRMapEditForm::FormCreate() {
    // The view and tool settings first, then the editor's own files. A file
    // that cannot be read is told and the next step still runs.
    LoadSettings();
    remembered_ = loadRememberedChoices(store_);
    guard_([this] { painting_->LoadSelectionGroups(); });
    // The sorted palette shows the list it showed last time, while it is
    // there.
    std::string startupList = std::string(kTileListFolderName) + "/" + std::string(kStartupTileListName);
    if (remembered_.tileList && typedFileNameProblem(*remembered_.tileList) == std::nullopt &&
        fileExists(programDir_ / kTileListFolderName / *remembered_.tileList))
        startupList = std::string(kTileListFolderName) + "/" + *remembered_.tileList;
    guard_([&] { palette_->ListTileListFiles(startupList); });
    guard_([&] { palette_->LoadTileList(startupList); });
    guard_([this] { LoadBookmarks(); });
    guard_([this] { brushes_->listBrushes(); });
    if (remembered_.customBrush)
        guard_([this] { brushes_->chooseBrush(qText(*remembered_.customBrush)); });
    if (remembered_.selectedTile)
        painting_->selectTile(*remembered_.selectedTile);
}

TSRMapEditForm::~TSRMapEditForm() = default;

void TSRMapEditForm::connectParts() {
    // The map files: what the view shows, where it goes, what draws again.
    connect(mapFiles_.get(), &MapFilesPart::mapDetected, mapView_, &MapView::mapChanged);
    // A later change of map file sends the view to the new map's origin.
    connect(mapFiles_.get(), &MapFilesPart::mapSwitched, this, [this] { navigation_->goToCell(0, 0); });
    connect(mapFiles_.get(), &MapFilesPart::filesChanged, this, [this] {
        mapView_->redrawAll();
        palette_->redraw();
    });
    // Files changed by other programs: the watcher follows the files open
    // now and tells what became of them.
    connect(mapFiles_.get(), &MapFilesPart::mapDetected, this, [this] {
        watcher_->follow();
        showMapTrouble();
        painting_->refreshStrokeActions();
    });
    connect(mapFiles_.get(), &MapFilesPart::filesChanged, watcher_.get(), &MapFileWatcher::follow);
    guard_.connect(watcher_.get(), &MapFileWatcher::mapChanged, this,
                   [this](MapFileChange change) { mapChangedElsewhere(change); });
    guard_.connect(watcher_.get(), &MapFileWatcher::clientFilesChanged, this,
                   [this] { clientFilesChangedElsewhere(); });
    connect(mapFiles_.get(), &MapFilesPart::quitRequested, this, [this] {
        // The data file set has marked the program as closing, so the close
        // neither closes files nor saves anything. It runs once the step in
        // progress has returned; no further file is opened meanwhile.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    });

    // Navigation moves and dresses the view.
    connect(navigation_.get(), &NavigationPart::goStarted, mapFiles_.get(), &MapFilesPart::storePathsAndReopen);
    connect(navigation_.get(), &NavigationPart::jumpRequested, mapView_, &MapView::jumpTo);
    connect(navigation_.get(), &NavigationPart::jumpedByUser, this,
            [this] { mapView_->setFocus(Qt::OtherFocusReason); });
    connect(navigation_.get(), &NavigationPart::zoomChanged, mapView_, &MapView::setZoom);
    connect(navigation_.get(), &NavigationPart::gridLinesChanged, mapView_, &MapView::showGridLines);
    connect(navigation_.get(), &NavigationPart::displaySwitched, mapView_, &MapView::setDisplaySwitches);
    guard_.connect(mapView_, &MapView::goToBookmarkRequested, this,
                   [this](int slot) { navigation_->jumpToBookmark(slot); });

    // Painting: the view's selections and undo key, the tile and brush it
    // paints with, and the cells it wrote.
    guard_.connect(mapView_, &MapView::selectCell, this,
                   [this](int col, int row) { painting_->MainDrawGridSelectCell(col, row); });
    connect(mapView_, &MapView::arrowScrolled, painting_.get(), &PaintingPart::arrowKeyScrolled);
    guard_.connect(mapView_, &MapView::undoRequested, this, [this] { painting_->UndoLastCell(); });
    connect(painting_.get(), &PaintingPart::cellsWritten, mapView_, &MapView::redrawCells);
    connect(painting_.get(), &PaintingPart::areaWritten, mapView_, &MapView::redrawArea);
    connect(mapView_, &MapView::strokeStarted, painting_.get(), &PaintingPart::strokeStarted);
    guard_.connect(mapView_, &MapView::strokeEnded, this, [this] { painting_->strokeEnded(); });
    connect(painting_.get(), &PaintingPart::shapeToolDownChanged, mapView_, &MapView::setShapeToolDown);
    connect(painting_.get(), &PaintingPart::fillCornerChanged, mapView_, &MapView::setFillCorner);
    // The status line shows the hovered cell as written, also when a tool
    // or undo wrote it under the pointer.
    guard_.connect(painting_.get(), &PaintingPart::cellsWritten, this, [this](const ChangedCells& cells) {
        const CellPoint hover = mapView_->hoverCell();
        if (cells.bounds().contains(hover.x, hover.y))
            UpdateStatusLine();
    });
    connect(palette_.get(), &PalettePart::tileSelected, painting_.get(), &PaintingPart::selectTile);
    // The palettes frame the tile that painting writes, however it was chosen.
    connect(painting_.get(), &PaintingPart::selectedTileChanged, palette_.get(), &PalettePart::showSelectedTile);
    guard_.connect(palette_.get(), &PalettePart::tileChosen, this,
                   [this](std::int64_t tile) { painting_->chooseTile(tile); });
    connect(brushes_.get(), &BrushesPart::brushChosen, painting_.get(), &PaintingPart::setBrush);
    guard_.connect(mapView_, &MapView::cellPressed, this, [this](int col, int row, Qt::MouseButton button) {
        palette_->MainDrawGridMouseDown(col, row, button);
    });

    // The status line and the Insert key's capture for the patch editor.
    guard_.connect(mapView_, &MapView::hoverChanged, this, [this] { UpdateStatusLine(); });
    guard_.connect(mapView_, &MapView::arrowScrolled, this, [this] { UpdateStatusLine(); });
    guard_.connect(palette_.get(), &PalettePart::statusLineRefreshRequested, this, [this] { UpdateStatusLine(); });
    guard_.connect(painting_.get(), &PaintingPart::statusLineRefreshRequested, this, [this] { UpdateStatusLine(); });
    guard_.connect(mapView_, &MapView::insertPressed, this, [this] {
        if (tools_->patchEditorVisible())
            captureHoveredCell();
    });

    connect(mapView_, &MapView::pictureNotice, this,
            [this](const QString& text) { guard_.dialogs().showMessage(this, text); });
    connect(mapView_, &MapView::drawFailed, this, [this](const QString& message) {
        // A map that another program cut short says so in the status line;
        // the cells past its end are drawn black without a word more.
        if (mapFiles_->openMap().trouble() != MapFileTrouble::CutShort)
            guard_.dialogs().showError(this, message);
    });
    // The status bar gets its new width after the window's resize has been
    // handled, so its own resize runs the panel sizing as well.
    statusBar_->installEventFilter(this);
}

// ---- Start-up and closing -------------------------------------------------

void TSRMapEditForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    guard_([this] { FormShow(); });
}

void TSRMapEditForm::FormShow() {
    painting_->seedRandomFromClock();
    mapFiles_->restoreDataFiles();
    if (mapFiles_->closingAfterError())
        return;
    mapFiles_->DetectMapVariant();
    // The drawing mode of the last run, while it is still offered.
    if (!remembered_.drawingMode || !painting_->chooseDrawingModeNamed(qText(*remembered_.drawingMode)))
        painting_->chooseDrawingMode(DrawingMode::Kind::DontDraw);
    LoadSettings();
    UpdateStatusLine();
    // The keyboard starts on the map: the arrow keys scroll at once.
    mapView_->setFocus(Qt::OtherFocusReason);
    // The view shows the cell the jump edits hold, as Go would.
    try {
        navigation_->CoordGoBtnClick();
    } catch (const ConversionError&) {
        // Stored coordinates that are not numbers leave the view where it
        // is; Go reports them when the user presses it.
    }
}

void TSRMapEditForm::closeEvent(QCloseEvent* event) {
    if (!mapFiles_->closingAfterError()) {
        guard_([this] {
            mapFiles_->dataFiles().closeForExit();
            // Cancel in a closing error means quit without saving.
            if (!mapFiles_->closingAfterError())
                SaveSettings();
        });
        if (!mapFiles_->closingAfterError())
            guard_([this] { SaveBookmarks(); });
    }
    event->accept();
}

void TSRMapEditForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TSRMapEditForm::FormResize() {
    const int half = statusBar_->width() / 2;
    statusBar_->setPanelWidth(0, half);
    statusBar_->setPanelWidth(1, half);
}

void TSRMapEditForm::restoreWindowGeometry() {
    if (const auto stored = store_.value(kWindowGeometrySetting)) {
        const QByteArray geometry = QByteArray::fromBase64(QByteArray::fromStdString(*stored));
        if (!geometry.isEmpty() && restoreGeometry(geometry))
            return;
    }
    // The first start: the design size (the client area excludes the menu
    // bar), centred on the screen.
    resize(std::max(kClientWidth, minimumSizeHint().width()),
           std::max(kClientHeight + menuBar()->sizeHint().height(), minimumSizeHint().height()));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

// ---- Keyboard ---------------------------------------------------------------

void TSRMapEditForm::keyPressEvent(QKeyEvent* event) {
    // Keys that children leave unhandled arrive here too; only keys pressed
    // in the window itself count.
    const QWidget* focus = QApplication::focusWidget();
    if ((focus == nullptr || focus == this) && navigation_->FormKeyDown(*event))
        return;
    QMainWindow::keyPressEvent(event);
}

bool TSRMapEditForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == statusBar_ && event->type() == QEvent::Resize)
        FormResize();
    return QMainWindow::eventFilter(watched, event);
}

// ---- Settings ---------------------------------------------------------------

void TSRMapEditForm::LoadSettings() {
    const StoredViewSettings stored = loadViewSettings(store_);
    navigation_->applySettings(stored);
    painting_->applySettings(stored);
}

void TSRMapEditForm::SaveSettings() {
    ViewSettingsToSave values;
    navigation_->collectSettings(values);
    painting_->collectSettings(values);
    saveViewSettings(store_, values);
    store_.setValue(kWindowGeometrySetting, saveGeometry().toBase64().toStdString());

    RememberedChoices choices;
    const std::int64_t tile = painting_->selectedTile();
    if (tile >= 0 && tile <= 0xFFFF)
        choices.selectedTile = static_cast<std::uint16_t>(tile);
    if (!palette_->tileListName().empty())
        choices.tileList = palette_->tileListName();
    if (const QString brush = brushes_->brushName(); !brush.isEmpty())
        choices.customBrush = stdText(brush);
    choices.drawingMode = stdText(painting_->drawingModeText());
    saveRememberedChoices(store_, choices);
}

// ---- The editor's own files ---------------------------------------------------

void TSRMapEditForm::LoadBookmarks() {
    const BookmarkLoadReport report = loadBookmarks(programDir_ / kBookmarkFileName, bookmarks_);
    if (report.clean())
        return;
    // What could not be read is told once; the rest of the file is in use
    // and the next exit writes the file whole again.
    QStringList lines;
    for (const std::string& problem : report.problems)
        lines << qText(problem);
    if (report.unlistedProblems > 0)
        lines << QStringLiteral("%1 more problems of the same kind.").arg(report.unlistedProblems);
    guard_.dialogs().showMessage(this, lines.join(QLatin1Char('\n')));
}

void TSRMapEditForm::SaveBookmarks() { saveBookmarks(programDir_ / kBookmarkFileName, bookmarks_); }

void TSRMapEditForm::Options1Click() {
    TSRFOptions options(guard_.dialogs(), programDir_, *drawSource_, this);
    if (options.exec() != QDialog::Accepted)
        return;
    // The dialog has written tilelist.xml and the texture list; the drawing
    // modes, the sorted palette and the list menu follow the files. The
    // drawing mode and the list shown stay while they still exist; else
    // the mode is "Don't draw" and the list the one the dialog edited. Each
    // step runs even when one before it failed.
    const QString mode = painting_->drawingModeText();
    std::string list = std::string(kTileListFolderName) + "/" + options.model().textureListName();
    const std::string shown = palette_->tileListName();
    if (!shown.empty() && fileExists(programDir_ / kTileListFolderName / shown))
        list = std::string(kTileListFolderName) + "/" + shown;
    guard_([this] { painting_->LoadSelectionGroups(); });
    painting_->chooseDrawingModeNamed(mode);
    guard_([&] { palette_->LoadTileList(list); });
    guard_([&] { palette_->ListTileListFiles(list); });
}

// ---- Status line --------------------------------------------------------------

void TSRMapEditForm::UpdateStatusLine() {
    statusBar_->setPanelText(1, fromFileText(painting_->selectedModeStatus()));
    const CellPoint hover = mapView_->hoverCell();
    OpenMap& map = mapFiles_->openMap();
    // A map cut short by another program fails at every move over the lost
    // area: the line says so, and the error is told once, by whichever
    // reader of the map met it first.
    std::optional<MapCell> cell;
    try {
        cell = map.readCell(hover.x, hover.y);
    } catch (const IoError&) {
        statusBar_->setPanelText(0, QStringLiteral("X=%1 - Y=%2 - Cell cannot be read").arg(hover.x).arg(hover.y));
        // A map cut short by another program is told by the notice.
        if (map.trouble() != MapFileTrouble::CutShort && map.failureToTell())
            throw;
        return;
    }
    QString text = qText(hoverCellText(hover.x, hover.y, cell));
    // " - Wrong filename" says that no cell is read; what keeps it from
    // being read follows.
    if (!cell) {
        if (const QString reason = mapFiles_->notReadyReason(); !reason.isEmpty())
            text += QStringLiteral(": ") + reason;
    }
    statusBar_->setPanelText(0, text);
}

// The Insert key with the patch editor open: the cell under the pointer joins
// the patch list, unless its coordinates are there already.
void TSRMapEditForm::captureHoveredCell() {
    const CellPoint hover = mapView_->hoverCell();
    // Without a readable map there is no cell to capture.
    const std::optional<MapCell> cell = mapFiles_->openMap().readCell(hover.x, hover.y);
    if (!cell)
        return;
    if (tools_->IsOnPatchList(QString::number(hover.x), QString::number(hover.y)))
        guard_.dialogs().showMessage(this, QStringLiteral("This coords are on list!"));
    else
        tools_->addCapturedCell(hover.x, hover.y, *cell);
    UpdateStatusLine();
}

void TSRMapEditForm::About1Click() {
    auto* about = new TInfoForm(this);
    about->show();
}

// ---- What the tool windows ask ------------------------------------------------

void TSRMapEditForm::goToCell(int x, int y) { navigation_->goToCell(x, y); }

const OpenMap& TSRMapEditForm::openMap() { return mapFiles_->openMap(); }

const RadarColours& TSRMapEditForm::radarColours() { return mapFiles_->dataFiles().radarColours(); }

bool TSRMapEditForm::clientDirectoryValid() { return mapFiles_->dataFiles().clientDirValid(); }

void TSRMapEditForm::mapFileWritten(const std::filesystem::path& path) {
    if (!openMap().isFileAt(path))
        return;
    // The editor's own tool wrote it: the watcher has nothing to tell.
    mapFiles_->openMap().noteWrittenByEditor();
    mapView_->redrawAll();
    guard_([this] { UpdateStatusLine(); });
}

void TSRMapEditForm::mapFileReplaced(const std::filesystem::path& path) {
    if (!openMap().isFileAt(path))
        return;
    // The open handle still reads the file that was replaced: open the new
    // one (its size may differ, so its variant is told again).
    mapFiles_->reopenMap();
    mapView_->redrawAll();
}

// ---- Files changed by other programs ------------------------------------------

void TSRMapEditForm::mapChangedElsewhere(MapFileChange change) {
    // A new file is opened, and so is one of no known size that was written
    // (it may have become a map again): its variant is told afresh.
    if (change == MapFileChange::Replaced || (change == MapFileChange::Written && !openMap().variant()))
        mapFiles_->reopenMap();
    showMapTrouble();
    painting_->refreshStrokeActions();
    mapView_->redrawAll();
    UpdateStatusLine();
}

void TSRMapEditForm::clientFilesChangedElsewhere() {
    mapView_->redrawAll();
    palette_->redraw();
}

void TSRMapEditForm::showMapTrouble() {
    statusBar_->showNotice(qText(mapTroubleText(mapFiles_->openMap().trouble())));
}

} // namespace stonereach
