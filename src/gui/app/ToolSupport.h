#pragma once

#include <filesystem>
#include <string_view>
#include <utility>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "gui/app/EditorLink.h"
#include "gui/app/ErrorBoundary.h"
#include "gui/app/QtConversions.h"
#include "gui/app/WindowDialogs.h"

namespace stonereach {

// Moves a window that is being shown to the middle of the screen.
inline void centreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

// Marks a tool window as running for as long as it lives, also when the run
// ends by an error; the window refuses to close meanwhile.
class RunningFlag {
public:
    explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;
    ~RunningFlag() { flag_ = false; }

private:
    bool& flag_;
};

// Tells the main window, when it goes, that a tool wrote the map file at
// `path` in place, so an open map repaints however the tool ended (cells
// written before a failure stay written).
class MapWrittenWhenDone {
public:
    MapWrittenWhenDone(EditorLink& link, std::filesystem::path path) : link_(link), path_(std::move(path)) {}
    MapWrittenWhenDone(const MapWrittenWhenDone&) = delete;
    MapWrittenWhenDone& operator=(const MapWrittenWhenDone&) = delete;
    ~MapWrittenWhenDone() { link_.mapFileWritten(path_); }

private:
    EditorLink& link_;
    std::filesystem::path path_;
};

// Said when a tool needs the geometry of the open map and its file name and
// size match no known map.
inline QString mapNotRecognisedText() {
    return QStringLiteral("The map is not recognised: its file name and size match no known map.");
}

// Runs a handler of a tool window through the error boundary: the program's
// own refusals are shown as plain messages, every other error as an error.
template <typename Handler>
void runToolHandler(WindowDialogs& dialogs, QWidget* parent, Handler&& handler) {
    runGuarded([&](const QString& message) { dialogs.showError(parent, message); },
               [&] { runRefusable(dialogs, parent, std::forward<Handler>(handler)); });
}

} // namespace stonereach
