#pragma once

#include <optional>
#include <vector>

#include <QSize>

#include "gui/widgets/DrawGrid.h"
#include "gui/widgets/TilePictures.h"

namespace stonereach {

class MapDrawSource;

// A strip of land tile pictures to choose from: the main window's two
// palettes, the brush editor's and the options dialogs' palettes. One column
// of rows (vertical) or one row of columns (horizontal); each entry shows its
// tile stretched over the cell, the chosen entry framed in red and, when ids
// are shown, the id as " 01 A4 " on white in the cell's top-left corner. An
// entry may also be the NODRAW cell of a brush: white with a red cross.
class TilePalette : public DrawGrid {
    Q_OBJECT
public:
    static constexpr int NoDraw = TilePictures::NoDraw;

    // `cellSize` is the size of one entry; a width of 0 (vertical) or a height
    // of 0 (horizontal) makes the entries as wide or high as the palette.
    TilePalette(MapDrawSource& source, Qt::Orientation orientation, QSize cellSize, QWidget* parent = nullptr);

    // The entries: tile ids, or NoDraw.
    void setTiles(std::vector<int> tiles);
    const std::vector<int>& tiles() const { return tiles_; }
    int count() const { return static_cast<int>(tiles_.size()); }
    // The entry at index (NoDraw for the NODRAW entry); index must be valid.
    int tileAt(int index) const { return tiles_[static_cast<std::size_t>(index)]; }
    // The palette's current entry.
    int currentIndex() const;
    void setCurrentIndex(int index);

    bool showIds() const { return showIds_; }
    void setShowIds(bool show);

    // Scrolls so that entry `index` is the first one shown and frames it in
    // red, without making it the current entry: what a search shows.
    void showFound(int index);
    int foundIndex() const { return found_; }

    // From the first call on, the palette frames entry `index` and no other
    // (-1: none), whatever its current entry or a search: a palette that
    // shows the tile in use. The entry becomes the current one, so the
    // keyboard goes on from it, and is scrolled into view.
    void markEntry(int index);
    // The marked entry; nothing while the palette frames its current entry.
    std::optional<int> markedIndex() const { return marked_; }
    // Scrolls the marked entry into view (after the palette was shown).
    void scrollToMarked();

signals:
    // The user chose an entry (a click, or the keyboard moved to it).
    void entryClicked(int index);
    // A double click on an entry.
    void entryDoubleClicked(int index);

protected:
    void drawRegion(QPainter& painter, const QRect& area) override;
    void drawCell(QPainter& painter, int col, int row, const QRect& rect, bool selected) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int indexOf(int col, int row) const { return orientation_ == Qt::Vertical ? row : col; }
    void fitCells();

    Qt::Orientation orientation_;
    QSize cellSize_;
    std::vector<int> tiles_;
    bool showIds_ = false;
    int found_ = -1;
    std::optional<int> marked_;
    TilePictures pictures_;
};

} // namespace stonereach
