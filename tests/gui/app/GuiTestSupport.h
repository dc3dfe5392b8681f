#pragma once

#include <stdexcept>

#include <QCoreApplication>

#include "gui/app/ErrorBoundary.h"

namespace stonereach::test {

// The application of the window tests: the editor's own application class,
// made by the test program's main before any test runs.
inline GuardedApplication& editorApp() {
    auto* app = dynamic_cast<GuardedApplication*>(QCoreApplication::instance());
    if (app == nullptr)
        throw std::logic_error("The test program made no GuardedApplication before its tests");
    return *app;
}

} // namespace stonereach::test
