#pragma once

#include <optional>
#include <vector>

#include <QImage>
#include <QString>

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
// a time, so a write by any tool shows at the next paint. Tracks the cell
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

    // The geometry cells are addressed with; sets the column and row counts.
    // Without one (a map file that no variant matches) the counts stay and
    // no cell is read: cells draw as with the data files not ready.
    void setMapGeometry(const std::optional<MapGeometry>& geometry);
    const std::optional<MapGeometry>& mapGeometry() const { return geometry_; }

    // The size text the window shows ("1448x1448", "None", ...): the cell
    // under the pointer is kept within its largest coordinates.
    void setSizeText(const QString& sizeText);

    const CellDrawOptions& drawOptions() const { return options_; }
    void setDrawOptions(const CellDrawOptions& options); // redraws

    // Cell size in pixels (column width = row height), kept within
    // MinZoom..MaxZoom.
    int zoom() const { return defaultRowHeight(); }
    void setZoom(int zoom);

    // The map cell under the mouse pointer (not the current cell).
    CellPoint hoverCell() const { return hover_; }

    // Set by the arrow keys; the window's next cell selection clears it and
    // paints nothing.
    bool arrowScrollPending() const { return arrowScrollPending_; }
    void setArrowScrollPending(bool pending) { arrowScrollPending_ = pending; }

    // Drops the cached tile pictures; the window calls it whenever the
    // client files have been reopened.
    void clearTileCache();

    // Draws the cells again from the file at the next paint: the cells a
    // painting tool has just written.
    void redrawCells(const ChangedCells& cells);

    // Mouse moved over the view: the cell under the pointer, raised to 0 and
    // lowered to the largest coordinates of the size text.
    void MainDrawGridMouseMove(QPoint viewportPos);
    // Key pressed in the view, before the grid's own keyboard behaviour.
    void MainDrawGridKeyDown(QKeyEvent* event);


signals:
    void hoverChanged(int x, int y);            // refresh the status line
    void statusLineUpdateRequested();           // the arrow keys: refresh the status line
    void insertPressed();                       // Insert: add the hovered cell to the patch list
    void goToBookmarkRequested(int slot);       // Ctrl+digit
    void undoRequested();                       // Ctrl+Z

protected:
    void drawRegion(QPainter& painter, const QRect& area) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:

    MapDrawSource& source_;
    BookmarkTable& bookmarks_;
    std::optional<MapGeometry> geometry_;
    QString sizeText_;
    CellDrawOptions options_;
    MapCellRenderer renderer_;
    QImage buffer_;
    CellPoint hover_;
    bool arrowScrollPending_ = false;
};

} // namespace stonereach
