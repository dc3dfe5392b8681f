#pragma once

#include <QDialog>

#include "mapdata/MapVariant.h"

class QLabel;

namespace stonereach {

class EditorLink;
class OverviewCanvas;
class WindowDialogs;

// The overview: the whole open map, one pixel per 8 x 8 block in the radar
// colour of the block's cell (1, 1), built from the map file once the window
// is on screen. Pressing a pixel moves the map view to its block and closes
// the window.
class TMapViewForm : public QDialog {
    Q_OBJECT
public:
    // `geometry` is the open map's.
    TMapViewForm(EditorLink& link, WindowDialogs& dialogs, const MapGeometry& geometry, QWidget* parent = nullptr);

    // The picture (empty until built).
    QImage picture() const;
    OverviewCanvas& canvas() { return *canvas_; }
    // True once the build request has been handled.
    bool built() const { return built_; }

    void MapaMouseDown(int px, int py);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildRequest();
    void build();

    EditorLink& link_;
    WindowDialogs& dialogs_;
    MapGeometry geometry_;
    OverviewCanvas* canvas_;
    QLabel* generateText_;
    bool requested_ = false;
    bool built_ = false;
};

} // namespace stonereach
