#include "render/TileQImage.h"

namespace stonereach {

QImage toQImage(const TileImage& image) {
    if (image.isEmpty())
        return {};
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

QImage stretchTileImage(const TileImage& image, QSize size) {
    const QImage rgb = toQImage(image);
    if (rgb.size() == size)
        return rgb;
    const bool shrinking = size.width() < rgb.width() && size.height() < rgb.height();
    QImage result = rgb.scaled(size, Qt::IgnoreAspectRatio,
                               shrinking ? Qt::SmoothTransformation : Qt::FastTransformation);
    return result.format() == QImage::Format_RGB32 ? result : result.convertToFormat(QImage::Format_RGB32);
}

} // namespace stonereach
