#include "render/TileImageCache.h"

#include <algorithm>
#include <limits>

namespace stonereach {

namespace {

constexpr std::size_t TileIds = std::size_t(std::numeric_limits<std::uint16_t>::max()) + 1;

QImage toRgb32(const TileImage& image) {
    QImage result(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < image.width; ++x) {
            const Rgb8 c = rgb555To8(image.at(x, y));
            line[x] = qRgb(c.r, c.g, c.b);
        }
    }
    return result;
}

std::size_t bytesOf(const QImage& image) { return std::size_t(image.sizeInBytes()); }

} // namespace

TileImageCache::TileImageCache() : images_(TileIds), bits_(TileIds, nullptr) {}

void TileImageCache::clear() {
    if (count_ > 0) {
        for (QImage& image : images_)
            image = QImage();
        std::fill(bits_.begin(), bits_.end(), nullptr);
    }
    white_ = QImage();
    bytes_ = 0;
    count_ = 0;
}

void TileImageCache::changeSize(QSize size) {
    clear();
    size_ = size;
}

QImage TileImageCache::stretch(const TileImage& image, QSize size) {
    const QImage rgb = toRgb32(image);
    if (rgb.size() == size)
        return rgb;
    const bool shrinking = size.width() < rgb.width() && size.height() < rgb.height();
    QImage result = rgb.scaled(size, Qt::IgnoreAspectRatio,
                               shrinking ? Qt::SmoothTransformation : Qt::FastTransformation);
    return result.format() == QImage::Format_RGB32 ? result : result.convertToFormat(QImage::Format_RGB32);
}

const std::uint32_t* TileImageCache::load(MapDrawSource& source, std::uint16_t id) {
    // A cell starts out white; a tile with neither texture nor art turns it
    // black, the placeholders 7 and 8 leave it as it is.
    TileImage image;
    if (!source.loadTextureImage(id, image) && !source.loadLandArtImage(id, image))
        image = TileImage(1, 1, 0);
    QImage stretched;
    if (image.isEmpty()) {
        stretched = QImage(size_, QImage::Format_RGB32);
        stretched.fill(Qt::white);
    } else {
        stretched = stretch(image, size_);
    }
    if (bytes_ + bytesOf(stretched) > ByteBudget)
        clear(); // keeps the size
    bytes_ += bytesOf(stretched);
    ++count_;
    images_[id] = std::move(stretched);
    bits_[id] = reinterpret_cast<const std::uint32_t*>(images_[id].constBits());
    return bits_[id];
}

const std::uint32_t* TileImageCache::whitePixels(QSize size) {
    resize(size);
    if (white_.isNull()) {
        white_ = QImage(size, QImage::Format_RGB32);
        white_.fill(Qt::white);
    }
    return reinterpret_cast<const std::uint32_t*>(white_.constBits());
}

} // namespace stonereach
