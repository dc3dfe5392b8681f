#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include <QString>
#include <QWidget>

#include "gui/app/ErrorBoundary.h"
#include "gui/app/WindowDialogs.h"
#include "mapdata/Errors.h"

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

// The editor's own files (coordinates, brushes, tile lists, groups) hold
// 8-bit text, read as Latin-1: how their texts become Qt's and back.
inline QString fromFileText(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string toFileText(const QString& text) { return text.toLatin1().toStdString(); }

// The path a file dialog chose.
inline std::filesystem::path chosenPath(const QString& text) { return std::filesystem::path(text.toStdU16String()); }

// Sets the keyboard's Tab order: each control in turn.
inline void chainTabOrder(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

// Runs a step whose refusal ("Empty file!", a brush name that cannot be a
// file name) is the program's own word: it is shown as a plain message and
// the step ends; any other error goes on to the window's error boundary.
// Returns false when the step was refused.
template <typename Step>
bool runRefusable(WindowDialogs& dialogs, QWidget* parent, Step&& step) {
    try {
        std::forward<Step>(step)();
        return true;
    } catch (const Refusal& refusal) {
        dialogs.showMessage(parent, errorText(refusal));
        return false;
    }
}

} // namespace stonereach
