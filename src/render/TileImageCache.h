#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <QImage>
#include <QSize>

#include "mapdata/TileImage.h"
#include "render/MapDrawSource.h"

namespace stonereach {

// The picture a map cell shows for a land tile, already stretched to the cell
// size: decoded once per tile and size instead of at every paint. Only
// pictures are kept, never map cells. A change of cell size drops everything;
// so must a reopening of the client files (clear()).
class TileImageCache {
public:
    // Bytes of stretched pictures kept at most; past it the cache starts
    // again. One screen's worth of distinct cells always fits.
    static constexpr std::size_t ByteBudget = 64u << 20;

    TileImageCache();

    // Drops every picture.
    void clear();

    // The cell picture of tile `id` at `size`, as size.width() x
    // size.height() RGB32 pixels, row by row. Loads and stretches the tile
    // on first use: its texture, else its land art, else black; the land
    // art placeholders 7 and 8 leave the blank picture white. The pointer is
    // valid until the next call.
    const std::uint32_t* pixels(MapDrawSource& source, std::uint16_t id, QSize size) {
        resize(size);
        const std::uint32_t* cached = bits_[id];
        return cached ? cached : load(source, id);
    }

    // The pictures at `size` loaded so far, by tile id (null where not yet
    // loaded); valid until the next call of any other member.
    const std::uint32_t* const* loadedPixels(QSize size) {
        resize(size);
        return bits_.data();
    }

    // A white cell picture at `size`: what a cell shows when the data files
    // are not ready. Valid until the next call.
    const std::uint32_t* whitePixels(QSize size);

    std::size_t byteCount() const { return bytes_; }
    std::size_t tileCount() const { return count_; }

    // The picture of a tile stretched to a size, in RGB32. Each 5-bit
    // component becomes 8 bits by a shift left of 3. Shrinking averages the
    // pixels, so tiny cells show a tile's mean colour; enlarging repeats
    // pixels, so big cells stay crisp.
    static QImage stretch(const TileImage& image, QSize size);

private:
    void resize(QSize size) {
        if (size != size_)
            changeSize(size);
    }
    void changeSize(QSize size);
    const std::uint32_t* load(MapDrawSource& source, std::uint16_t id);

    QSize size_;
    std::vector<QImage> images_; // by tile id; null = not loaded yet
    std::vector<const std::uint32_t*> bits_; // their pixels, null = not loaded yet
    QImage white_;
    std::size_t bytes_ = 0;
    std::size_t count_ = 0;
};

} // namespace stonereach
