#pragma once

#include <initializer_list>

#include <QString>
#include <QWidget>

#include "gui/app/ErrorBoundary.h"
#include "gui/app/QtConversions.h"
#include "gui/app/WindowDialogs.h"

#include <QList>

class QBoxLayout;
class QPushButton;
class QAbstractButton;

namespace stonereach {

struct ListButtons;

// A dialog's OK and Cancel buttons in a row of their own, at its right: OK
// ("&OK") is the default button, so Enter presses it; Escape cancels as in
// every dialog. The caller connects them.
struct OkCancelRow {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QBoxLayout* row = nullptr;
};
OkCancelRow okCancelRow(QWidget* dialog, const QString& okName, const QString& cancelName,
                        const QString& cancelCaption = QStringLiteral("Cancel"));

// Enables a list's Edit, Delete, Up and Down buttons as its selection allows.
void enableListButtons(const ListButtons& allowed, QAbstractButton* edit, QAbstractButton* remove,
                       QAbstractButton* up, QAbstractButton* down);

// The controls inside `container` that Tab stops at, in the order their
// layouts place them (a row from left to right, a column from top to bottom).
QList<QWidget*> tabStopsInLayoutOrder(QWidget* container);

// Sets the keyboard's Tab order: each control in turn.
inline void chainTabOrder(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

} // namespace stonereach
