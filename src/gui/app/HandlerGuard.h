#pragma once

#include <type_traits>
#include <utility>

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "gui/app/ErrorBoundary.h"
#include "gui/app/WindowDialogs.h"

namespace stonereach {

// The error boundary of one window's handlers: each runs through it, and an
// error it raises is shown in that window's error box while the program
// carries on.
class HandlerGuard {
public:
    HandlerGuard(WindowDialogs& dialogs, QWidget* window) : dialogs_(&dialogs), window_(window) {}

    // Runs one handler.
    template <typename Handler>
    void operator()(Handler&& handler) const {
        runGuarded([this](const QString& message) { dialogs_->showError(window_, message); },
                   std::forward<Handler>(handler));
    }

    // Connects a signal to a handler that runs through the guard; the
    // handler receives the signal's arguments, or none when it takes none.
    template <typename Sender, typename Signal, typename Handler>
    void connect(Sender* sender, Signal signal, QObject* context, Handler handler) const {
        QObject::connect(sender, signal, context, [guard = *this, handler](auto&&... args) {
            guard([&] { callWithOrWithoutArguments(handler, args...); });
        });
    }

    WindowDialogs& dialogs() const { return *dialogs_; }
    QWidget* window() const { return window_; }

private:
    // A function of its own: clang 14 instantiates both branches of an "if
    // constexpr" that stands in a lambda inside a generic lambda.
    template <typename Handler, typename... Args>
    static void callWithOrWithoutArguments(const Handler& handler, Args&... args) {
        if constexpr (std::is_invocable_v<const Handler&, Args&...>)
            handler(args...);
        else
            handler();
    }

    WindowDialogs* dialogs_;
    QPointer<QWidget> window_;
};

} // namespace stonereach
