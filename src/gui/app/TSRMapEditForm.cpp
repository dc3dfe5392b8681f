#include "gui/app/TSRMapEditForm.h"

#include <algorithm>
#include <cstdlib>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include "editor/StatusLineText.h"
#include "gui/app/ErrorBoundary.h"
#include "gui/app/FileNamePanel.h"
#include "gui/app/LeftPanel.h"
#include "gui/app/StatusBar.h"
#include "gui/app/TInfoForm.h"
#include "gui/app/WindowDialogs.h"
#include "gui/editor/MapView.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/widgets/ValidityColours.h"
#include "mapdata/IntegerText.h"
#include "mapdata/ViewSettings.h"

namespace stonereach {

namespace {

constexpr int kClientWidth = 701;
constexpr int kClientHeight = 553;

std::string text(const QLineEdit* edit) { return edit->text().toStdString(); }

QString qtext(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

// A region of the window whose controls come from the painting tools and the
// tile palette; it keeps its place so the layout stays the same.
QFrame* region(const QString& name, QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return frame;
}

// The digit of a main-keyboard digit key (not the numeric pad), or -1.
int mainKeyboardDigit(const QKeyEvent& event) {
    if (event.modifiers() & Qt::KeypadModifier)
        return -1;
    if (event.key() >= Qt::Key_0 && event.key() <= Qt::Key_9)
        return event.key() - Qt::Key_0;
    return -1;
}

} // namespace

template <typename Handler>
void TSRMapEditForm::guarded(Handler&& handler) {
    runGuarded([this](const QString& message) { dialogs_.showError(this, message); },
               std::forward<Handler>(handler));
}

TSRMapEditForm::TSRMapEditForm(SettingsStore& store, WindowDialogs& dialogs, BookmarkTable& bookmarks,
                               QWidget* parent)
    : QMainWindow(parent), dataFiles_(std::make_unique<DataFileSet>(store, static_cast<DataFileDialogs&>(*this))), drawSource_(*dataFiles_),
      dialogs_(dialogs), store_(store), bookmarks_(bookmarks) {
    setObjectName(QStringLiteral("SRMapEditForm"));
    setWindowTitle(applicationTitle());

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    QFrame* top = region(QStringLiteral("TopPanel"), central);
    top->setFixedHeight(34);
    column->addWidget(top);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    leftPanel_ = new LeftPanel(central);
    middle->addWidget(leftPanel_);
    mapView_ = new MapView(drawSource_, bookmarks_, central);
    middle->addWidget(mapView_, 1);
    QFrame* right = region(QStringLiteral("RightPanel"), central);
    right->setFixedWidth(186);
    middle->addWidget(right);
    column->addLayout(middle, 1);

    QFrame* bottom = region(QStringLiteral("BottomPanel"), central);
    bottom->setFixedHeight(62);
    column->addWidget(bottom);

    fileNamePanel_ = new FileNamePanel(central);
    column->addWidget(fileNamePanel_);

    statusBar_ = new StatusBar(central);
    column->addWidget(statusBar_);
    setCentralWidget(central);

    buildMenu();
    connectHandlers();

    // Creation: the view and tool settings first.
    LoadSettings();

    // The client area excludes the menu bar.
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

TSRMapEditForm::~TSRMapEditForm() = default;

void TSRMapEditForm::buildMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("eXit1"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* extra = menuBar()->addMenu(QStringLiteral("&Extra"));
    extra->setObjectName(QStringLiteral("Spezial1"));
    const auto checkItem = [this, extra](const QString& name, const QString& caption, bool checked) {
        QAction* action = extra->addAction(caption);
        action->setObjectName(name);
        action->setCheckable(true);
        action->setChecked(checked);
        connect(action, &QAction::triggered, this, [this] { guarded([this] { displaySwitchClick(); }); });
        return action;
    };
    coloredAltitude_ = checkItem(QStringLiteral("coloredAltitude"), QStringLiteral("Colored Altitude"), false);
    showOnlyColor_ = checkItem(QStringLiteral("ShowonlyColor1"), QStringLiteral("Show only Color"), false);
    showNumber_ = checkItem(QStringLiteral("ShowAltitude1"), QStringLiteral("Show Number"), true);

    QMenu* info = menuBar()->addMenu(QStringLiteral("&Info"));
    info->setObjectName(QStringLiteral("Info1"));
    QAction* about = info->addAction(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("About1"));
    connect(about, &QAction::triggered, this, [this] { guarded([this] { About1Click(); }); });
}

void TSRMapEditForm::connectHandlers() {
    FileNamePanel& files = *fileNamePanel_;
    connect(files.mapEdit, &QLineEdit::textChanged, this,
            [this](const QString& value) { guarded([&] { MapEditChange(value); }); });
    connect(files.clientDirEdit, &QLineEdit::textChanged, this,
            [this](const QString& value) { guarded([&] { UOPathEditChange(value); }); });
    connect(files.loadMapButton, &QToolButton::clicked, this, [this] { guarded([this] { TlLoadMapClick(); }); });
    connect(files.selectDirButton, &QToolButton::clicked, this,
            [this] { guarded([this] { TlSelectDirClick(); }); });

    LeftPanel& left = *leftPanel_;
    connect(left.zoomInButton, &QToolButton::clicked, this, [this] { guarded([this] { ZoomInClick(); }); });
    connect(left.zoomOutButton, &QToolButton::clicked, this, [this] { guarded([this] { ZoomOutClick(); }); });
    connect(left.zoomDefaultButton, &QPushButton::clicked, this,
            [this] { guarded([this] { TLZoomLevelClick(); }); });
    connect(left.goButton, &QToolButton::clicked, this, [this] { guarded([this] { CoordGoBtnClick(); }); });
    connect(left.grid, &RadioGroup::clicked, this, [this] { guarded([this] { GridBoxClick(); }); });
    connect(left.showAltitude, &RadioGroup::clicked, this,
            [this] { guarded([this] { ShowAltitudeRadioGroupClick(); }); });
    // The status bar gets its new width after the window's resize has been
    // handled, so its own resize runs the panel sizing as well.
    statusBar_->installEventFilter(this);
    left.xJumpEdit->installEventFilter(this);
    left.yJumpEdit->installEventFilter(this);

    connect(mapView_, &MapView::hoverChanged, this, [this] { guarded([this] { UpdateStatusLine(); }); });
    connect(mapView_, &MapView::statusLineUpdateRequested, this, [this] { guarded([this] { UpdateStatusLine(); }); });
    connect(mapView_, &MapView::drawFailed, this, [this](const QString& message) { dialogs_.showError(this, message); });
    connect(mapView_, &MapView::goToBookmarkRequested, this, [this](int col, int row) {
        guarded([&] {
            leftPanel_->xJumpEdit->setText(QString::number(col));
            leftPanel_->yJumpEdit->setText(QString::number(row));
            CoordGoBtnClick();
        });
    });
}

// ---- Start-up and closing -------------------------------------------------

void TSRMapEditForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    guarded([this] { FormShow(); });
}

void TSRMapEditForm::FormShow() {
    const DataFileSet::Paths paths = dataFiles_->restoreDataFiles();
    if (dataFiles_->closingAfterError())
        return;
    fileNamePanel_->mapEdit->setText(qtext(paths.mapPath));
    if (dataFiles_->closingAfterError())
        return;
    fileNamePanel_->clientDirEdit->setText(qtext(paths.clientDir));
    if (dataFiles_->closingAfterError())
        return;
    DetectMapVariant();
    LoadSettings();
    UpdateStatusLine();
}

void TSRMapEditForm::closeEvent(QCloseEvent* event) {
    if (!dataFiles_->closingAfterError()) {
        guarded([this] {
            dataFiles_->closeForExit();
            // Cancel in a closing error means quit without saving.
            if (!dataFiles_->closingAfterError())
                SaveSettings();
        });
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

ErrorChoice TSRMapEditForm::showErrorDetected(const std::string& title, const std::string& detail) {
    const QString message = QStringLiteral("Error detected :\r\n") + qtext(title) + QStringLiteral("\r\n") + qtext(detail);
    const ErrorChoice choice = dialogs_.showErrorDetected(this, message);
    if (choice == ErrorChoice::Cancel) {
        // The data file set has marked the program as closing, so the close
        // neither closes files nor saves anything. It runs once the step in
        // progress has returned; no further file is opened meanwhile.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
    return choice;
}

void TSRMapEditForm::browseClientDirectory() { TlSelectDirClick(); }

// ---- Settings ---------------------------------------------------------------

void TSRMapEditForm::LoadSettings() {
    const StoredViewSettings stored = loadViewSettings(store_);
    LeftPanel& left = *leftPanel_;
    if (stored.coordX)
        left.xJumpEdit->setText(qtext(*stored.coordX));
    if (stored.coordY)
        left.yJumpEdit->setText(qtext(*stored.coordY));
    if (stored.coordZ)
        coordZ_ = *stored.coordZ;
    if (stored.zoomLevel)
        setZoom(*stored.zoomLevel);
    if (stored.altitudeModify)
        altitudeModify_ = radioIndexFromSetting(*stored.altitudeModify, 4);
    if (stored.showAltitude)
        left.showAltitude->selectAsIfClicked(radioIndexFromSetting(*stored.showAltitude, left.showAltitude->itemCount()));
    if (stored.grid)
        left.grid->selectAsIfClicked(radioIndexFromSetting(*stored.grid, left.grid->itemCount()));
}

void TSRMapEditForm::SaveSettings() {
    const LeftPanel& left = *leftPanel_;
    ViewSettingsToSave values;
    values.coordX = text(left.xJumpEdit);
    values.coordY = text(left.yJumpEdit);
    values.coordZ = coordZ_;
    values.zoomLevelText = text(left.zoomLevel);
    values.altitudeModify = altitudeModify_;
    values.showAltitude = left.showAltitude->itemIndex();
    values.grid = left.grid->itemIndex();
    saveViewSettings(store_, values);
}

// ---- Map path and client directory -----------------------------------------

void TSRMapEditForm::MapEditChange(const QString& value) {
    // Validity first, so the jump below stores the new path without opening
    // a path that is not a map file.
    dataFiles_->changeMapPath(value.toStdString());
    showPathValidity();
    if (!firstMapPathChange_) {
        leftPanel_->xJumpEdit->setText(QStringLiteral("0"));
        leftPanel_->yJumpEdit->setText(QStringLiteral("0"));
        CoordGoBtnClick();
    }
    firstMapPathChange_ = false;
    DetectMapVariant();
    dataFiles_->storePathsAndReopen(text(fileNamePanel_->mapEdit), text(fileNamePanel_->clientDirEdit));
    mapView_->redrawAll();
}

void TSRMapEditForm::DetectMapVariant() {
    fileNamePanel_->mapInfo->setText(QStringLiteral("None"));
    fileNamePanel_->mapSize->setText(QStringLiteral("None"));
    const MapVariant* variant = dataFiles_->mapPathValid() ? dataFiles_->detectMapVariant() : nullptr;
    // An open file of unknown size keeps the view's dimensions, but no cell
    // of it is read: its block layout is unknown.
    if (variant) {
        fileNamePanel_->mapInfo->setText(qtext(variant->name));
        fileNamePanel_->mapSize->setText(qtext(variant->sizeText));
        mapView_->setMapGeometry(MapGeometry::of(*variant));
    } else {
        mapView_->setMapGeometry(std::nullopt);
    }
    mapView_->setSizeText(fileNamePanel_->mapSize->text());
}

void TSRMapEditForm::UOPathEditChange(const QString& value) {
    struct ShowValidityAtEnd {
        TSRMapEditForm* form;
        ~ShowValidityAtEnd() { form->showPathValidity(); }
    } showAtEnd{this};
    // The radar colour load may fail after the directory has been judged.
    dataFiles_->changeClientDirectory(value.toStdString(), fileNamePanel_->mapInfo->text().toStdString());
    mapView_->redrawAll();
}

void TSRMapEditForm::showPathValidity() {
    showValidity(*fileNamePanel_->mapEdit, dataFiles_->mapPathValid());
    showValidity(*fileNamePanel_->clientDirEdit, dataFiles_->clientDirValid());
}

void TSRMapEditForm::TlLoadMapClick() {
    if (const auto path = dialogs_.chooseMapFile(this, QStringLiteral("Ultima Online MAP (map*.mul)")))
        fileNamePanel_->mapEdit->setText(*path);
}

void TSRMapEditForm::TlSelectDirClick() {
    if (const auto dir = dialogs_.chooseDirectory(this, QStringLiteral("Select Ultima Online directory:")))
        fileNamePanel_->clientDirEdit->setText(*dir);
}

// ---- Navigation -------------------------------------------------------------

void TSRMapEditForm::CoordGoBtnClick() {
    dataFiles_->storePathsAndReopen(text(fileNamePanel_->mapEdit), text(fileNamePanel_->clientDirEdit));

    // The moves below must not paint: the selection handler is detached and
    // put back however this ends.
    struct RestoreSelectHandler {
        MapView* view;
        DrawGrid::SelectCellHandler handler;
        ~RestoreSelectHandler() { view->setSelectCellHandler(std::move(handler)); }
    } restore{mapView_, mapView_->selectCellHandler()};
    mapView_->setSelectCellHandler({});

    int x = parseInteger(text(leftPanel_->xJumpEdit));
    x = std::max(0, std::min(x, mapView_->colCount() - 1));
    int y = parseInteger(text(leftPanel_->yJumpEdit));
    y = std::max(0, std::min(y, mapView_->rowCount() - 1));

    // Moving away first makes the final move scroll the target into view
    // even when it already is the current cell.
    if (x == mapView_->col())
        mapView_->setCurrentCell(std::abs(x - 1), mapView_->row());
    if (y == mapView_->row())
        mapView_->setCurrentCell(mapView_->col(), std::abs(y - 1));
    mapView_->setCurrentCell(x, y);
}

void TSRMapEditForm::jumpToBookmark(int slot) {
    const BookmarkSlot& bookmark = bookmarks_[static_cast<std::size_t>(slot)];
    if (!bookmark.enabled)
        return;
    leftPanel_->xJumpEdit->setText(QString::number(bookmark.col));
    leftPanel_->yJumpEdit->setText(QString::number(bookmark.row));
    CoordGoBtnClick();
}

bool TSRMapEditForm::FormKeyDown(const QKeyEvent& event) {
    if (!(event.modifiers() & Qt::ControlModifier))
        return false;
    const int digit = mainKeyboardDigit(event);
    if (digit < 0)
        return false;
    guarded([&] { jumpToBookmark(digit); });
    return true;
}

void TSRMapEditForm::keyPressEvent(QKeyEvent* event) {
    // Keys that children leave unhandled arrive here too; only keys pressed
    // in the window itself count.
    const QWidget* focus = QApplication::focusWidget();
    if ((focus == nullptr || focus == this) && FormKeyDown(*event))
        return;
    QMainWindow::keyPressEvent(event);
}

bool TSRMapEditForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == statusBar_ && event->type() == QEvent::Resize)
        FormResize();
    if (event->type() == QEvent::KeyPress &&
        (watched == leftPanel_->xJumpEdit || watched == leftPanel_->yJumpEdit))
        FormKeyDown(*static_cast<QKeyEvent*>(event));
    return QMainWindow::eventFilter(watched, event);
}

// ---- Zoom and display switches ---------------------------------------------

void TSRMapEditForm::setZoom(int cellSize) {
    // The view keeps the size within its limits; the text shows what it took.
    mapView_->setZoom(cellSize);
    leftPanel_->zoomLevel->setText(QString::number(mapView_->zoom()));
}

void TSRMapEditForm::ZoomInClick() { setZoom(MapView::zoomedIn(mapView_->zoom())); }

void TSRMapEditForm::ZoomOutClick() { setZoom(MapView::zoomedOut(mapView_->zoom())); }

void TSRMapEditForm::TLZoomLevelClick() { setZoom(MapView::DefaultZoom); }

void TSRMapEditForm::GridBoxClick() {
    mapView_->setGridLineWidth(leftPanel_->grid->itemIndex() == 0 ? 1 : 0);
    mapView_->redrawAll();
}

void TSRMapEditForm::ShowAltitudeRadioGroupClick() { displaySwitchClick(); }

void TSRMapEditForm::displaySwitchClick() {
    CellDrawOptions options = mapView_->drawOptions();
    options.showAltitude = leftPanel_->showAltitude->itemIndex() == 0;
    options.coloredAltitude = coloredAltitude_->isChecked();
    options.showOnlyColor = showOnlyColor_->isChecked();
    options.showNumber = showNumber_->isChecked();
    mapView_->setDrawOptions(options);
    mapView_->redrawAll();
}

// ---- Status line --------------------------------------------------------------

void TSRMapEditForm::UpdateStatusLine() {
    const CellPoint hover = mapView_->hoverCell();
    std::optional<MapCell> cell;
    // A map file of unknown size is open but has no block layout to read by.
    if (dataFiles_->dataFilesReady() && mapView_->mapGeometry())
        cell = dataFiles_->mapFile().readCell(hover.x, hover.y, *mapView_->mapGeometry());
    statusBar_->setPanelText(0, qtext(hoverCellText(hover.x, hover.y, cell)));
    // No drawing mode can be chosen yet, so drawing is disabled; the altitude
    // mode is the one the painting tools keep.
    statusBar_->setPanelText(
        1, qtext(selectedModeText(altitudeModeText(altitudeModify_, coordZ_), kDrawingDisabledText)));
}

void TSRMapEditForm::About1Click() {
    auto* about = new TInfoForm(this);
    about->show();
}

} // namespace stonereach
