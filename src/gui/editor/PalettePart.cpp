#include "gui/editor/PalettePart.h"

#include <QAction>
#include <QActionGroup>
#include <QBoxLayout>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStackedLayout>
#include <QToolButton>

#include "gui/app/QtConversions.h"
#include "gui/app/WindowRegions.h"
#include "gui/widgets/ControlNames.h"
#include "gui/widgets/TilePalette.h"
#include "mapdata/Errors.h"
#include "mapdata/IntegerText.h"
#include "mapdata/OpenMap.h"

namespace stonereach {

namespace {

constexpr int kPaletteRowHeight = 64;

std::vector<int> allLandTiles() {
    std::vector<int> tiles(PalettePart::UnsortedRowCount);
    for (int i = 0; i < PalettePart::UnsortedRowCount; ++i)
        tiles[std::size_t(i)] = i;
    return tiles;
}

} // namespace

PalettePart::PalettePart(const HandlerGuard& guard, MapDrawSource& pictures, OpenMap& map,
                         std::filesystem::path programDir, WindowRegions& regions)
    : guard_(guard), map_(map), programDir_(std::move(programDir)) {
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("Panel1"));
    findEdit_ = new QLineEdit;
    findEdit_->setObjectName(QStringLiteral("edFindID"));
    QLabel* findLabel = buddyLabel(QStringLiteral("FindLabel"), QStringLiteral("Tile ID :"), findEdit_, nullptr);
    findButton_ = new QPushButton(QStringLiteral("Go"));
    findButton_->setObjectName(QStringLiteral("btnFind"));
    findButton_->setFixedWidth(32);
    listsButton_ = glyphButton(QStringLiteral("btnCustomTextures"), QStringLiteral("\u25BE"), QStringLiteral("Tile lists"));
    listsButton_->setFixedSize(13, 22);
    listsMenu_ = new QMenu(listsButton_);
    listsMenu_->setObjectName(QStringLiteral("pmCustomTextures"));
    listsGroup_ = new QActionGroup(listsMenu_);
    listsGroup_->setExclusive(true);
    sortedBox_ = new QCheckBox(QStringLiteral("Sorted"));
    sortedBox_->setObjectName(QStringLiteral("cbSortet"));
    sortedBox_->setChecked(true);

    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(2);
    auto* findRow = new QHBoxLayout;
    findRow->setSpacing(2);
    findRow->addWidget(findLabel);
    findRow->addWidget(findEdit_, 1);
    findRow->addWidget(findButton_);
    panelLayout->addLayout(findRow);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(listsButton_);
    listRow->addWidget(sortedBox_);
    listRow->addStretch();
    panelLayout->addLayout(listRow);

    note_ = new QLabel;
    note_->setObjectName(QStringLiteral("SortedListNote"));
    note_->setWordWrap(true);
    note_->setVisible(false);

    unsorted_ = new TilePalette(pictures, Qt::Vertical, QSize(0, kPaletteRowHeight));
    unsorted_->setObjectName(QStringLiteral("TextureDrawGrid"));
    unsorted_->setAccessibleName(QStringLiteral("Land tiles"));
    unsorted_->setTiles(allLandTiles());
    unsorted_->setShowIds(true);
    sorted_ = new TilePalette(pictures, Qt::Vertical, QSize(0, kPaletteRowHeight));
    sorted_->setObjectName(QStringLiteral("SortedTextureGrid"));
    sorted_->setAccessibleName(QStringLiteral("Sorted tile list"));
    sorted_->setBackground(QColor(128, 128, 128));
    sorted_->setShowIds(true);

    auto* palettes = new QWidget;
    stack_ = new QStackedLayout(palettes);
    stack_->addWidget(unsorted_);
    stack_->addWidget(sorted_);
    stack_->setCurrentWidget(sorted_);

    regions.palette->addWidget(panel);
    regions.palette->addWidget(note_);
    regions.palette->addWidget(palettes, 1);

    showTextureId_ =
        regions.paletteItems.addCheckItem(QStringLiteral("ShowTextureID1"), QStringLiteral("Show &Texture ID"), true);
    hideUnusedTexture_ = regions.paletteItems.addCheckItem(QStringLiteral("HideunusedTexture1"),
                                   QStringLiteral("&Hide unused Texture"), false);
    hideUnusedTexture_->setVisible(false);

    for (TilePalette* palette : {unsorted_, sorted_})
        connect(palette, &DrawGrid::drawFailed, this,
                [this](const QString& message) { guard_.dialogs().showError(guard_.window(), message); });
    guard_.connect(unsorted_, &TilePalette::entryClicked, this, [this](int row) { TextureDrawGridClick(row); });
    guard_.connect(sorted_, &TilePalette::entryClicked, this, [this](int row) { SortedTextureGridClick(row); });
    guard_.connect(sortedBox_, &QCheckBox::clicked, this, [this] { cbSortetClick(); });
    guard_.connect(findButton_, &QPushButton::clicked, this, [this] { btnFindClick(); });
    guard_.connect(findEdit_, &QLineEdit::returnPressed, this, [this] { btnFindClick(); });
    guard_.connect(listsButton_, &QToolButton::clicked, this, [this] { btnCustomTexturesClick(); });
    guard_.connect(showTextureId_, &QAction::triggered, this, [this] {
        unsorted_->setShowIds(showTextureId_->isChecked());
        sorted_->setShowIds(showTextureId_->isChecked());
    });
    guard_.connect(hideUnusedTexture_, &QAction::triggered, this, [this] { HideunusedTexture1Click(); });
    markSelectedTile();
}

void PalettePart::redraw() {
    unsorted_->redrawAll();
    sorted_->redrawAll();
}

// ---- Choosing a tile ----------------------------------------------------------

void PalettePart::TextureDrawGridClick(int row) { emit tileChosen(row); }

void PalettePart::SortedTextureGridClick(int row) {
    if (row < 0 || row >= static_cast<int>(sortedRows_.size()))
        return;
    emit tileChosen(sortedRows_[std::size_t(row)].tile);
}

void PalettePart::cbSortetClick() {
    TilePalette* shown = sortedBox_->isChecked() ? sorted_ : unsorted_;
    stack_->setCurrentWidget(shown);
    // The palette was laid out while hidden: bring the selected tile's row
    // into view now that it shows.
    shown->scrollToMarked();
}

void PalettePart::showSelectedTile(std::int64_t tile) {
    selectedTile_ = tile;
    markSelectedTile();
}

void PalettePart::markSelectedTile() {
    const std::int64_t tile = selectedTile_;
    unsorted_->markEntry(tile >= 0 && tile < unsorted_->count() ? static_cast<int>(tile) : -1);
    // A tile a list holds twice stays framed in the row that was chosen.
    int row = sorted_->currentIndex();
    if (row < 0 || row >= static_cast<int>(sortedRows_.size()) || sortedRows_[std::size_t(row)].tile != tile)
        row = findPaletteRow(sortedRows_, tile);
    sorted_->markEntry(row);
}

void PalettePart::selectAndShow(std::int64_t v) {
    if (sortedBox_->isChecked()) {
        const int r = findPaletteRow(sortedRows_, v);
        if (r < 0)
            return;
        emit tileSelected(v);
        sorted_->showFound(r);
    } else {
        emit tileSelected(v);
        if (v >= 0 && v < unsorted_->count())
            unsorted_->showFound(static_cast<int>(v));
    }
}

void PalettePart::btnFindClick() {
    const QString text = findEdit_->text();
    if (text.isEmpty())
        return;
    // The search text is hexadecimal without the "$".
    selectAndShow(parseInteger("$" + stdText(text)));
}

void PalettePart::MainDrawGridMouseDown(int col, int row, Qt::MouseButton button) {
    if (button != Qt::RightButton)
        return;
    // Without a readable cell the selected tile stays as it was.
    if (const std::optional<MapCell> cell = map_.readCell(col, row))
        selectAndShow(cell->tile);
    emit statusLineRefreshRequested();
}

void PalettePart::HideunusedTexture1Click() { unsorted_->redrawAll(); }

// ---- Tile lists -----------------------------------------------------------------

void PalettePart::showNote(const QString& note) {
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
}

void PalettePart::LoadTileList(const std::string& relativePath) {
    const std::filesystem::path path = programDir_ / relativePath;
    std::optional<std::vector<TileListRow>> rows;
    try {
        rows = readTileListIfPresent(path);
    } catch (const Error&) {
        // The palette keeps the rows it has.
        sorted_->redrawAll();
        throw;
    }
    if (!rows) {
        sortedRows_.clear();
        tileListName_ = std::filesystem::path(relativePath).filename().string();
        sorted_->setTiles({});
        showNote(QStringLiteral("No tile list: %1 is missing.").arg(qText(relativePath)));
        return;
    }
    sortedRows_ = std::move(*rows);
    tileListName_ = std::filesystem::path(relativePath).filename().string();
    std::vector<int> tiles;
    tiles.reserve(sortedRows_.size());
    for (const TileListRow& row : sortedRows_)
        tiles.push_back(row.tile);
    sorted_->setTiles(std::move(tiles));
    markSelectedTile();
    showNote(sortedRows_.empty() ? QStringLiteral("The tile list %1 is empty.").arg(qText(relativePath))
                                 : QString());
}

void PalettePart::ListTileListFiles(const std::string& current) {
    listsMenu_->clear();
    const std::string currentName = std::filesystem::path(current).filename().string();
    for (const std::string& name : listTileListFiles(programDir_ / kTileListFolderName)) {
        QAction* item = listsMenu_->addAction(fromFileText(name));
        item->setCheckable(true);
        item->setChecked(name == currentName);
        listsGroup_->addAction(item);
        guard_.connect(item, &QAction::triggered, this, [this, item, name] {
            item->setChecked(true);
            LoadTileList(std::string(kTileListFolderName) + "/" + name);
        });
    }
}

void PalettePart::btnCustomTexturesClick() {
    // The menu drops from the button's top-right corner.
    listsMenu_->popup(listsButton_->mapToGlobal(QPoint(listsButton_->width(), 0)));
}

} // namespace stonereach
