#include "gui/widgets/ControlNames.h"

#include <QAbstractButton>
#include <QLabel>
#include <QToolButton>

namespace stonereach {

QLabel* buddyLabel(const QString& name, const QString& text, QWidget* control, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setBuddy(control);
    control->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    return label;
}

void setGlyphHint(QAbstractButton* button, const QString& hint) {
    button->setToolTip(hint);
    button->setAccessibleName(hint);
}

QToolButton* glyphButton(const QString& name, const QString& glyph, const QString& hint) {
    auto* button = new QToolButton;
    button->setObjectName(name);
    button->setText(glyph);
    setGlyphHint(button, hint);
    button->setFixedSize(26, 24);
    return button;
}

} // namespace stonereach
