#include "gui/maptools/OverviewCanvas.h"

#include <algorithm>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace stonereach {

OverviewCanvas::OverviewCanvas(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void OverviewCanvas::setPictureSize(QSize size) {
    size_ = size;
    setFixedSize(size);
}

void OverviewCanvas::setPicture(const QImage& picture) {
    picture_ = picture;
    setPictureSize(picture.size());
    marked_ = QPoint(picture.width() / 2, picture.height() / 2);
    update();
}

QSize OverviewCanvas::sizeHint() const { return size_; }

void OverviewCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.drawImage(0, 0, picture_);
    if (markShown_ && hasFocus()) {
        // A cross of inverted pixels around the marked block shows on any
        // ground colour.
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(Qt::white);
        painter.drawLine(marked_.x() - 6, marked_.y(), marked_.x() - 2, marked_.y());
        painter.drawLine(marked_.x() + 2, marked_.y(), marked_.x() + 6, marked_.y());
        painter.drawLine(marked_.x(), marked_.y() - 6, marked_.x(), marked_.y() - 2);
        painter.drawLine(marked_.x(), marked_.y() + 2, marked_.x(), marked_.y() + 6);
    }
}

void OverviewCanvas::mousePressEvent(QMouseEvent* event) {
    const QPoint pixel = event->position().toPoint();
    if (!rect().contains(pixel))
        return;
    emit pixelPressed(pixel.x(), pixel.y());
}

void OverviewCanvas::keyPressEvent(QKeyEvent* event) {
    const int step = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    QPoint move;
    switch (event->key()) {
    case Qt::Key_Left: move = {-step, 0}; break;
    case Qt::Key_Right: move = {step, 0}; break;
    case Qt::Key_Up: move = {0, -step}; break;
    case Qt::Key_Down: move = {0, step}; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        emit pixelPressed(marked_.x(), marked_.y());
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    marked_ = QPoint(std::clamp(marked_.x() + move.x(), 0, std::max(0, width() - 1)),
                     std::clamp(marked_.y() + move.y(), 0, std::max(0, height() - 1)));
    markShown_ = true;
    update();
}

} // namespace stonereach
