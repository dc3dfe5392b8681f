#include "gui/widgets/TilePictures.h"

#include <QPainter>
#include <QPen>

#include "render/MapDrawSource.h"

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
    if (source_.tileImagesGeneration() != generation_) {
        generation_ = source_.tileImagesGeneration();
        cache_.clear();
    }
    // Without readable data files every tile is black, as a tile without a
    // picture is.
    const std::uint32_t* pixels = nullptr;
    if (tile >= 0 && tile <= 0xFFFF && source_.dataFilesReady())
        pixels = cache_.pixels(source_, static_cast<std::uint16_t>(tile), rect.size());
    if (!pixels) {
        painter.fillRect(rect, Qt::black);
        return;
    }
    const QImage picture(reinterpret_cast<const uchar*>(pixels), rect.width(), rect.height(), QImage::Format_RGB32);
    painter.drawImage(rect.topLeft(), picture);
}

QImage TilePictures::picture(int tile, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    draw(painter, tile, QRect(QPoint(0, 0), size));
    return image;
}

} // namespace stonereach
