#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QImage>
#include <QPoint>
#include <QRect>

#include "editor/Bookmarks.h"
#include "mapdata/MapLayout.h"
#include "mapdata/MapVariant.h"
#include "render/CellDrawOptions.h"
#include "render/CellLabels.h"
#include "render/GridLayout.h"
#include "render/MapDrawSource.h"
#include "render/TileImageCache.h"

namespace stonereach {

// Draws map cells as the map view shows them, in this order: the tile
// picture stretched over the cell (a white cell when the data files are not
// ready, a black one for a tile without picture or whose picture cannot be
// read, see takeTileFailure()); the 1-pixel outline of the
// current cell (blue while a shape tool is down, else red); the altitude
// label " z " at (left + 1, top + 1), black on white or on the altitude
// colour, which with "show only colour" also fills the cell; the label of the
// highest bookmark on the cell, " i " white on navy at (left + 1, bottom - 15).
// Each cell's drawing stays inside its own rectangle.
//
// When the data files are not ready no cell is read: the cell is white (or
// black with "show only colour") and carries no altitude label, since there
// is no altitude to show; outline and bookmark labels are still drawn.
//
// Stretched tile pictures are kept between drawings and dropped when the
// source's picture generation changes (its client files were reopened).
//
// Targets are RGB32 images; `origin` is the position of the target's top-left
// pixel in the coordinates of the cell rectangles (the view's viewport).
class BlockWindow;

class MapCellRenderer {
public:
    MapCellRenderer();
    ~MapCellRenderer();
    MapCellRenderer(const MapCellRenderer&) = delete;
    MapCellRenderer& operator=(const MapCellRenderer&) = delete;

    // One cell, reading it on its own from the map file.
    void drawCell(QImage& target, QPoint origin, const QRect& cellRect, int col, int row, bool selected,
                  MapDrawSource& source, const std::optional<MapGeometry>& geometry, const BookmarkTable& bookmarks,
                  const CellDrawOptions& options);

    // Everything of the grid inside the target: black background, every cell
    // that intersects it (read a block at a time, fresh from the file), the
    // current cell's outline, the labels and the silver grid lines. Gives
    // the same pixels as drawing the cells one by one.
    void drawRegion(QImage& target, QPoint origin, const GridLayout& layout, QPoint currentCell,
                    MapDrawSource& source, const std::optional<MapGeometry>& geometry,
                    const BookmarkTable& bookmarks, const CellDrawOptions& options);

    // The first tile whose picture could not be read in the drawings since
    // the last call; its cells were drawn black and every other cell as
    // usual. Nothing when every picture could be read.
    std::optional<TileFailure> takeTileFailure() { return tiles_.takeFailure(); }

    static constexpr QRgb GridLineColour = 0xFFC0C0C0;
    static constexpr QRgb Background = 0xFF000000;

private:
    struct Target;
    struct Context;
    void composeCell(Context& context, Target& target, int left, int top, const MapCell* cell, bool selected,
                     int bookmark);

    // True when cells may be read; drops stale pictures first.
    bool prepare(MapDrawSource& source);

    TileImageCache tiles_;
    CellLabels labels_;
    // The blocks of the region being drawn, kept to reuse their memory.
    std::unique_ptr<BlockWindow> blocks_;
};

// A drawn region and the first tile in it whose picture could not be read.
struct RenderedRegion {
    QImage image;
    std::optional<TileFailure> tileFailure;
};

// A picture of cols x rows cells of the map from (x, y) on, drawn exactly as
// the map view draws them at this zoom (cell size in pixels), with grid lines
// between the cells when `gridLines` is set and no current cell. Throws
// RangeError for a region outside the map or a picture too large to make.
RenderedRegion renderMapRegion(MapDrawSource& source, const MapGeometry& geometry, int x, int y, int cols, int rows,
                               int zoom, bool gridLines, const CellDrawOptions& options,
                               const BookmarkTable& bookmarks = {});

} // namespace stonereach
