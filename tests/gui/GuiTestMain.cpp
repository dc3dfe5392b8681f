// The window tests' program. The editor's own application object is made
// before any test runs, so every test meets the application the editor runs
// with, the safety net for errors included, whatever order the tests run in.
#include <gtest/gtest.h>

#include "gui/app/ErrorBoundary.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    stonereach::GuardedApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
