#pragma once

#include <memory>

#include <CLI/CLI.hpp>

#include "mapdata/Progress.h"

namespace stonereach::cli {

// Draws a one-line progress bar ("stage text [#####     ]  45%") on stderr
// while a command runs, only when stderr is a terminal and the user did not
// ask for quiet. The line is ended when the bar goes out of scope.
class ProgressBar {
public:
    explicit ProgressBar(bool quiet);
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;
    ~ProgressBar();

    // The callback to hand to an engine; empty when nothing is drawn.
    ProgressCallback callback();

private:
    void draw(const ProgressReport& report);

    bool enabled_;
    bool drawn_ = false;
    std::string lastText_;
    int lastPercent_ = -1;
};

// Adds the --quiet flag every long-running command shares.
void addQuietFlag(CLI::App* command, bool& quiet);

} // namespace stonereach::cli
