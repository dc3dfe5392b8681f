#include "render/CellLabels.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>

namespace stonereach {

CellLabels::CellLabels() : font_(labelFont()) {}

QFont CellLabels::labelFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QImage CellLabels::render(const QString& text, QRgb foreground, QRgb background) {
    const QFont font = labelFont();
    const QFontMetrics metrics(font);
    QImage image(std::max(1, metrics.horizontalAdvance(text)), std::max(1, metrics.height()), QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(foreground));
    painter.drawText(0, metrics.ascent(), text);
    return image;
}

const QImage& CellLabels::altitude(int z, bool showNumber, QRgb background) {
    z = std::clamp(z, -128, 127);
    const auto index = std::size_t(z + 128) + (showNumber ? 0 : 256);
    const QString text = showNumber ? QStringLiteral(" %1 ").arg(z) : QStringLiteral("    ");
    if ((background & 0xFFFFFF) == 0xFFFFFF) {
        if (white_[index].isNull())
            white_[index] = render(text, qRgb(0, 0, 0), qRgb(255, 255, 255));
        return white_[index];
    }
    if (coloured_[index].isNull() || colouredBackground_[index] != background) {
        coloured_[index] = render(text, qRgb(0, 0, 0), background);
        colouredBackground_[index] = background;
    }
    return coloured_[index];
}

const QImage& CellLabels::bookmark(int slot) {
    const auto index = std::size_t(std::clamp(slot, 0, 9));
    if (bookmarks_[index].isNull())
        bookmarks_[index] = render(QStringLiteral(" %1 ").arg(slot), qRgb(255, 255, 255), Navy);
    return bookmarks_[index];
}

} // namespace stonereach
