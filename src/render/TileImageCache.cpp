#include "render/TileImageCache.h"

#include <algorithm>
#include <limits>

#include "mapdata/Errors.h"
#include "mapdata/IntegerText.h"
#include "render/TileQImage.h"

namespace stonereach {

namespace {

constexpr std::size_t TileIds = std::size_t(std::numeric_limits<std::uint16_t>::max()) + 1;

std::size_t bytesOf(const QImage& image) { return std::size_t(image.sizeInBytes()); }

std::string failureText(std::uint16_t id, const Error& error) {
    return "The picture of tile " + intToSpacedHex(id, 2) + " (" + std::to_string(id) +
           ") cannot be read, so its cells are drawn black: " + error.what();
}

} // namespace

TileImageCache::TileImageCache() : images_(TileIds), bits_(TileIds, nullptr) {}

void TileImageCache::dropPictures() {
    if (count_ > 0) {
        for (QImage& image : images_)
            image = QImage();
        std::fill(bits_.begin(), bits_.end(), nullptr);
    }
    white_ = QImage();
    black_ = QImage();
    bytes_ = 0;
    count_ = 0;
}

void TileImageCache::clear() {
    dropPictures();
    failures_.clear();
    met_.reset();
}

void TileImageCache::follow(const MapDrawSource& source) {
    if (source.tileImagesGeneration() != generation_) {
        clear();
        generation_ = source.tileImagesGeneration();
    }
}

void TileImageCache::changeSize(QSize size) {
    dropPictures();
    size_ = size;
}

QImage TileImageCache::picture(MapDrawSource& source, std::uint16_t id, QSize size) {
    follow(source);
    resize(size);
    return bits_[id] ? images_[id] : load(source, id);
}

const QImage& TileImageCache::load(MapDrawSource& source, std::uint16_t id) {
    if (const auto known = failures_.find(id); known != failures_.end())
        return failed(id, known->second);
    // A cell starts out white; a tile with neither texture nor art turns it
    // black, the placeholders 7 and 8 leave it as it is.
    TileImage image;
    std::optional<std::string> failure;
    try {
        if (!source.loadTextureImage(id, image) && !source.loadLandArtImage(id, image))
            image = TileImage(1, 1, 0);
    } catch (const Error& error) {
        failure = failureText(id, error);
    }
    // The loaders pass the readiness test, which may have reopened the client
    // files: what was kept from the old ones goes.
    follow(source);
    if (failure) {
        failures_.emplace(id, *failure);
        return failed(id, *failure);
    }

    QImage stretched = image.isEmpty() ? plain(white_, Qt::white) : stretchTileImage(image, size_);
    if (bytes_ + bytesOf(stretched) > ByteBudget)
        dropPictures(); // keeps the size
    bytes_ += bytesOf(stretched);
    ++count_;
    images_[id] = std::move(stretched);
    bits_[id] = bitsOf(images_[id]);
    return images_[id];
}

const QImage& TileImageCache::failed(std::uint16_t id, const std::string& message) {
    // Left out of bits_, so that every lookup of the tile comes here and is
    // noted; a handful of such cells costs nothing.
    if (!met_)
        met_ = TileFailure{id, message};
    return plain(black_, Qt::black);
}

const QImage& TileImageCache::plain(QImage& image, Qt::GlobalColor colour) {
    if (image.isNull()) {
        image = QImage(size_, QImage::Format_RGB32);
        image.fill(colour);
    }
    return image;
}

const std::uint32_t* TileImageCache::whitePixels(QSize size) {
    resize(size);
    return bitsOf(plain(white_, Qt::white));
}

std::optional<TileFailure> TileImageCache::takeFailure() {
    std::optional<TileFailure> failure = std::move(met_);
    met_.reset();
    return failure;
}

} // namespace stonereach
