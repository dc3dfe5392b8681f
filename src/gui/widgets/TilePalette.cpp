#include "gui/widgets/TilePalette.h"

#include <QKeyEvent>
#include <QPainter>

#include "mapdata/IntegerText.h"

namespace stonereach {

TilePalette::TilePalette(MapDrawSource& source, Qt::Orientation orientation, QSize cellSize, QWidget* parent)
    : DrawGrid(parent), orientation_(orientation), cellSize_(cellSize), pictures_(source) {
    setScrollBars(orientation);
    if (orientation == Qt::Vertical)
        setColCount(1);
    else
        setRowCount(1);
    fitCells();
    connect(this, &DrawGrid::clicked, this, [this](int col, int row) {
        found_ = -1;
        emit entryClicked(indexOf(col, row));
    });
    connect(this, &DrawGrid::cellDoubleClicked, this,
            [this](int col, int row) { emit entryDoubleClicked(indexOf(col, row)); });
}

void TilePalette::setTiles(std::vector<int> tiles) {
    tiles_ = std::move(tiles);
    found_ = -1;
    if (marked_)
        marked_ = -1;
    if (orientation_ == Qt::Vertical)
        setRowCount(count());
    else
        setColCount(count());
    redrawAll();
}

int TilePalette::currentIndex() const { return indexOf(col(), row()); }

void TilePalette::setCurrentIndex(int index) {
    if (orientation_ == Qt::Vertical)
        setCurrentCell(0, index);
    else
        setCurrentCell(index, 0);
}

void TilePalette::setShowIds(bool show) {
    showIds_ = show;
    redrawAll();
}

void TilePalette::showFound(int index) {
    found_ = index;
    if (orientation_ == Qt::Vertical)
        setTopRow(index);
    else
        setLeftCol(index);
    redrawAll();
}

void TilePalette::markEntry(int index) {
    marked_ = index >= 0 && index < count() ? index : -1;
    if (*marked_ >= 0) {
        const SilentSelection silent(*this);
        setCurrentIndex(*marked_);
        scrollToMarked();
    }
    redrawAll();
}

void TilePalette::scrollToMarked() {
    if (!marked_ || *marked_ < 0)
        return;
    if (orientation_ == Qt::Vertical)
        scrollCellIntoView(0, *marked_);
    else
        scrollCellIntoView(*marked_, 0);
}

void TilePalette::keyPressEvent(QKeyEvent* event) {
    // Space chooses the entry the keyboard stands on. While a palette that
    // frames the tile in use frames none (it does not list the tile), the
    // first arrow chooses that entry too, rather than the one beyond it.
    const bool arrow = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down ||
                       event->key() == Qt::Key_Left || event->key() == Qt::Key_Right;
    const bool nothingFramed = marked_ && *marked_ < 0;
    if (count() > 0 && event->modifiers() == Qt::NoModifier &&
        (event->key() == Qt::Key_Space || (arrow && nothingFramed))) {
        found_ = -1;
        emit entryClicked(currentIndex());
        event->accept();
        return;
    }
    DrawGrid::keyPressEvent(event);
}

void TilePalette::resizeEvent(QResizeEvent* event) {
    DrawGrid::resizeEvent(event);
    fitCells();
}

void TilePalette::fitCells() {
    const int width = cellSize_.width() > 0 ? cellSize_.width() : std::max(1, viewport()->width());
    const int height = cellSize_.height() > 0 ? cellSize_.height() : std::max(1, viewport()->height());
    if (width != defaultColWidth())
        setDefaultColWidth(width);
    if (height != defaultRowHeight())
        setDefaultRowHeight(height);
}

void TilePalette::drawRegion(QPainter& painter, const QRect& area) {
    DrawGrid::drawRegion(painter, area);
    // A tile whose picture cannot be read is drawn black and told once.
    if (const auto failure = pictures_.takeFailure())
        reportDrawFailure(QString::fromStdString(failure->message));
    else if (area == viewport()->rect())
        forgetDrawFailure();
}

void TilePalette::drawCell(QPainter& painter, int col, int row, const QRect& rect, bool selected) {
    const int index = indexOf(col, row);
    if (index < 0 || index >= count())
        return;
    const int tile = tileAt(index);
    pictures_.draw(painter, tile, rect);
    const bool framed = marked_ ? index == *marked_ : selected || index == found_;
    if (framed)
        TilePictures::drawFrame(painter, rect);
    if (showIds_) {
        const QString text = tile == NoDraw
                                 ? QStringLiteral("nodraw")
                                 : QStringLiteral(" %1 ").arg(QString::fromStdString(
                                       intToSpacedHex(static_cast<std::uint32_t>(tile), 2)));
        painter.setFont(font());
        const QRect box = painter.fontMetrics().boundingRect(text);
        const QRect label(rect.left() + 1, rect.top() + 1, box.width(), painter.fontMetrics().height());
        painter.fillRect(label, Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

} // namespace stonereach
