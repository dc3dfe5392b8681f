#pragma once

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <QWidget>

namespace stonereach::test {

// The controls of a window that a screen reader would read out without a
// name: every visible button, edit, list and grid whose accessible name is
// empty. Each is named by its objectName (or class when it has none).
inline QStringList controlsWithoutAccessibleName(QWidget& window) {
    QStringList unnamed;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window) || widget->focusPolicy() == Qt::NoFocus)
            continue;
        const bool control = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                             qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractScrollArea*>(widget) ||
                             widget->inherits("stonereach::UpDown");
        if (!control)
            continue;
        // A combo box's own line edit is named by the box.
        if (qobject_cast<QComboBox*>(widget->parentWidget()))
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (accessible == nullptr || accessible->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << (widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                                       : widget->objectName());
    }
    return unnamed;
}

} // namespace stonereach::test
