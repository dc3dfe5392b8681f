#include "gui/editor/MapView.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <optional>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QRegion>

#include "gui/app/ErrorBoundary.h"
#include "gui/app/QtConversions.h"
#include "mapdata/Errors.h"

namespace stonereach {

int mainKeyboardDigit(const QKeyEvent& event) {
    if (event.modifiers() & Qt::KeypadModifier)
        return -1;
    if (event.key() >= Qt::Key_0 && event.key() <= Qt::Key_9)
        return event.key() - Qt::Key_0;
    return -1;
}

int MapView::clampZoom(int zoom) { return std::clamp(zoom, MinZoom, MaxZoom); }

MapView::MapView(MapDrawSource& source, BookmarkTable& bookmarks, QWidget* parent)
    : DrawGrid(parent), source_(source), bookmarks_(bookmarks) {
    setObjectName(QStringLiteral("MainDrawGrid"));
    setAccessibleName(QStringLiteral("Map"));
    setColCount(DesignColCount);
    setRowCount(DesignRowCount);
    setZoom(DefaultZoom);
}

void MapView::mapChanged() {
    forgetDrawFailure();
    if (const std::optional<MapGeometry> geometry = source_.mapGeometry()) {
        setColCount(geometry->width);
        setRowCount(geometry->height);
    }
    redrawAll();
}

void MapView::setDrawOptions(const CellDrawOptions& options) {
    options_ = options;
    redrawAll();
}

void MapView::setDisplaySwitches(const CellDrawOptions& switches) {
    CellDrawOptions options = switches;
    options.shapeToolDown = options_.shapeToolDown;
    setDrawOptions(options);
}

void MapView::setShapeToolDown(bool down) {
    CellDrawOptions options = options_;
    options.shapeToolDown = down;
    setDrawOptions(options);
}

void MapView::showGridLines(bool on) {
    setGridLineWidth(on ? 1 : 0);
    redrawAll();
}

void MapView::setFillCorner(std::optional<CellPoint> corner) {
    const QRect before = fillOutlineRect();
    fillCorner_ = corner;
    redrawFillOutline(before);
    redrawFillOutline(fillOutlineRect());
}

QRect MapView::fillOutlineRect() const {
    if (!fillCorner_)
        return {};
    const int left = std::min(fillCorner_->x, hover_.x);
    const int right = std::max(fillCorner_->x, hover_.x);
    const int top = std::min(fillCorner_->y, hover_.y);
    const int bottom = std::max(fillCorner_->y, hover_.y);
    return cellRect(left, top).united(cellRect(right, bottom));
}

void MapView::redrawFillOutline(const QRect& outline) {
    if (outline.isEmpty())
        return;
    // Only the edges: a large rectangle costs no more than a small one.
    constexpr int w = 2;
    QRegion edges(QRect(outline.left(), outline.top(), outline.width(), w));
    edges += QRect(outline.left(), outline.bottom() - w + 1, outline.width(), w);
    edges += QRect(outline.left(), outline.top(), w, outline.height());
    edges += QRect(outline.right() - w + 1, outline.top(), w, outline.height());
    viewport()->update(edges.intersected(viewport()->rect()));
}

void MapView::drawFillOutline(QPainter& painter, const QRect& area) {
    const QRect outline = fillOutlineRect();
    if (outline.isEmpty() || !outline.adjusted(-2, -2, 2, 2).intersects(area))
        return;
    // The fill paints only when the second corner lies right of and below
    // the first.
    const bool paints = hover_.x >= fillCorner_->x && hover_.y >= fillCorner_->y;
    painter.save();
    painter.setClipRect(area);
    painter.setPen(QPen(FillOutlineColour, 2, paints ? Qt::SolidLine : Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(outline.adjusted(1, 1, -1, -1));
    painter.restore();
}

void MapView::setZoom(int zoom) {
    zoom = clampZoom(zoom);
    setDefaultColWidth(zoom);
    setDefaultRowHeight(zoom);
}

void MapView::jumpTo(int x, int y) {
    const SilentSelection silent(*this);
    x = std::clamp(x, 0, std::max(colCount() - 1, 0));
    y = std::clamp(y, 0, std::max(rowCount() - 1, 0));
    // Moving away first makes the final move scroll the target into view
    // even when it already is the current cell.
    if (x == col())
        setCurrentCell(std::abs(x - 1), row());
    if (y == row())
        setCurrentCell(col(), std::abs(y - 1));
    setCurrentCell(x, y);
}

void MapView::redrawCells(const ChangedCells& cells) {
    if (cells.empty())
        return;
    const QRect visible = viewport()->rect();
    // A large change (a fill) is drawn as the one area around it rather
    // than as a region of many small rectangles.
    constexpr std::size_t kCellsDrawnOneByOne = 256;
    if (cells.size() > kCellsDrawnOneByOne) {
        redrawArea(cells.bounds());
        return;
    }
    QRegion region;
    cells.forEach([&](int x, int y) {
        const QRect area = cellRect(x, y).intersected(visible);
        if (!area.isEmpty())
            region += area;
    });
    if (!region.isEmpty())
        viewport()->update(region);
}

void MapView::redrawArea(const CellRect& area) {
    if (area.isEmpty())
        return;
    const QRect pixels = cellRect(area.left, area.top).united(cellRect(area.right, area.bottom));
    viewport()->update(pixels.intersected(viewport()->rect()));
}

void MapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && cellAt(event->position().toPoint()).x() >= 0)
        emit strokeStarted();
    DrawGrid::mousePressEvent(event);
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    DrawGrid::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit strokeEnded();
}

void MapView::keyPressEvent(QKeyEvent* event) {
    MainDrawGridKeyDown(event);
    DrawGrid::keyPressEvent(event);
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    MainDrawGridMouseMove(event->position().toPoint());
    DrawGrid::mouseMoveEvent(event);
}

void MapView::drawRegion(QPainter& painter, const QRect& area) {
    if (buffer_.width() < area.width() || buffer_.height() < area.height())
        buffer_ = QImage(std::max(buffer_.width(), area.width()), std::max(buffer_.height(), area.height()),
                         QImage::Format_RGB32);
    // The area's part of the reused buffer.
    QImage image(buffer_.bits(), area.width(), area.height(), buffer_.bytesPerLine(), QImage::Format_RGB32);
    if (source_.tileImagesGeneration() != picturesSeen_) {
        picturesSeen_ = source_.tileImagesGeneration();
        forgetDrawFailure();
    }
    try {
        renderer_.drawRegion(image, area.topLeft(), gridLayout(), QPoint(col(), row()), source_,
                             source_.mapGeometry(), bookmarks_, options_);
        painter.drawImage(area.topLeft(), image);
        drawFillOutline(painter, area);
        // A tile whose picture cannot be read costs its own cells only; it is
        // told like an error that stopped the drawing.
        if (const auto failure = renderer_.takeTileFailure()) {
            reportDrawFailure(qText(failure->message));
        } else if (area == viewport()->rect()) {
            forgetDrawFailure();
            source_.mapDrawnWhole();
        }
    } catch (const std::exception& e) {
        renderer_.takeTileFailure(); // the error that stopped the drawing is the one to tell
        painter.fillRect(area, Qt::black);
        // A map cut short fails every reader of it; one of them tells it.
        if (dynamic_cast<const IoError*>(&e) == nullptr || source_.mapFailureToTell())
            reportDrawFailure(errorText(e));
    }
    // Told after the paint, never from inside it.
    if (auto notice = source_.takePictureNotice())
        QMetaObject::invokeMethod(this, [this, text = qText(*notice)] { emit pictureNotice(text); },
                                  Qt::QueuedConnection);
}

void MapView::MainDrawGridMouseMove(QPoint viewportPos) {
    const GridLayout& grid = gridLayout();
    // Columns and rows are counted on past the last one, so that a pointer
    // right of or below the map lands on the last cell after clamping.
    auto cellIndex = [](int pos, qint64 pitch, int first) {
        return pos < 0 ? qint64(-1) : first + pos / pitch;
    };
    qint64 x = cellIndex(viewportPos.x(), grid.pitchX(), grid.leftCol);
    qint64 y = cellIndex(viewportPos.y(), grid.pitchY(), grid.topRow);
    x = std::max<qint64>(x, 0);
    y = std::max<qint64>(y, 0);
    if (const std::optional<MapGeometry> map = source_.mapGeometry()) {
        x = std::min<qint64>(x, map->width - 1);
        y = std::min<qint64>(y, map->height - 1);
    }
    const CellPoint hover{int(x), int(y)};
    if (fillCorner_ && !(hover == hover_)) {
        const QRect before = fillOutlineRect();
        hover_ = hover;
        redrawFillOutline(before);
        redrawFillOutline(fillOutlineRect());
    }
    hover_ = hover;
    emit hoverChanged(hover_.x, hover_.y);
}

void MapView::MainDrawGridKeyDown(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    switch (key) {
    case Qt::Key_Left:
        if (leftCol() > 0)
            setLeftCol(leftCol() - 1);
        emit arrowScrolled();
        break;
    case Qt::Key_Up:
        if (topRow() > 0)
            setTopRow(topRow() - 1);
        emit arrowScrolled();
        break;
    case Qt::Key_Right:
        if (leftCol() < colCount())
            setLeftCol(leftCol() + 1);
        emit arrowScrolled();
        break;
    case Qt::Key_Down:
        if (topRow() < rowCount())
            setTopRow(topRow() + 1);
        emit arrowScrolled();
        break;
    case Qt::Key_Insert:
        emit insertPressed();
        break;
    default:
        break;
    }

    const int digit = mainKeyboardDigit(*event);
    const bool ctrl = mods & Qt::ControlModifier;
    if (ctrl && (mods & Qt::AltModifier)) {
        if (digit >= 0) {
            BookmarkSlot& bookmark = bookmarks_[std::size_t(digit)];
            bookmark.col = col();
            bookmark.row = row();
            bookmark.enabled = !bookmark.enabled;
        }
        redrawAll();
    }
    if (ctrl) {
        if (digit >= 0)
            emit goToBookmarkRequested(digit);
        if (key == Qt::Key_Z)
            emit undoRequested();
    }
}

} // namespace stonereach
