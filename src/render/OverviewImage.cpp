#include "render/OverviewImage.h"

namespace stonereach {

QImage toQImage(const OverviewPicture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB888);
    for (int by = 0; by < picture.height; ++by) {
        auto* line = image.scanLine(by);
        for (int bx = 0; bx < picture.width; ++bx) {
            const Rgb8 c = picture.at(bx, by);
            line[3 * bx] = c.r;
            line[3 * bx + 1] = c.g;
            line[3 * bx + 2] = c.b;
        }
    }
    return image;
}

} // namespace stonereach
