#include "render/MapCellRenderer.h"

#include <algorithm>
#include <array>
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

// A label picture's pixels.
struct Sprite {
    const std::uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    qsizetype stride = 0; // pixels per line

    static Sprite of(const QImage& image) {
        return {reinterpret_cast<const std::uint32_t*>(image.constBits()), image.width(), image.height(),
                image.bytesPerLine() / 4};
    }
};

} // namespace

// The target's pixels and the part of the view they cover.
struct MapCellRenderer::Target {
    std::uint32_t* bits;
    qsizetype stride;   // pixels per line
    int x0, y0, x1, y1; // covered view area [x0, x1) x [y0, y1)

    Target(QImage& image, QPoint origin)
        : bits(reinterpret_cast<std::uint32_t*>(image.bits())), stride(image.bytesPerLine() / 4), x0(origin.x()),
          y0(origin.y()), x1(origin.x() + image.width()), y1(origin.y() + image.height()) {}

    std::uint32_t* at(int x, int y) { return bits + qsizetype(y - y0) * stride + (x - x0); }

    // Fills [left, right) x [top, bottom), which lies inside the target.
    void fill(int left, int top, int right, int bottom, QRgb colour) {
        for (int y = top; y < bottom; ++y)
            std::fill(at(left, y), at(left, y) + std::max(0, right - left), colour);
    }

    // Copies a picture placed at (left, top), limited to the clip rectangle
    // (which lies inside the target).
    void blit(const Sprite& sprite, int left, int top, int clipLeft, int clipTop, int clipRight, int clipBottom) {
        const int l = std::max(left, clipLeft);
        const int t = std::max(top, clipTop);
        const int r = std::min(left + sprite.width, clipRight);
        const int b = std::min(top + sprite.height, clipBottom);
        if (l >= r || t >= b)
            return;
        for (int y = t; y < b; ++y)
            std::memcpy(at(l, y), sprite.bits + qsizetype(y - top) * sprite.stride + (l - left),
                        std::size_t(r - l) * 4);
    }
};

// What stays the same for every cell of one drawing: the options, the cell
// size and the label pictures looked up so far.
struct MapCellRenderer::Context {
    MapDrawSource& source;
    const CellDrawOptions& options;
    TileImageCache& tiles;
    CellLabels& labels;
    int width;
    int height;
    std::array<Sprite, 256> altitudeLabels{};
    std::array<QRgb, 256> labelColours{};
    std::array<bool, 256> labelKnown{};

    const Sprite& altitudeLabel(std::int8_t z) {
        const auto i = std::size_t(z + 128);
        if (!labelKnown[i]) {
            labelColours[i] = options.coloredAltitude ? toQRgb(altitudeColour(z)) : White;
            altitudeLabels[i] = Sprite::of(labels.altitude(z, options.showNumber, labelColours[i]));
            labelKnown[i] = true;
        }
        return altitudeLabels[i];
    }
    QRgb labelColour(std::int8_t z) {
        altitudeLabel(z);
        return labelColours[std::size_t(z + 128)];
    }
};

void MapCellRenderer::composeCell(Context& ctx, Target& t, int left, int top, const MapCell* cell, bool selected,
                                  int bookmark) {
    const int width = ctx.width;
    const int height = ctx.height;
    const int right = left + width;
    const int bottom = top + height;
    const int cx0 = std::max(left, t.x0);
    const int cy0 = std::max(top, t.y0);
    const int cx1 = std::min(right, t.x1);
    const int cy1 = std::min(bottom, t.y1);
    if (cx0 >= cx1 || cy0 >= cy1)
        return;
    const CellDrawOptions& options = ctx.options;

    // The picture, stretched over the whole cell.
    if (!options.showOnlyColor) {
        const QSize size(width, height);
        const std::uint32_t* px = cell ? ctx.tiles.pixels(ctx.source, cell->tile, size) : ctx.tiles.whitePixels(size);
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
        t.fill(cx0, cy0, cx1, std::min(top + 1, cy1), colour);
        t.fill(cx0, std::max(bottom - 1, cy0), cx1, cy1, colour);
        t.fill(cx0, cy0, std::min(left + 1, cx1), cy1, colour);
        t.fill(std::max(right - 1, cx0), cy0, cx1, cy1, colour);
    }

    if (options.showAltitude && cell) {
        if (options.showOnlyColor)
            t.fill(cx0, cy0, cx1, cy1, ctx.labelColour(cell->z));
        // The label starts one pixel in, so a cell of one pixel shows none of it.
        if (width > 1 && height > 1)
            t.blit(ctx.altitudeLabel(cell->z), left + 1, top + 1, cx0, cy0, cx1, cy1);
    }

    if (bookmark >= 0)
        t.blit(Sprite::of(labels_.bookmark(bookmark)), left + 1, bottom - CellLabels::BookmarkRise, cx0, cy0, cx1,
               cy1);
}

bool MapCellRenderer::prepare(MapDrawSource& source) {
    const bool ready = source.dataFilesReady(); // may reopen the files
    tiles_.follow(source);
    return ready;
}

void MapCellRenderer::drawCell(QImage& target, QPoint origin, const QRect& cellRect, int col, int row, bool selected,
                               MapDrawSource& source, const std::optional<MapGeometry>& geometry,
                               const BookmarkTable& bookmarks, const CellDrawOptions& options) {
    Target t(target, origin);
    std::optional<MapCell> cell;
    if (geometry && geometry->contains(col, row) && prepare(source))
        cell = source.mapFile().readCell(col, row, *geometry);
    Context ctx{source, options, tiles_, labels_, cellRect.width(), cellRect.height()};
    composeCell(ctx, t, cellRect.left(), cellRect.top(), cell ? &*cell : nullptr, selected,
                topBookmarkAt(bookmarks, col, row));
}

namespace {

bool contains(IndexSpan span, int i) { return i >= span.first && i <= span.last; }

} // namespace

// The blocks that hold a rectangle of cells, read a block column at a time.
class BlockWindow {
public:
    static constexpr int Side = MapLayout::BlockSide;

    void read(const MapFile& map, const MapGeometry& geometry, IndexSpan cols, IndexSpan rows) {
        bx0_ = cols.first / Side;
        by0_ = rows.first / Side;
        down_ = rows.last / Side - by0_ + 1;
        const int across = cols.last / Side - bx0_ + 1;
        blocks_.resize(std::size_t(across) * std::size_t(down_));
        for (int i = 0; i < across; ++i)
            map.readBlockRun(bx0_ + i, by0_, down_, geometry,
                             std::span(blocks_).subspan(std::size_t(i) * std::size_t(down_), std::size_t(down_)));
    }

    // The 8 cells of row `row` in the block column holding `col`.
    const std::uint8_t* blockRow(int col, int row) const {
        const MapBlockBytes& block =
            blocks_[std::size_t(col / Side - bx0_) * std::size_t(down_) + std::size_t(row / Side - by0_)];
        return block.data() + cellOffsetInBlock(0, row % Side);
    }

    MapCell at(int col, int row) const {
        return decodeCell(blockRow(col, row) + std::size_t(col % Side) * MapLayout::CellSize);
    }

private:
    int bx0_ = 0;
    int by0_ = 0;
    int down_ = 0;
    std::vector<MapBlockBytes> blocks_;
};

MapCellRenderer::MapCellRenderer() : blocks_(std::make_unique<BlockWindow>()) {}
MapCellRenderer::~MapCellRenderer() = default;

void MapCellRenderer::drawRegion(QImage& target, QPoint origin, const GridLayout& layout, QPoint currentCell,
                                 MapDrawSource& source, const std::optional<MapGeometry>& geometry,
                                 const BookmarkTable& bookmarks, const CellDrawOptions& options) {
    Target t(target, origin);
    const IndexSpan cols = layout.colsIn(t.x0, t.x1);
    const IndexSpan rows = layout.rowsIn(t.y0, t.y1);
    if (cols.isEmpty() || rows.isEmpty()) {
        target.fill(Background);
        return;
    }
    // Background where no cell and no line lies: right of and below the grid.
    const int gridRight = int(std::min<qint64>(layout.cellLeft(cols.last + 1), t.x1));
    const int gridBottom = int(std::min<qint64>(layout.cellTop(rows.last + 1), t.y1));
    t.fill(gridRight, t.y0, t.x1, t.y1, Background);
    t.fill(t.x0, gridBottom, gridRight, t.y1, Background);

    // The visible cells that lie in the map are read from the file.
    IndexSpan readCols;
    IndexSpan readRows;
    BlockWindow& blocks = *blocks_;
    if (geometry && prepare(source)) {
        readCols = {cols.first, std::min(cols.last, geometry->width - 1)};
        readRows = {rows.first, std::min(rows.last, geometry->height - 1)};
        if (!readCols.isEmpty() && !readRows.isEmpty())
            blocks.read(source.mapFile(), *geometry, readCols, readRows);
        else
            readCols = readRows = IndexSpan{};
    }
    MapCell cell;
    auto cellAt = [&](int c, int r) -> const MapCell* {
        if (!contains(readCols, c) || !contains(readRows, r))
            return nullptr;
        cell = blocks.at(c, r);
        return &cell;
    };

    Context ctx{source, options, tiles_, labels_, layout.cellWidth, layout.cellHeight};
    const int left0 = int(layout.cellLeft(cols.first));
    const int pitchX = int(layout.pitchX());
    // Cells of one or two pixels a side that lie wholly in the target are
    // written straight from the blocks: their picture pixels and, for 2 x 2
    // cells with labels, the one label pixel that falls inside (the label
    // starts one pixel in). Everything else goes through composeCell.
    const int w = layout.cellWidth;
    const int h = layout.cellHeight;
    const bool smallCells = w <= 2 && h <= 2 && !options.showOnlyColor;
    const bool labelPixel = options.showAltitude && w == 2 && h == 2;
    const QSize cellSize(w, h);
    const std::uint32_t* const* loaded = tiles_.loadedPixels(cellSize);
    for (int r = rows.first; r <= rows.last; ++r) {
        const int top = int(layout.cellTop(r));
        int left = left0;
        int c = cols.first;
        if (smallCells && contains(readRows, r) && top >= t.y0 && top + h <= t.y1) {
            std::uint32_t* line = t.at(t.x0, top) - t.x0;
            std::uint32_t* next = line + t.stride;
            while (c <= readCols.last) {
                // One block's run of cells on this row.
                const int runEnd = std::min(readCols.last, c - c % BlockWindow::Side + BlockWindow::Side - 1);
                const std::uint8_t* bytes = blocks.blockRow(c, r) + std::size_t(c % BlockWindow::Side) * 3;
                for (; c <= runEnd; ++c, left += pitchX, bytes += MapLayout::CellSize) {
                    if (left < t.x0 || left + w > t.x1) {
                        cell = decodeCell(bytes);
                        composeCell(ctx, t, left, top, &cell, false, -1);
                        continue;
                    }
                    const std::uint16_t tile = le::u16(bytes);
                    const std::uint32_t* px = loaded[tile];
                    if (!px) {
                        px = tiles_.pixels(source, tile, cellSize);
                        loaded = tiles_.loadedPixels(cellSize); // loading may have cleared the cache
                    }
                    line[left] = px[0];
                    if (w == 2)
                        line[left + 1] = px[1];
                    if (h == 2) {
                        next[left] = px[w];
                        if (w == 2)
                            next[left + 1] = labelPixel ? ctx.altitudeLabel(std::int8_t(bytes[2])).bits[0] : px[3];
                    }
                }
            }
        }
        for (; c <= cols.last; ++c, left += pitchX)
            composeCell(ctx, t, left, top, cellAt(c, r), false, -1);
    }

    // Cells with more on them than picture and altitude are drawn again whole.
    auto redraw = [&](int c, int r) {
        if (contains(cols, c) && contains(rows, r))
            composeCell(ctx, t, int(layout.cellLeft(c)), int(layout.cellTop(r)), cellAt(c, r),
                        c == currentCell.x() && r == currentCell.y(), topBookmarkAt(bookmarks, c, r));
    };
    redraw(currentCell.x(), currentCell.y());
    for (const BookmarkSlot& slot : bookmarks)
        if (slot.enabled)
            redraw(slot.col, slot.row);

    const int lw = layout.lineWidth;
    if (lw > 0) {
        const int linesTop = std::max(int(layout.cellTop(rows.first)), t.y0);
        const int linesLeft = std::max(left0, t.x0);
        for (int c = cols.first; c <= cols.last; ++c) {
            const int x = int(layout.cellLeft(c)) + layout.cellWidth;
            t.fill(std::max(x, t.x0), linesTop, std::min(x + lw, t.x1), gridBottom, GridLineColour);
        }
        for (int r = rows.first; r <= rows.last; ++r) {
            const int y = int(layout.cellTop(r)) + layout.cellHeight;
            t.fill(linesLeft, std::max(y, t.y0), gridRight, std::min(y + lw, t.y1), GridLineColour);
        }
    }
}

RenderedRegion renderMapRegion(MapDrawSource& source, const MapGeometry& geometry, int x, int y, int cols, int rows,
                               int zoom, bool gridLines, const CellDrawOptions& options,
                               const BookmarkTable& bookmarks) {
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
    return {std::move(image), renderer.takeTileFailure()};
}

} // namespace stonereach
