#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <QImage>
#include <QSize>

#include "render/MapDrawSource.h"

namespace stonereach {

// A tile whose picture could not be read (a damaged or short client file):
// its cells show black instead, and the message says so once.
struct TileFailure {
    std::uint16_t id = 0;
    std::string message; // names the tile, the file and the cause
};

// The picture a map cell or palette row shows for a land tile, already
// stretched to the cell size: decoded once per tile and size instead of at
// every paint. Only pictures are kept, never map cells. A change of cell size
// drops the pictures; a reopening of the client files (a new picture
// generation of the source, or clear()) drops everything.
//
// A tile whose files cannot be read costs its own cells only: it shows black,
// and the error is kept for takeFailure() instead of being thrown through the
// whole paint. It is not read again until the client files change.
class TileImageCache {
public:
    // Bytes of stretched pictures kept at most; past it the cache starts
    // again. One screen's worth of distinct cells always fits.
    static constexpr std::size_t ByteBudget = 64u << 20;

    TileImageCache();

    // Drops every picture and every failure kept.
    void clear();

    // Drops everything when the source's pictures may have changed since the
    // last look (its client files were reopened).
    void follow(const MapDrawSource& source);

    // The picture of tile `id` stretched to `size`, for a palette row or a
    // dialog's tile: its texture, else its land art, else black (as when the
    // data files are not ready, since the source's loaders then say false);
    // the land art placeholders 7 and 8 are white. Follows the source's
    // picture generation first. A tile that cannot be read is black, and
    // takeFailure() tells why. The image shares the cache's pixels and stays
    // valid on its own.
    QImage picture(MapDrawSource& source, std::uint16_t id, QSize size);

    // The cell picture of tile `id` at `size`, as size.width() x
    // size.height() RGB32 pixels, row by row, with the rules of picture().
    // The pointer is valid until the next call.
    const std::uint32_t* pixels(MapDrawSource& source, std::uint16_t id, QSize size) {
        resize(size);
        const std::uint32_t* cached = bits_[id];
        return cached ? cached : bitsOf(load(source, id));
    }

    // The pictures at `size` loaded so far, by tile id (null where not yet
    // loaded, and for tiles that could not be read); valid until the next
    // call of any other member.
    const std::uint32_t* const* loadedPixels(QSize size) {
        resize(size);
        return bits_.data();
    }

    // A white cell picture at `size`: what a map cell shows when the data
    // files are not ready. Valid until the next call.
    const std::uint32_t* whitePixels(QSize size);

    // The first tile that could not be read among the lookups since the last
    // call (nothing when all could); this call forgets it.
    std::optional<TileFailure> takeFailure();

private:
    void resize(QSize size) {
        if (size != size_)
            changeSize(size);
    }
    void changeSize(QSize size);
    void dropPictures();
    const QImage& load(MapDrawSource& source, std::uint16_t id);
    const QImage& failed(std::uint16_t id, const std::string& message);
    const QImage& plain(QImage& image, Qt::GlobalColor colour);
    static const std::uint32_t* bitsOf(const QImage& image) {
        return reinterpret_cast<const std::uint32_t*>(image.constBits());
    }

    QSize size_;
    std::vector<QImage> images_; // by tile id; null = not loaded yet
    std::vector<const std::uint32_t*> bits_; // their pixels, null = not loaded yet
    QImage white_;
    QImage black_;
    std::size_t bytes_ = 0;
    std::size_t count_ = 0;
    std::uint64_t generation_ = 0;
    std::map<std::uint16_t, std::string> failures_; // by tile id
    std::optional<TileFailure> met_;
};

} // namespace stonereach
