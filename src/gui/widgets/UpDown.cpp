#include "gui/widgets/UpDown.h"

#include <algorithm>

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace stonereach {

namespace {

QToolButton* arrowButton(Qt::ArrowType arrow, const QString& hint) {
    auto* button = new QToolButton;
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(16, 11);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    return button;
}

} // namespace

UpDown::UpDown(int minimum, int maximum, int position, QWidget* parent)
    : QWidget(parent), minimum_(minimum), maximum_(maximum), position_(std::clamp(position, minimum, maximum)) {
    setFocusPolicy(Qt::StrongFocus);
    up_ = arrowButton(Qt::UpArrow, QStringLiteral("Up"));
    down_ = arrowButton(Qt::DownArrow, QStringLiteral("Down"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, [this] { step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
}

void UpDown::setPosition(int position) { position_ = std::clamp(position, minimum_, maximum_); }

void UpDown::step(int delta) {
    const int next = std::clamp(position_ + delta, minimum_, maximum_);
    if (next == position_)
        return;
    position_ = next;
    emit clicked(position_);
}

void UpDown::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up)
        step(1);
    else if (event->key() == Qt::Key_Down)
        step(-1);
    else
        QWidget::keyPressEvent(event);
}

} // namespace stonereach
