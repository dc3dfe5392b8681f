#include "gui/editor/TileChooser.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "gui/editor/DialogSupport.h"
#include "gui/widgets/ControlNames.h"
#include "gui/widgets/TilePalette.h"
#include "mapdata/IntegerText.h"

namespace stonereach {

namespace {

void fitPaletteToOneCell(TilePalette& palette, Qt::Orientation orientation) {
    const int frame = 2 * palette.frameWidth();
    if (orientation == Qt::Vertical)
        palette.setFixedWidth(TileChooser::CellSize + palette.verticalScrollBar()->sizeHint().width() + frame);
    else
        palette.setFixedHeight(TileChooser::CellSize + palette.horizontalScrollBar()->sizeHint().height() + frame);
}

} // namespace

TilePalette* makeTileListPalette(MapDrawSource& source, const PaletteTileList& list, Qt::Orientation orientation,
                                 bool noDrawRow, QWidget* parent) {
    auto* palette =
        new TilePalette(source, orientation, QSize(TileChooser::CellSize, TileChooser::CellSize), parent);
    palette->setObjectName(QStringLiteral("smallDrawGrid"));
    palette->setAccessibleName(QStringLiteral("Tiles"));
    std::vector<int> tiles;
    if (noDrawRow)
        tiles.push_back(TilePalette::NoDraw);
    for (const TileListRow& row : list.rows)
        tiles.push_back(row.tile);
    palette->setTiles(std::move(tiles));
    palette->setShowIds(true);
    fitPaletteToOneCell(*palette, orientation);
    return palette;
}

QLabel* makePaletteNote(const PaletteTileList& list, QWidget* parent) {
    auto* note = new QLabel(qText(list.note), parent);
    note->setObjectName(QStringLiteral("PaletteNote"));
    note->setWordWrap(true);
    note->setVisible(!list.note.empty());
    return note;
}

TileChooser::TileChooser(const HandlerGuard& guard, MapDrawSource& source, const PaletteTileList& list,
                         bool noDrawRow, QWidget* parent)
    : QWidget(parent), guard_(guard), rows_(list.rows), firstTileRow_(noDrawRow ? 1 : 0) {
    findEdit_ = new QLineEdit(this);
    findEdit_->setObjectName(QStringLiteral("edFindID"));
    findEdit_->setMaximumWidth(60);
    QLabel* findLabel = buddyLabel(QStringLiteral("TileIdLabel"), QStringLiteral("Tile ID"), findEdit_, this);
    findButton_ = new QPushButton(QStringLiteral("Go"), this);
    findButton_->setObjectName(QStringLiteral("btnFind"));
    findButton_->setMaximumWidth(40);
    showIds_ = new QCheckBox(QStringLiteral("show ID"), this);
    showIds_->setObjectName(QStringLiteral("cbShowID"));
    showIds_->setChecked(true);
    note_ = makePaletteNote(list, this);
    palette_ = makeTileListPalette(source, list, Qt::Vertical, noDrawRow, this);

    auto* findRow = new QHBoxLayout;
    findRow->addWidget(findLabel);
    findRow->addWidget(findEdit_);
    findRow->addWidget(findButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(findRow);
    layout->addWidget(showIds_);
    layout->addWidget(note_);
    layout->addWidget(palette_, 1, Qt::AlignHCenter);
    chainTabOrder({findEdit_, findButton_, showIds_, palette_});

    guard_.connect(findButton_, &QPushButton::clicked, this, [this] { btnFindClick(); });
    // Enter in the search field searches instead of pressing the dialog's
    // default button.
    findEdit_->installEventFilter(this);
    connect(showIds_, &QCheckBox::toggled, palette_, &TilePalette::setShowIds);
    connect(palette_, &TilePalette::entryClicked, this, [this](int row) {
        if (row >= 0 && row < palette_->count())
            emit tileChosen(palette_->tileAt(row));
    });
    connect(palette_, &TilePalette::entryDoubleClicked, this, [this](int row) {
        if (row >= 0 && row < palette_->count())
            emit tileDoubleClicked(palette_->tileAt(row));
    });
}

bool TileChooser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == findEdit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            guard_([this] { btnFindClick(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::optional<int> TileChooser::selectedTile() const {
    if (palette_->count() == 0)
        return std::nullopt;
    return palette_->tileAt(palette_->currentIndex());
}

void TileChooser::btnFindClick() {
    const QString text = findEdit_->text();
    if (text.isEmpty())
        return;
    // The id is typed in hexadecimal without the "$".
    const std::int64_t tile = parseInteger("$" + stdText(text));
    const int found = findPaletteRow(rows_, tile);
    if (found < 0)
        return;
    // The row found becomes the palette's selected row too, so what the
    // search shows is what the next click or Add takes.
    const int row = firstTileRow_ + found;
    palette_->setCurrentIndex(row);
    palette_->showFound(row);
    emit tileChosen(palette_->tileAt(row));
}

} // namespace stonereach
