#pragma once

#include <QLineEdit>
#include <QString>
#include <QWidget>

#include "gui/app/QtConversions.h"
#include "gui/app/WindowDialogs.h"
#include "mapdata/Errors.h"
#include "mapdata/IntegerText.h"

namespace stonereach {

// A value the user entered is checked before it is kept, so a file never
// takes a value that fails only when it is used. `problem` names the field
// ("X: 'abc' is not a valid integer value"), or is empty when the value can
// be used. With a problem the message is shown, the keyboard goes to `field`
// with its text selected, and false is returned.
inline bool acceptEntered(WindowDialogs& dialogs, QWidget* parent, const QString& problem, QWidget* field) {
    if (problem.isEmpty())
        return true;
    dialogs.showMessage(parent, problem);
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
    return false;
}

// The problem of a field that must hold an integer (decimal, or "$" and
// hexadecimal digits): "X: 'abc' is not a valid integer value", or empty.
inline QString integerFieldProblem(const QString& field, const QString& text) {
    try {
        parseInteger(toFileText(text));
    } catch (const ConversionError& e) {
        return field + QStringLiteral(": ") + qText(e.what());
    }
    return {};
}

} // namespace stonereach
