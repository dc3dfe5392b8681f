#pragma once

#include <cstdint>
#include <optional>

#include <QImage>
#include <QSize>

#include "render/TileImageCache.h"

class QPainter;
class QRect;

namespace stonereach {

class MapDrawSource;

// The pictures of land tiles as the editor's palettes and brush grid show
// them: a tile's texture, else its land art, stretched over a cell; black
// when neither can be read (also while the data files are not ready); and
// the NODRAW picture of a brush cell that paints nothing. Decoded pictures
// are kept until the client files are reopened. A tile whose picture cannot
// be read is drawn black and kept for takeFailure(), never thrown.
class TilePictures {
public:
    // Stands for a brush cell that leaves the map cell as it is.
    static constexpr int NoDraw = -1;

    explicit TilePictures(MapDrawSource& source) : source_(source) {}

    // Draws `tile` (a land tile id, or NoDraw) stretched over `rect`. An id
    // outside 0..65535 draws black.
    void draw(QPainter& painter, int tile, const QRect& rect);

    // The picture of `tile` at `size`, as draw() paints it.
    QImage picture(int tile, QSize size);

    // The first tile met since the last call whose picture could not be read
    // (it was drawn black); the call forgets it.
    std::optional<TileFailure> takeFailure() { return cache_.takeFailure(); }

    // The 1-pixel red frame around a chosen cell.
    static void drawFrame(QPainter& painter, const QRect& rect);

    // The NODRAW picture at a size: white, a red cross from corner to corner
    // three pixels wide.
    static QImage noDrawPicture(QSize size);

private:
    MapDrawSource& source_;
    TileImageCache cache_;
};

} // namespace stonereach
