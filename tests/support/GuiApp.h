#pragma once

#include <QApplication>

namespace stonereach::test {

// The one QApplication of a GUI test program, made on first use. Test files
// that need widgets call this in their fixtures; an application made
// elsewhere first is reused.
inline QApplication& guiApp() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *existing;
    static int argc = 1;
    static char name[] = "gui_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down after main() has returned crashes in
    // the platform plugin, and the process ends right after anyway.
    static auto* app = new QApplication(argc, argv);
    return *app;
}

} // namespace stonereach::test
