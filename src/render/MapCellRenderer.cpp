#include "render/MapCellRenderer.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "editor/AltitudeColour.h"
#include "mapdata/Errors.h"

namespace stonereach {

namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Blue = 0xFF0000FF;

QRgb toQRgb(Rgb8 c) { return qRgb(c.r, c.g, c.b); }

} // namespace

// The target's pixels and the part of the view they cover.
struct MapCellRenderer::Target {
    std::uint32_t* bits;
    qsizetype stride; // pixels per line
    int x0, y0, x1, y1; // covered view area [x0, x1) x [y0, y1)

    Target(QImage& image, QPoint origin)
        : bits(reinterpret_cast<std::uint32_t*>(image.bits())), stride(image.bytesPerLine() / 4), x0(origin.x()),
          y0(origin.y()), x1(origin.x() + image.width()), y1(origin.y() + image.height()) {}

    std::uint32_t* at(int x, int y) { return bits + qsizetype(y - y0) * stride + (x - x0); }

    void fill(int left, int top, int right, int bottom, QRgb colour) {
        left = std::max(left, x0);
        top = std::max(top, y0);
        right = std::min(right, x1);
        bottom = std::min(bottom, y1);
        for (int y = top; y < bottom; ++y)
            std::fill(at(left, y), at(left, y) + std::max(0, right - left), colour);
    }

    // Copies an image placed at (left, top), limited to the clip rectangle.
    void blit(const QImage& image, int left, int top, int clipLeft, int clipTop, int clipRight, int clipBottom) {
        const int l = std::max({left, clipLeft, x0});
        const int t = std::max({top, clipTop, y0});
        const int r = std::min({left + image.width(), clipRight, x1});
        const int b = std::min({top + image.height(), clipBottom, y1});
        if (l >= r || t >= b)
            return;
        for (int y = t; y < b; ++y) {
            const auto* src = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y - top)) + (l - left);
            std::memcpy(at(l, y), src, std::size_t(r - l) * 4);
        }
    }
};

void MapCellRenderer::composeCell(Target& t, int left, int top, int width, int height, const MapCell* cell,
                                  bool selected, int bookmark, MapDrawSource& source, const CellDrawOptions& options) {
    const int right = left + width;
    const int bottom = top + height;
    const int cx0 = std::max(left, t.x0);
    const int cy0 = std::max(top, t.y0);
    const int cx1 = std::min(right, t.x1);
    const int cy1 = std::min(bottom, t.y1);
    if (cx0 >= cx1 || cy0 >= cy1)
        return;

    // The picture, stretched over the whole cell.
    if (!options.showOnlyColor) {
        const QSize size(width, height);
        const std::uint32_t* px = cell ? tiles_.pixels(source, cell->tile, size) : tiles_.whitePixels(size);
        if (width == 1 && height == 1) {
            *t.at(cx0, cy0) = *px;
        } else {
            const auto count = std::size_t(cx1 - cx0) * 4;
            for (int y = cy0; y < cy1; ++y)
                std::memcpy(t.at(cx0, y), px + qsizetype(y - top) * width + (cx0 - left), count);
        }
    } else {
        t.fill(cx0, cy0, cx1, cy1, Background);
    }

    if (selected) {
        const QRgb colour = options.shapeToolDown ? Blue : Red;
        t.fill(cx0, std::max(top, cy0), cx1, std::min(top + 1, cy1), colour);
        t.fill(cx0, std::max(bottom - 1, cy0), cx1, cy1, colour);
        t.fill(cx0, cy0, std::min(left + 1, cx1), cy1, colour);
        t.fill(std::max(right - 1, cx0), cy0, cx1, cy1, colour);
    }

    if (options.showAltitude && cell) {
        const QRgb background = options.coloredAltitude ? toQRgb(altitudeColour(cell->z)) : White;
        if (options.showOnlyColor)
            t.fill(cx0, cy0, cx1, cy1, background);
        if (width > 1 && height > 1)
            t.blit(labels_.altitude(cell->z, options.showNumber, background), left + 1, top + 1, cx0, cy0, cx1,
                   cy1);
    }

    if (bookmark >= 0)
        t.blit(labels_.bookmark(bookmark), left + 1, bottom - CellLabels::BookmarkRise, cx0, cy0, cx1, cy1);
}

bool MapCellRenderer::prepare(MapDrawSource& source) {
    const bool ready = source.dataFilesReady(); // may reopen the files
    if (source.tileImagesGeneration() != tileGeneration_) {
        tiles_.clear();
        tileGeneration_ = source.tileImagesGeneration();
    }
    return ready;
}

void MapCellRenderer::drawCell(QImage& target, QPoint origin, const QRect& cellRect, int col, int row, bool selected,
                               MapDrawSource& source, const std::optional<MapGeometry>& geometry,
                               const BookmarkTable& bookmarks, const CellDrawOptions& options) {
    Target t(target, origin);
    std::optional<MapCell> cell;
    if (geometry && geometry->contains(col, row) && prepare(source))
        cell = source.mapFile().readCell(col, row, *geometry);
    composeCell(t, cellRect.left(), cellRect.top(), cellRect.width(), cellRect.height(), cell ? &*cell : nullptr,
                selected, topBookmarkAt(bookmarks, col, row), source, options);
}

namespace {

// The cells of a rectangle of the map, read a block column at a time.
class BlockWindow {
public:
    BlockWindow(const MapFile& map, const MapGeometry& geometry, IndexSpan cols, IndexSpan rows)
        : bx0_(cols.first / MapLayout::BlockSide), by0_(rows.first / MapLayout::BlockSide),
          down_(rows.last / MapLayout::BlockSide - by0_ + 1) {
        const int across = cols.last / MapLayout::BlockSide - bx0_ + 1;
        blocks_.resize(std::size_t(across) * std::size_t(down_));
        for (int i = 0; i < across; ++i)
            map.readBlockRun(bx0_ + i, by0_, down_, geometry,
                             std::span(blocks_).subspan(std::size_t(i) * std::size_t(down_), std::size_t(down_)));
    }

    MapCell at(int col, int row) const {
        const MapBlockBytes& block =
            blocks_[std::size_t(col / MapLayout::BlockSide - bx0_) * std::size_t(down_) +
                    std::size_t(row / MapLayout::BlockSide - by0_)];
        return decodeCell(block.data() + cellOffsetInBlock(col % MapLayout::BlockSide, row % MapLayout::BlockSide));
    }

private:
    int bx0_;
    int by0_;
    int down_;
    std::vector<MapBlockBytes> blocks_;
};

IndexSpan intersect(IndexSpan span, int count) { return {span.first, std::min(span.last, count - 1)}; }

bool contains(IndexSpan span, int i) { return i >= span.first && i <= span.last; }

} // namespace

void MapCellRenderer::drawRegion(QImage& target, QPoint origin, const GridLayout& layout, QPoint currentCell,
                                 MapDrawSource& source, const std::optional<MapGeometry>& geometry,
                                 const BookmarkTable& bookmarks, const CellDrawOptions& options) {
    Target t(target, origin);
    target.fill(Background);
    const IndexSpan cols = layout.colsIn(t.x0, t.x1);
    const IndexSpan rows = layout.rowsIn(t.y0, t.y1);
    if (cols.isEmpty() || rows.isEmpty())
        return;

    // Cells read from the file: those of the map that are in view.
    IndexSpan readCols;
    IndexSpan readRows;
    std::optional<BlockWindow> window;
    if (geometry && prepare(source)) {
        readCols = intersect(cols, geometry->width);
        readRows = intersect(rows, geometry->height);
        if (!readCols.isEmpty() && !readRows.isEmpty())
            window.emplace(source.mapFile(), *geometry, readCols, readRows);
    }
    auto cellAt = [&](int c, int r, MapCell& cell) -> const MapCell* {
        if (!window || !contains(readCols, c) || !contains(readRows, r))
            return nullptr;
        cell = window->at(c, r);
        return &cell;
    };

    const int w = layout.cellWidth;
    const int h = layout.cellHeight;
    MapCell cell;
    for (int r = rows.first; r <= rows.last; ++r) {
        const int top = int(layout.cellTop(r));
        for (int c = cols.first; c <= cols.last; ++c)
            composeCell(t, int(layout.cellLeft(c)), top, w, h, cellAt(c, r, cell), false, -1, source, options);
    }

    // Cells with more on them than picture and altitude are drawn again whole.
    auto redraw = [&](int c, int r) {
        if (contains(cols, c) && contains(rows, r))
            composeCell(t, int(layout.cellLeft(c)), int(layout.cellTop(r)), w, h, cellAt(c, r, cell),
                        c == currentCell.x() && r == currentCell.y(), topBookmarkAt(bookmarks, c, r), source,
                        options);
    };
    redraw(currentCell.x(), currentCell.y());
    for (const BookmarkSlot& slot : bookmarks)
        if (slot.enabled)
            redraw(slot.col, slot.row);

    const int lw = layout.lineWidth;
    if (lw > 0) {
        const int gridTop = int(layout.cellTop(rows.first));
        const int gridBottom = int(std::min<qint64>(layout.cellTop(rows.last + 1), t.y1));
        const int gridLeft = int(layout.cellLeft(cols.first));
        const int gridRight = int(std::min<qint64>(layout.cellLeft(cols.last + 1), t.x1));
        for (int c = cols.first; c <= cols.last; ++c) {
            const int x = int(layout.cellLeft(c)) + w;
            t.fill(x, gridTop, x + lw, gridBottom, GridLineColour);
        }
        for (int r = rows.first; r <= rows.last; ++r) {
            const int y = int(layout.cellTop(r)) + h;
            t.fill(gridLeft, y, gridRight, y + lw, GridLineColour);
        }
    }
}

QImage renderMapRegion(MapDrawSource& source, const MapGeometry& geometry, int x, int y, int cols, int rows,
                       int zoom, bool gridLines, const CellDrawOptions& options, const BookmarkTable& bookmarks) {
    if (cols < 1 || rows < 1 || !geometry.contains(x, y) || !geometry.contains(x + cols - 1, y + rows - 1))
        throw RangeError("The region of " + std::to_string(cols) + " x " + std::to_string(rows) + " cells at (" +
                         std::to_string(x) + ", " + std::to_string(y) + ") does not lie inside the map (" +
                         std::to_string(geometry.width) + " x " + std::to_string(geometry.height) + " cells)");
    if (zoom < 1)
        throw RangeError("The zoom must be at least 1 pixel per cell");
    GridLayout layout;
    layout.colCount = geometry.width;
    layout.rowCount = geometry.height;
    layout.cellWidth = zoom;
    layout.cellHeight = zoom;
    layout.lineWidth = gridLines ? 1 : 0;
    layout.leftCol = x;
    layout.topRow = y;
    // Lines run between the cells, not around the picture.
    const qint64 width = qint64(cols) * layout.pitchX() - layout.lineWidth;
    const qint64 height = qint64(rows) * layout.pitchY() - layout.lineWidth;
    constexpr qint64 MaxSide = 16384;
    if (width > MaxSide || height > MaxSide)
        throw RangeError("A picture of " + std::to_string(width) + " x " + std::to_string(height) +
                         " pixels is too large; the most is " + std::to_string(MaxSide) + " on each side");
    QImage image(int(width), int(height), QImage::Format_RGB32);
    MapCellRenderer renderer;
    renderer.drawRegion(image, QPoint(0, 0), layout, QPoint(-1, -1), source, geometry, bookmarks, options);
    return image;
}

} // namespace stonereach
