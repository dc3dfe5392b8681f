#include "gui/editor/PaintingPart.h"

#include <array>
#include <utility>

#include <QAction>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QToolButton>

#include "editor/Painter.h"
#include "editor/ShapeTables.h"
#include "editor/StatusLineText.h"
#include "gui/app/QtConversions.h"
#include "gui/app/WindowRegions.h"
#include "gui/widgets/ControlNames.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/widgets/UpDown.h"
#include "mapdata/Errors.h"
#include "mapdata/IntegerText.h"
#include "mapdata/OpenMap.h"

namespace stonereach {

namespace {

// The button ids of the tool group: 0 paint, 1 fill, 2 brush, then the
// shapes by number.
constexpr int kPaintId = 0;
constexpr int kFillId = 1;
constexpr int kBrushId = 2;
constexpr int kFirstShapeId = 100;

// The shape buttons from left to right: the four sides, the whole set, then
// the single pieces in the reading order of the nine-tile set.
constexpr std::array kShapeOrder{1, 2, 3, 4, 5, 7, 8, 9, 10, 6, 11, 12, 13, 14};

QString shapeHint(int shape) {
    static const std::array<const char*, ShapeCount> hints{
        "Top side",         "Right side",  "Bottom side",         "Left side",  "Whole set",
        "Centre piece",     "Top-left corner", "Top edge",         "Top-right corner", "Left edge",
        "Right edge",       "Bottom-left corner", "Bottom edge",   "Bottom-right corner"};
    return QString::fromLatin1(hints[std::size_t(shape - 1)]);
}

// A small picture of the pieces a shape lays: the nine-tile set as a 3 x 3
// grid with the shape's pieces filled.
QIcon shapeGlyph(int shape) {
    constexpr int kCell = 6;
    constexpr int kSide = 3 * kCell + 2;
    QImage image(kSide, kSide, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(QColor(96, 96, 96));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            painter.drawRect(1 + x * kCell, 1 + y * kCell, kCell - 1, kCell - 1);
    for (const BrushEntry& piece : shapePieces(shape)) {
        if (const auto at = positionInNineTileSet(piece.tile))
            painter.fillRect(1 + at->x * kCell, 1 + at->y * kCell, kCell - 1, kCell - 1, QColor(120, 72, 24));
    }
    painter.end();
    return QIcon(QPixmap::fromImage(image));
}

QToolButton* toolButton(const QString& name, const QString& glyph, const QString& hint) {
    QToolButton* button = glyphButton(name, glyph, hint);
    button->setCheckable(true);
    return button;
}

using Kind = DrawingMode::Kind;

} // namespace

PaintingPart::PaintingPart(const HandlerGuard& guard, OpenMap& map, std::filesystem::path programDir,
                           WindowRegions& regions)
    : guard_(guard), map_(map), programDir_(std::move(programDir)) {
    buildToolButtons(regions);
    buildBrushSizeGroup(regions);
    buildAltitudeControls(regions);

    undoAction_ = new QAction(QStringLiteral("&Undo          CTRL+Z"), regions.editMenu);
    undoAction_->setObjectName(QStringLiteral("TlUndo"));
    regions.editMenu->addAction(undoAction_);
    // Undo Stroke is Undo with Ctrl and Alt: Ctrl+Z keeps undoing one cell.
    undoStrokeAction_ = new QAction(regions.editMenu);
    undoStrokeAction_->setObjectName(QStringLiteral("TlUndoStroke"));
    undoStrokeAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z));
    regions.editMenu->addAction(undoStrokeAction_);
    redoAction_ = new QAction(regions.editMenu);
    redoAction_->setObjectName(QStringLiteral("TlRedo"));
    redoAction_->setShortcuts(QKeySequence::Redo);
    regions.editMenu->addAction(redoAction_);
    refreshStrokeActions();

    guard_.connect(undoAction_, &QAction::triggered, this, [this] { UndoLastCell(); });
    guard_.connect(undoStrokeAction_, &QAction::triggered, this, [this] { undoStroke(); });
    guard_.connect(redoAction_, &QAction::triggered, this, [this] { redoStroke(); });
    connect(regions.editMenu, &QMenu::aboutToShow, this, &PaintingPart::refreshStrokeActions);
}

PaintingPart::~PaintingPart() = default;

void PaintingPart::buildToolButtons(WindowRegions& regions) {
    tools_ = new QButtonGroup(this);
    tools_->setExclusive(true);
    QBoxLayout& strip = *regions.toolButtons;
    const auto add = [&](QToolButton* button, int id) {
        tools_->addButton(button, id);
        strip.addWidget(button);
    };
    QToolButton* paint = toolButton(QStringLiteral("btnDefault"), QStringLiteral("\u270E"), QStringLiteral("Paint"));
    paint->setChecked(true);
    add(paint, kPaintId);
    add(toolButton(QStringLiteral("btnRectFill"), QStringLiteral("\u25A6"), QStringLiteral("Fill")), kFillId);
    for (int shape : kShapeOrder) {
        QToolButton* button = toolButton(QStringLiteral("btnHoehle%1").arg(shape), QString(), shapeHint(shape));
        button->setIcon(shapeGlyph(shape));
        add(button, kFirstShapeId + shape);
    }
    add(toolButton(QStringLiteral("btnCustomBrush"), QStringLiteral("\u2756"), QStringLiteral("Brush")), kBrushId);
    guard_.connect(tools_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            toolChanged();
    });
}

void PaintingPart::buildBrushSizeGroup(WindowRegions& regions) {
    auto* group = new QGroupBox(QStringLiteral(" Brush Size "));
    group->setObjectName(QStringLiteral("BrushSizeGroup"));
    brushSizeEdit_ = new QLineEdit(QStringLiteral("1"));
    brushSizeEdit_->setObjectName(QStringLiteral("BrushSizeEdt"));
    brushSizeEdit_->setReadOnly(true);
    brushSizeEdit_->setFixedWidth(28);
    brushSizeEdit_->setAccessibleName(QStringLiteral("Brush Size"));
    brushSize_ = new UpDown(1, 9, 1);
    brushSize_->setObjectName(QStringLiteral("BrushSizeMover"));
    brushSize_->setAccessibleName(QStringLiteral("Brush Size"));
    brushSize_->setBuddy(brushSizeEdit_);
    addRandom_ = new QCheckBox(QStringLiteral("Add random altitude"));
    addRandom_->setObjectName(QStringLiteral("cbAddRAl"));
    noiseEdit_ = new QLineEdit(QStringLiteral("1"));
    noiseEdit_->setObjectName(QStringLiteral("edRauschen"));
    noiseEdit_->setFixedWidth(36);
    QLabel* valueLabel = buddyLabel(QStringLiteral("ValueLabel"), QStringLiteral("Value"), noiseEdit_, nullptr);
    noiseUpDown_ = new UpDown(1, 10, 1);
    noiseUpDown_->setObjectName(QStringLiteral("udRValue"));
    noiseUpDown_->setAccessibleName(QStringLiteral("Random altitude value"));

    auto* layout = new QGridLayout(group);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setVerticalSpacing(2);
    layout->addWidget(brushSizeEdit_, 0, 0);
    layout->addWidget(brushSize_, 0, 1, Qt::AlignLeft);
    layout->addWidget(addRandom_, 1, 0, 1, 3);
    layout->addWidget(valueLabel, 2, 0);
    layout->addWidget(noiseEdit_, 2, 1);
    layout->addWidget(noiseUpDown_, 2, 2, Qt::AlignLeft);
    regions.brushSize->addWidget(group);

    connect(brushSize_, &UpDown::clicked, this,
            [this](int position) { brushSizeEdit_->setText(QString::number(position)); });
    // Not bound to its edit: each click writes its position there.
    connect(noiseUpDown_, &UpDown::clicked, this,
            [this](int position) { noiseEdit_->setText(QString::number(position)); });
}

void PaintingPart::buildAltitudeControls(WindowRegions& regions) {
    altitudeMode_ = new RadioGroup(QStringLiteral(" Modify the altitude "),
                                   {QStringLiteral("Add Z"), QStringLiteral("Subtr Z"), QStringLiteral("Set to Z"),
                                    QStringLiteral("Only Change Tile")},
                                   nullptr, 4);
    altitudeMode_->setObjectName(QStringLiteral("AltitudeRadioGroup"));
    altitudeMode_->setItemIndex(3);

    zEdit_ = new QLineEdit(QStringLiteral("0"));
    zEdit_->setObjectName(QStringLiteral("ZValueEdit"));
    zEdit_->setMaxLength(4);
    zEdit_->setFixedWidth(40);
    QLabel* zLabel = buddyLabel(QStringLiteral("ZValueLabel"), QStringLiteral("Z (altitude) ="), zEdit_, nullptr);
    zUpDown_ = new UpDown(int(kMinAltitude), int(kMaxAltitude), 0);
    zUpDown_->setObjectName(QStringLiteral("XValueUpDown"));
    zUpDown_->setAccessibleName(zLabel->text());
    zUpDown_->setBuddy(zEdit_);

    drawingModes_ = new QComboBox;
    drawingModes_->setObjectName(QStringLiteral("SelectDrawingModeComboBox"));
    for (const std::string_view item : kFixedDrawingModes)
        drawingModes_->addItem(fromFileText(item));
    drawingModes_->setMaxVisibleItems(16);
    drawingModes_->setMinimumContentsLength(18);
    QLabel* modeLabel =
        buddyLabel(QStringLiteral("DrawModeLabel"), QStringLiteral("Select draw mode :"), drawingModes_, nullptr);

    QBoxLayout& row = *regions.drawingModes;
    row.addWidget(altitudeMode_);
    auto* values = new QGridLayout;
    values->setVerticalSpacing(2);
    values->addWidget(zLabel, 0, 0);
    auto* zRow = new QHBoxLayout;
    zRow->setSpacing(0);
    zRow->addWidget(zEdit_);
    zRow->addWidget(zUpDown_);
    zRow->addStretch();
    values->addLayout(zRow, 0, 1);
    values->addWidget(modeLabel, 1, 0);
    values->addWidget(drawingModes_, 1, 1);
    row.addLayout(values);
    row.addStretch();

    zEdit_->installEventFilter(this);
    guard_.connect(zEdit_, &QLineEdit::textChanged, this, [this](const QString& text) { ZValueEditChange(text); });
    guard_.connect(zUpDown_, &UpDown::clicked, this, [this](int position) {
        zEdit_->setText(QString::number(position));
        emit statusLineRefreshRequested();
    });
    guard_.connect(altitudeMode_, &RadioGroup::clicked, this, [this] { emit statusLineRefreshRequested(); });
    guard_.connect(drawingModes_, &QComboBox::currentIndexChanged, this,
                   [this] { emit statusLineRefreshRequested(); });
}

// ---- Controls -----------------------------------------------------------------

bool PaintingPart::eventFilter(QObject* watched, QEvent* event) {
    if (watched == zEdit_ && event->type() == QEvent::KeyPress) {
        emit statusLineRefreshRequested();
        // Only digits, the minus sign and Backspace may be typed; keys that
        // type no character (arrows, Delete, shortcuts) work as usual.
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() == 1 && text[0].isPrint() && !key->modifiers().testFlag(Qt::ControlModifier)) {
            const QChar c = text[0];
            if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('-'))
                return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// The up-down follows what is typed, as far as it is a number in its range.
void PaintingPart::ZValueEditChange(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok)
        zUpDown_->setPosition(value);
}

void PaintingPart::toolChanged() {
    emit shapeToolDownChanged(toolDown() == Tool::Shape);
    tellFillCorner();
}

void PaintingPart::tellFillCorner() {
    emit fillCornerChanged(toolDown() == Tool::Fill ? fill_.firstCorner() : std::nullopt);
}

PaintingPart::Tool PaintingPart::toolDown() const {
    const int id = tools_->checkedId();
    if (id == kFillId)
        return Tool::Fill;
    if (id == kBrushId)
        return Tool::Brush;
    if (id > kFirstShapeId)
        return Tool::Shape;
    return Tool::Paint;
}

int PaintingPart::shapeDown() const { return tools_->checkedId() - kFirstShapeId; }

void PaintingPart::chooseDrawingMode(DrawingMode::Kind kind) {
    drawingModes_->setCurrentIndex(fixedDrawingModeIndex(kind));
}

QString PaintingPart::drawingModeText() const { return drawingModes_->currentText(); }

bool PaintingPart::chooseDrawingModeNamed(const QString& text) {
    const int index = drawingModes_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    drawingModes_->setCurrentIndex(index);
    return true;
}

void PaintingPart::selectTile(std::int64_t tile) {
    selectedTile_ = tile;
    emit selectedTileChanged(tile);
}

void PaintingPart::chooseTile(std::int64_t tile) {
    selectTile(tile);
    chooseDrawingMode(Kind::SelectedTile);
}

void PaintingPart::LoadSelectionGroups() {
    SelectionGroupsRead read = readSelectionGroups(programDir_ / kSelectionGroupFileName);
    groups_ = std::move(read.groups);
    drawingModes_->blockSignals(true);
    drawingModes_->clear();
    for (const std::string_view item : kFixedDrawingModes)
        drawingModes_->addItem(fromFileText(item));
    for (const TTileNamed& group : groups_)
        drawingModes_->addItem(fromFileText(group.TileName));
    drawingModes_->blockSignals(false);
    chooseDrawingMode(Kind::DontDraw);
    // The groups read before a fault in the file are kept; the fault is told.
    if (read.problem)
        throw FormatError(*read.problem);
}

// ---- Painting -------------------------------------------------------------------

AltitudeSettings PaintingPart::altitudeSettings(int z) const {
    AltitudeSettings settings;
    settings.mode = altitudeModeAt(altitudeMode_->itemIndex()).value_or(AltitudeMode::OnlyChangeTile);
    settings.z = z;
    settings.addRandom = addRandom_->isChecked();
    settings.noiseText = stdText(noiseEdit_->text());
    return settings;
}

DrawingModeItem PaintingPart::drawingModeItem() const { return drawingModeItemAt(drawingModes_->currentIndex()); }

DrawingMode PaintingPart::drawingMode() const {
    const DrawingModeItem item = drawingModeItem();
    switch (item.kind) {
    case Kind::DontDraw: break;
    case Kind::SelectedTile: return DrawingMode::selectedTile(selectedTile_);
    case Kind::AltitudeOnly: return DrawingMode::altitudeOnly();
    case Kind::Group: return DrawingMode::group(groups_.at(item.group));
    }
    return DrawingMode::dontDraw();
}

template <typename Operation>
void PaintingPart::paint(Operation&& operation) {
    std::optional<Painter> painter = Painter::over(map_, undo_, random_);
    if (!painter)
        return;
    painter->recordingInto(history_);
    const OpenMap::OwnWrite own(map_);
    struct TellWritten {
        PaintingPart& part;
        const Painter& painter;
        ~TellWritten() {
            emit part.cellsWritten(painter.changedCells());
            part.refreshStrokeActions();
        }
    } tell{*this, *painter};
    try {
        operation(*painter);
    } catch (const IoError&) {
        // The map cut short or gone: told once, whoever met it first.
        if (map_.failureToTell())
            throw;
    }
}

StrokeTool PaintingPart::strokeToolOf(Tool tool) {
    switch (tool) {
    case Tool::Paint: break;
    case Tool::Fill: return StrokeTool::Fill;
    case Tool::Shape: return StrokeTool::Shape;
    case Tool::Brush: return StrokeTool::Brush;
    }
    return StrokeTool::Paint;
}

void PaintingPart::MainDrawGridSelectCell(int col, int row) {
    const int z = parseInteger(stdText(zEdit_->text()));
    if (!isAltitude(z)) {
        guard_.dialogs().showMessage(guard_.window(), QStringLiteral("Z must be between -128 to 127!"));
        zEdit_->setText(QStringLiteral("0"));
        return;
    }
    if (std::exchange(skipNextSelection_, false))
        return;
    const Tool tool = toolDown();
    history_.beginStroke(strokeToolOf(tool));
    // A selection made without the mouse held (a key) is a stroke of its
    // own, however it ends.
    struct EndUnlessHeld {
        PaintingPart& part;
        ~EndUnlessHeld() {
            if (!part.pressHeld_) {
                part.history_.endStroke();
                part.refreshStrokeActions();
            }
        }
    } endUnlessHeld{*this};
    const AltitudeRule rule(altitudeSettings(z));
    switch (tool) {
    case Tool::Shape:
        paint([&](Painter& painter) { painter.stamp(col, row, shapePieces(shapeDown()), rule); });
        break;
    case Tool::Fill: {
        const std::optional<CellRect> rect = fill_.select(col, row);
        tellFillCorner();
        if (rect) {
            const DrawingMode mode = drawingMode();
            paint([&](Painter& painter) { painter.paintFootprint(*rect, mode, rule); });
        }
        break;
    }
    case Tool::Brush:
        if (!brush_.empty())
            paint([&](Painter& painter) { painter.stamp(col, row, brush_, rule); });
        break;
    case Tool::Paint:
        if (drawingModeItem().kind != Kind::DontDraw && map_.readable()) {
            const DrawingMode mode = drawingMode();
            const CellRect square = squareBrushFootprint(col, row, brushSize_->position());
            paint([&](Painter& painter) { painter.paintFootprint(square, mode, rule); });
        }
        break;
    }
}

void PaintingPart::UndoLastCell() {
    history_.endStroke();
    paint([](Painter& painter) { painter.undoLastCell(); });
}

// ---- Strokes --------------------------------------------------------------------

void PaintingPart::strokeStarted() {
    history_.endStroke();
    pressHeld_ = true;
}

void PaintingPart::strokeEnded() {
    pressHeld_ = false;
    history_.endStroke();
    refreshStrokeActions();
}

template <typename Operation>
void PaintingPart::writeStroke(Operation&& operation) {
    pressHeld_ = false;
    std::optional<CellRect> written;
    try {
        const OpenMap::OwnWrite own(map_);
        written = operation();
    } catch (...) {
        // A write that failed part-way may have changed any cell of the
        // stroke: the whole map is drawn again.
        if (const std::optional<MapGeometry> geometry = map_.geometry())
            emit areaWritten(CellRect{0, 0, geometry->width - 1, geometry->height - 1});
        refreshStrokeActions();
        throw;
    }
    if (written)
        emit areaWritten(*written);
    refreshStrokeActions();
}

void PaintingPart::undoStroke() {
    writeStroke([this] { return history_.undoStroke(); });
}

void PaintingPart::redoStroke() {
    writeStroke([this] { return history_.redoStroke(); });
}

void PaintingPart::refreshStrokeActions() {
    // Nothing can be done while the map may not be written (another program
    // deleted it or cut it short); the items still name the strokes.
    const bool writable = map_.writable();
    const std::optional<StrokeSummary> undo = history_.nextUndo();
    undoStrokeAction_->setEnabled(undo.has_value() && writable);
    undoStrokeAction_->setText(undo ? QStringLiteral("Undo &Stroke: ") + qText(describeStroke(*undo))
                                    : QStringLiteral("Undo &Stroke"));
    const std::optional<StrokeSummary> redo = history_.nextRedo();
    redoAction_->setEnabled(redo.has_value() && writable);
    redoAction_->setText(redo ? QStringLiteral("&Redo: ") + qText(describeStroke(*redo)) : QStringLiteral("&Redo"));
}

// ---- Status line and settings ---------------------------------------------------

std::string PaintingPart::selectedModeStatus() const {
    const std::string altitude = altitudeModeText(altitudeMode_->itemIndex(), stdText(zEdit_->text()));
    std::string drawing;
    const DrawingModeItem item = drawingModeItem();
    switch (item.kind) {
    case Kind::DontDraw: drawing = std::string(kDrawingDisabledText); break;
    case Kind::SelectedTile: drawing = selectedTileText(static_cast<std::uint16_t>(selectedTile_)); break;
    case Kind::AltitudeOnly: drawing = std::string(kDrawingAltitudeOnlyText); break;
    case Kind::Group: drawing = selectedGroupText(groups_.at(item.group).TileName); break;
    }
    return selectedModeText(altitude, drawing);
}

void PaintingPart::applySettings(const StoredViewSettings& stored) {
    if (stored.coordZ)
        zEdit_->setText(qText(*stored.coordZ));
    if (stored.altitudeModify)
        altitudeMode_->selectAsIfClicked(radioIndexFromSetting(*stored.altitudeModify, altitudeMode_->itemCount()));
}

void PaintingPart::collectSettings(ViewSettingsToSave& values) const {
    values.coordZ = stdText(zEdit_->text());
    values.altitudeModify = altitudeMode_->itemIndex();
}

} // namespace stonereach
