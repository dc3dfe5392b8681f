#include "gui/editor/NavigationPart.h"

#include <string>

#include <QAction>
#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include "gui/app/QtConversions.h"
#include "gui/app/WindowRegions.h"
#include "gui/editor/MapView.h"
#include "gui/editor/TListForm.h"
#include "gui/widgets/ControlNames.h"
#include "gui/widgets/RadioGroup.h"
#include "mapdata/IntegerText.h"

namespace stonereach {

namespace {

QLineEdit* jumpEdit(const QString& name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setFixedWidth(52);
    return edit;
}

} // namespace

NavigationPart::NavigationPart(const HandlerGuard& guard, const BookmarkTable& bookmarks,
                               std::filesystem::path programDir, WindowRegions& regions)
    : guard_(guard), bookmarks_(bookmarks), programDir_(std::move(programDir)), zoom_(MapView::DefaultZoom) {
    auto* zoomGroup = new QGroupBox(QStringLiteral(" Zoom "));
    zoomGroup->setObjectName(QStringLiteral("ZoomGroup"));
    zoomOutButton_ = glyphButton(QStringLiteral("SpeedButton2"), QStringLiteral("\u2212"), QStringLiteral("Zoom out"));
    zoomInButton_ = glyphButton(QStringLiteral("SpeedButton3"), QStringLiteral("+"), QStringLiteral("Zoom in"));
    zoomDefaultButton_ = new QPushButton(QStringLiteral("Default"));
    zoomDefaultButton_->setObjectName(QStringLiteral("TLZoomLevel"));
    auto* zoomLayout = new QHBoxLayout(zoomGroup);
    zoomLayout->setContentsMargins(4, 2, 4, 4);
    zoomLayout->addWidget(zoomOutButton_);
    zoomLayout->addWidget(zoomInButton_);
    zoomLayout->addWidget(zoomDefaultButton_);

    auto* coordsGroup = new QGroupBox(QStringLiteral(" Coords "));
    coordsGroup->setObjectName(QStringLiteral("CoordsGroup"));
    xJumpEdit_ = jumpEdit(QStringLiteral("XJumpEdit"));
    yJumpEdit_ = jumpEdit(QStringLiteral("YJumpEdit"));
    QLabel* xLabel = buddyLabel(QStringLiteral("XJumpLabel"), QStringLiteral("X"), xJumpEdit_, nullptr);
    QLabel* yLabel = buddyLabel(QStringLiteral("YJumpLabel"), QStringLiteral("Y"), yJumpEdit_, nullptr);
    goButton_ = glyphButton(QStringLiteral("CoordGoBtn"), QString(), QStringLiteral("Go"));
    goButton_->setIcon(goButton_->style()->standardIcon(QStyle::SP_ArrowRight));
    listButton_ = new QPushButton(QStringLiteral("List"));
    listButton_->setObjectName(QStringLiteral("List"));
    auto* coordsLayout = new QGridLayout(coordsGroup);
    coordsLayout->setContentsMargins(4, 2, 4, 4);
    coordsLayout->addWidget(xLabel, 0, 0);
    coordsLayout->addWidget(xJumpEdit_, 0, 1);
    coordsLayout->addWidget(yLabel, 1, 0);
    coordsLayout->addWidget(yJumpEdit_, 1, 1);
    coordsLayout->addWidget(goButton_, 0, 2, 2, 1, Qt::AlignVCenter);
    coordsLayout->addWidget(listButton_, 2, 0, 1, 3);

    const QStringList onOff{QStringLiteral("On"), QStringLiteral("Off")};
    showAltitude_ = new RadioGroup(QStringLiteral(" Altitude "), onOff);
    showAltitude_->setObjectName(QStringLiteral("ShowAltitudeRadioGroup"));
    showAltitude_->setItemIndex(1);
    grid_ = new RadioGroup(QStringLiteral(" Grid "), onOff);
    grid_->setObjectName(QStringLiteral("GridBox"));
    grid_->setItemIndex(1);

    QBoxLayout& left = *regions.navigation;
    left.addWidget(zoomGroup);
    left.addWidget(coordsGroup);
    left.addWidget(showAltitude_);
    left.addWidget(grid_);

    coloredAltitude_ = regions.displayItems.addCheckItem(QStringLiteral("coloredAltitude"),
                                 QStringLiteral("&Colored Altitude"), false);
    showOnlyColor_ =
        regions.displayItems.addCheckItem(QStringLiteral("ShowonlyColor1"), QStringLiteral("&Show only Color"), false);
    showNumber_ =
        regions.displayItems.addCheckItem(QStringLiteral("ShowAltitude1"), QStringLiteral("Show &Number"), true);

    guard_.connect(zoomInButton_, &QToolButton::clicked, this, [this] { ZoomInClick(); });
    guard_.connect(zoomOutButton_, &QToolButton::clicked, this, [this] { ZoomOutClick(); });
    guard_.connect(zoomDefaultButton_, &QPushButton::clicked, this, [this] { TLZoomLevelClick(); });
    guard_.connect(goButton_, &QToolButton::clicked, this, [this] { goByUser(); });
    guard_.connect(listButton_, &QPushButton::clicked, this, [this] { ListClick(); });
    guard_.connect(xJumpEdit_, &QLineEdit::returnPressed, this, [this] { goByUser(); });
    guard_.connect(yJumpEdit_, &QLineEdit::returnPressed, this, [this] { goByUser(); });
    guard_.connect(grid_, &RadioGroup::clicked, this, [this] { GridBoxClick(); });
    guard_.connect(showAltitude_, &RadioGroup::clicked, this, [this] { displaySwitchClick(); });
    for (QAction* item : {coloredAltitude_, showOnlyColor_, showNumber_})
        guard_.connect(item, &QAction::triggered, this, [this] { displaySwitchClick(); });
    xJumpEdit_->installEventFilter(this);
    yJumpEdit_->installEventFilter(this);
}

// ---- Jumps ------------------------------------------------------------------

void NavigationPart::CoordGoBtnClick() {
    emit goStarted();
    const int x = parseInteger(stdText(xJumpEdit_->text()));
    const int y = parseInteger(stdText(yJumpEdit_->text()));
    emit jumpRequested(x, y);
}

void NavigationPart::goToCell(int x, int y) {
    xJumpEdit_->setText(QString::number(x));
    yJumpEdit_->setText(QString::number(y));
    CoordGoBtnClick();
}

void NavigationPart::goByUser() {
    CoordGoBtnClick();
    emit jumpedByUser();
}

void NavigationPart::ListClick() {
    TListForm form(guard_.dialogs(), programDir_, xJumpEdit_->text(), yJumpEdit_->text(), guard_.window());
    if (form.exec() != QDialog::Accepted || !form.chosen())
        return;
    xJumpEdit_->setText(fromFileText(form.chosen()->x));
    yJumpEdit_->setText(fromFileText(form.chosen()->y));
}

void NavigationPart::jumpToBookmark(int slot) {
    const BookmarkSlot& bookmark = bookmarks_[static_cast<std::size_t>(slot)];
    if (bookmark.enabled)
        goToCell(bookmark.col, bookmark.row);
}

bool NavigationPart::FormKeyDown(const QKeyEvent& event) {
    if (!(event.modifiers() & Qt::ControlModifier))
        return false;
    const int digit = mainKeyboardDigit(event);
    if (digit < 0)
        return false;
    guard_([&] { jumpToBookmark(digit); });
    return true;
}

bool NavigationPart::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == xJumpEdit_ || watched == yJumpEdit_))
        FormKeyDown(*static_cast<QKeyEvent*>(event));
    return QObject::eventFilter(watched, event);
}

// ---- Zoom and display switches ----------------------------------------------

void NavigationPart::setZoom(int cellSize) {
    zoom_ = MapView::clampZoom(cellSize);
    emit zoomChanged(zoom_);
}

void NavigationPart::ZoomInClick() { setZoom(MapView::zoomedIn(zoom_)); }

void NavigationPart::ZoomOutClick() { setZoom(MapView::zoomedOut(zoom_)); }

void NavigationPart::TLZoomLevelClick() { setZoom(MapView::DefaultZoom); }

void NavigationPart::GridBoxClick() { emit gridLinesChanged(grid_->itemIndex() == 0); }

void NavigationPart::displaySwitchClick() {
    CellDrawOptions switches;
    switches.showAltitude = showAltitude_->itemIndex() == 0;
    switches.coloredAltitude = coloredAltitude_->isChecked();
    switches.showOnlyColor = showOnlyColor_->isChecked();
    switches.showNumber = showNumber_->isChecked();
    emit displaySwitched(switches);
}

// ---- Settings -----------------------------------------------------------------

void NavigationPart::applySettings(const StoredViewSettings& stored) {
    if (stored.coordX)
        xJumpEdit_->setText(qText(*stored.coordX));
    if (stored.coordY)
        yJumpEdit_->setText(qText(*stored.coordY));
    if (stored.zoomLevel)
        setZoom(*stored.zoomLevel);
    if (stored.showAltitude)
        showAltitude_->selectAsIfClicked(radioIndexFromSetting(*stored.showAltitude, showAltitude_->itemCount()));
    if (stored.grid)
        grid_->selectAsIfClicked(radioIndexFromSetting(*stored.grid, grid_->itemCount()));
}

void NavigationPart::collectSettings(ViewSettingsToSave& values) const {
    values.coordX = stdText(xJumpEdit_->text());
    values.coordY = stdText(yJumpEdit_->text());
    values.zoomLevelText = std::to_string(zoom_);
    values.showAltitude = showAltitude_->itemIndex();
    values.grid = grid_->itemIndex();
}

} // namespace stonereach
