#pragma once

#include <exception>
#include <functional>
#include <utility>

#include <QApplication>
#include <QString>

#include "gui/app/WindowDialogs.h"
#include "mapdata/Errors.h"

namespace stonereach {

// The program's title: the main window's caption and the title of its
// message boxes.
inline QString applicationTitle() { return QStringLiteral("Brannock Stonereach"); }

// Where an error that ends a handler is shown. The window passes its dialogs;
// the application's safety net uses a plain message box.
using ErrorSink = std::function<void(const QString& message)>;

// The text a user sees for an exception that ended a handler.
QString errorText(const std::exception& error);

// Runs one event handler. An error it raises ends the handler, is shown
// through `sink`, and the program carries on; state changed before the
// failure stays as it is.
template <typename Handler>
void runGuarded(const ErrorSink& sink, Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        sink(errorText(error));
    }
}

// Runs a step whose refusal ("Unknown map!", "Empty file!", a brush name that
// cannot be a file name) is the program's own word: it is shown as a plain
// message, exactly as it stands, and the step ends; any other error goes on
// to the error boundary. Returns false when the step was refused.
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

// The application object of the editor. Its notify() is the safety net for
// handlers that are not run through runGuarded: an exception that would
// otherwise leave the event loop is shown in a message box instead.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Replaces the message box of the safety net (tests record instead).
    void setErrorSink(ErrorSink sink) { sink_ = std::move(sink); }

private:
    ErrorSink sink_;
};

// The message box used for an error at the boundary, titled with the
// application's name and parented to the active window.
void showErrorMessageBox(const QString& message);

} // namespace stonereach
