#pragma once

#include <filesystem>
#include <utility>

#include <QWidget>

#include "gui/app/ErrorBoundary.h"
#include "gui/app/WindowDialogs.h"
#include "mapdata/Errors.h"

namespace stonereach {

// The path a file dialog or a path edit names, for the core.
inline std::filesystem::path pathOf(const QString& text) { return std::filesystem::path(text.toStdU16String()); }

// Said when a tool needs the geometry of the open map and its file name and
// size match no known map.
inline QString mapNotRecognisedText() {
    return QStringLiteral("The map is not recognised: its file name and size match no known map.");
}

// Runs a handler of a tool window through the error boundary. The program's
// own refusals ("Unknown map!", "File is empty or corupted!", ...) are shown
// as plain messages, exactly as they stand; every other error as an error.
template <typename Handler>
void runToolHandler(WindowDialogs& dialogs, QWidget* parent, Handler&& handler) {
    runGuarded([&](const QString& message) { dialogs.showError(parent, message); },
               [&] {
                   try {
                       std::forward<Handler>(handler)();
                   } catch (const Refusal& refusal) {
                       dialogs.showMessage(parent, errorText(refusal));
                   }
               });
}

} // namespace stonereach
