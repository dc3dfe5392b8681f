#include "render/TileQImage.h"

namespace stonereach {

QImage toQImage(const TileImage& image) {
    if (image.isEmpty())
        return {};
    QImage result(image.width, image.height, QImage::Format_RGB555);
    for (int y = 0; y < image.height; ++y) {
        auto* line = reinterpret_cast<std::uint16_t*>(result.scanLine(y));
        for (int x = 0; x < image.width; ++x)
            line[x] = static_cast<std::uint16_t>(image.at(x, y) & 0x7FFF);
    }
    return result;
}

} // namespace stonereach
