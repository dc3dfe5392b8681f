#pragma once

#include <QApplication>

#include "gui/app/ErrorBoundary.h"

namespace stonereach::test {

// The application of the window tests: the editor's own application class,
// made on first use (an application made elsewhere first is reused). It is
// never destroyed: at exit Qt's own statics may already be gone.
inline QApplication& editorApp() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *existing;
    static int argc = 1;
    static char name[] = "gui_tests";
    static char* argv[] = {name, nullptr};
    static auto* app = new GuardedApplication(argc, argv);
    return *app;
}

} // namespace stonereach::test
