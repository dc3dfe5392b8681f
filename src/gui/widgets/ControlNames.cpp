#include "gui/widgets/ControlNames.h"

#include <QAbstractButton>
#include <QLabel>

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

} // namespace stonereach
