#pragma once

#include <array>

#include <QFont>
#include <QImage>
#include <QString>

namespace stonereach {

// The small text labels drawn over map cells, each rendered once as a
// picture: text on an opaque background, as wide as the text and as high as
// a line of the label font. Drawing a cell then only copies pixels, so a cell
// drawn alone and the same cell drawn with its region come out identical.
class CellLabels {
public:
    static constexpr QRgb Navy = 0xFF000080;

    CellLabels();

    // The 8-point window font of the map view (11 pixels, its size at the
    // usual 96 dots per inch, so pictures do not depend on the screen).
    static QFont labelFont();

    // " z " black on `background`, or four blanks when showNumber is off.
    const QImage& altitude(int z, bool showNumber, QRgb background);
    // " i " white on navy.
    const QImage& bookmark(int slot);

    // Offset of the bookmark label from the bottom of its cell.
    static constexpr int BookmarkRise = 15;

private:
    static QImage render(const QString& text, QRgb foreground, QRgb background);

    QFont font_;
    // Labels in white (by z + 128, numbered or blank) and those in an
    // altitude colour, made on first use.
    std::array<QImage, 512> white_;
    std::array<QImage, 512> coloured_;
    std::array<QRgb, 512> colouredBackground_{};
    std::array<QImage, 10> bookmarks_;
};

} // namespace stonereach
