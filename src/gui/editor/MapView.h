#pragma once

#include <cstdint>
#include <optional>

#include <QImage>

#include "editor/Bookmarks.h"
#include "editor/ChangedCells.h"
#include "gui/widgets/DrawGrid.h"
#include "mapdata/MapVariant.h"
#include "render/CellDrawOptions.h"
#include "render/MapCellRenderer.h"
#include "render/MapDrawSource.h"

class QKeyEvent;

namespace stonereach {

// The digit 0..9 of a key of the main keyboard (not of the numeric pad), or
// -1: the keys that set and use bookmarks.
int mainKeyboardDigit(const QKeyEvent& event);

// The map view "MainDrawGrid": one grid cell per map cell (column = x,
// row = y), each drawn from the map file at every paint, a block of cells at
// a time, so a write by any tool shows at the next paint. The map, its
// geometry and the tile pictures come from the draw source. Tracks the cell
// under the pointer, sets and uses the ten bookmarks from the keyboard and
// leaves everything that belongs to the window (status line, jumping,
// painting, undo) to it through signals.
class MapView : public DrawGrid {
    Q_OBJECT
public:
    static constexpr int DefaultZoom = 45;
    static constexpr int ZoomStep = 5;
    // Zooming out stops at cells of one pixel. Zooming in stops at 1000
    // pixels, beyond which a single tile picture would take megabytes.
    static constexpr int MinZoom = 1;
    static constexpr int MaxZoom = 1000;
    static int zoomedIn(int zoom) { return clampZoom(zoom + ZoomStep); }
    static int zoomedOut(int zoom) { return clampZoom(zoom - ZoomStep); }
    static int clampZoom(int zoom);

    // The grid of the window's design until a map has been recognised.
    static constexpr int DesignColCount = 6144;
    static constexpr int DesignRowCount = 4096;

    MapView(MapDrawSource& source, BookmarkTable& bookmarks, QWidget* parent = nullptr);

    // The source's map was opened anew: the grid takes its size when its
    // layout is known (else the counts stay and no cell is read: cells draw
    // as with the data files not ready), and everything is drawn afresh.
    void mapChanged();

    const CellDrawOptions& drawOptions() const { return options_; }
    // The display switches (altitude label, its colour, colour only, the
    // number); the outline the painting tool sets stays. Redraws.
    void setDisplaySwitches(const CellDrawOptions& switches);
    // The current cell's outline is blue while a shape tool is down. Redraws.
    void setShapeToolDown(bool down);
    // Silver lines between the cells, or none. Redraws.
    void showGridLines(bool on);
    // The first corner of a pending fill, or nothing: while it is set the
    // view outlines the rectangle from it to the cell under the pointer, solid
    // when the fill would paint it, dashed when it would paint nothing.
    void setFillCorner(std::optional<CellPoint> corner);
    static inline const QColor FillOutlineColour{255, 255, 0};

    // Cell size in pixels (column width = row height), kept within
    // MinZoom..MaxZoom.
    int zoom() const { return defaultRowHeight(); }
    void setZoom(int zoom);

    // The map cell under the mouse pointer (not the current cell).
    CellPoint hoverCell() const { return hover_; }

    // Makes cell (x, y), brought within the grid, the current cell and
    // scrolls it into view, without reporting the selection: a jump paints
    // nothing. Scrolls even when the cell is already the current one.
    void jumpTo(int x, int y);

    // Draws the cells again from the file at the next paint: the cells a
    // painting tool has just written.
    void redrawCells(const ChangedCells& cells);
    // The same for every cell of a rectangle (a stroke taken back).
    void redrawArea(const CellRect& area);

    // Mouse moved over the view: the cell under the pointer, raised to 0 and
    // lowered to the map's last column and row.
    void MainDrawGridMouseMove(QPoint viewportPos);
    // Key pressed in the view, before the grid's own keyboard behaviour.
    void MainDrawGridKeyDown(QKeyEvent* event);


signals:
    void hoverChanged(int x, int y);            // refresh the status line
    // An arrow key scrolled the view: the status line is refreshed, and the
    // next cell selection, which the grid's own move of the current cell
    // makes, paints nothing.
    void arrowScrolled();
    void insertPressed();                       // Insert: add the hovered cell to the patch list
    void goToBookmarkRequested(int slot);       // Ctrl+digit
    void undoRequested();                       // Ctrl+Z
    // A left press on a cell begins a user action and its release ends it:
    // what is painted in between is one stroke.
    void strokeStarted();
    void strokeEnded();
    // Something to tell about the tile pictures (see
    // MapDrawSource::takePictureNotice), once, after the paint that met it.
    void pictureNotice(const QString& text);

protected:
    void drawRegion(QPainter& painter, const QRect& area) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setDrawOptions(const CellDrawOptions& options);
    // The fill outline in viewport pixels; empty without a pending fill.
    QRect fillOutlineRect() const;
    void drawFillOutline(QPainter& painter, const QRect& area);
    void redrawFillOutline(const QRect& outline);

    MapDrawSource& source_;
    BookmarkTable& bookmarks_;
    CellDrawOptions options_;
    MapCellRenderer renderer_;
    QImage buffer_;
    CellPoint hover_;
    std::optional<CellPoint> fillCorner_;
    // The source's picture generation at the last paint: a failure to read
    // a tile picture is told again once the client files were reopened.
    std::uint64_t picturesSeen_ = 0;
};

} // namespace stonereach
