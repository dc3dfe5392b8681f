#include "gui/widgets/TilePictures.h"

#include <QPainter>
#include <QPen>

#include "render/MapDrawSource.h"
#include "mapdata/MapLayout.h"

namespace stonereach {

QImage TilePictures::noDrawPicture(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(255, 0, 0), 3, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPoint(0, 0), QPoint(size.width() - 1, size.height() - 1));
    painter.drawLine(QPoint(size.width() - 1, 0), QPoint(0, size.height() - 1));
    return picture;
}

void TilePictures::drawFrame(QPainter& painter, const QRect& rect) {
    painter.setPen(QColor(255, 0, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
}

void TilePictures::draw(QPainter& painter, int tile, const QRect& rect) {
    if (tile == NoDraw) {
        painter.drawImage(rect.topLeft(), noDrawPicture(rect.size()));
        return;
    }
    // A value that is no tile id has no picture: black, as a tile without
    // one. So is every tile while the data files are not ready.
    if (!isTileId(tile)) {
        painter.fillRect(rect, Qt::black);
        return;
    }
    painter.drawImage(rect.topLeft(), cache_.picture(source_, static_cast<std::uint16_t>(tile), rect.size()));
}

QImage TilePictures::picture(int tile, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    draw(painter, tile, QRect(QPoint(0, 0), size));
    return image;
}

} // namespace stonereach
