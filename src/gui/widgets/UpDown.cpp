#include "gui/widgets/UpDown.h"

#include <algorithm>

#include <QKeyEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace stonereach {

namespace {

constexpr int kFocusMargin = 2;

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
    // Room around the arrows for the focus mark.
    layout->setContentsMargins(kFocusMargin, kFocusMargin, kFocusMargin, kFocusMargin);
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

void UpDown::setBuddy(QWidget* buddy) {
    buddy->installEventFilter(this);
    setFocusPolicy(Qt::NoFocus);
    layout()->setContentsMargins(0, 0, 0, 0);
}

bool UpDown::stepByKey(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (event.key()) {
    case Qt::Key_Up: step(1); return true;
    case Qt::Key_Down: step(-1); return true;
    case Qt::Key_PageUp: step(PageStep); return true;
    case Qt::Key_PageDown: step(-PageStep); return true;
    default: return false;
    }
}

void UpDown::keyPressEvent(QKeyEvent* event) {
    if (!stepByKey(*event))
        QWidget::keyPressEvent(event);
}

void UpDown::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // Without a buddy the control itself takes the focus; the mark shows it.
    if (hasFocus()) {
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Highlight), kFocusMargin));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

void UpDown::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void UpDown::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isEnabled() && stepByKey(*static_cast<QKeyEvent*>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

} // namespace stonereach
