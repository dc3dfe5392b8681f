#pragma once

#include <QImage>
#include <QWidget>

namespace stonereach {

// The overview picture, one pixel per map block, drawn at its own size. A
// press of any mouse button on a pixel reports that pixel. For the keyboard,
// the arrow keys move a marked pixel (ten pixels at a time with Shift) and
// Enter or Space reports it.
class OverviewCanvas : public QWidget {
    Q_OBJECT
public:
    explicit OverviewCanvas(QWidget* parent = nullptr);

    // The picture; the canvas takes its size.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    void setPictureSize(QSize size);

    // The pixel the keyboard marks.
    QPoint marked() const { return marked_; }

    QSize sizeHint() const override;

signals:
    void pixelPressed(int px, int py);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage picture_;
    QSize size_;
    QPoint marked_;
    bool markShown_ = false;
};

} // namespace stonereach
