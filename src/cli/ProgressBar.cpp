#include "cli/ProgressBar.h"

#include <cstdio>
#include <string>

#include <unistd.h>

namespace stonereach::cli {

namespace {
constexpr int BarWidth = 30;
}

ProgressBar::ProgressBar(bool quiet) : enabled_(!quiet && isatty(STDERR_FILENO) == 1) {}

ProgressBar::~ProgressBar() {
    if (drawn_)
        std::fputc('\n', stderr);
}

ProgressCallback ProgressBar::callback() {
    if (!enabled_)
        return {};
    return [this](const ProgressReport& report) { draw(report); };
}

void ProgressBar::draw(const ProgressReport& report) {
    const std::int64_t maximum = report.maximum > 0 ? report.maximum : 1;
    std::int64_t position = report.position < 0 ? 0 : report.position;
    if (position > maximum)
        position = maximum;
    const int percent = static_cast<int>(position * 100 / maximum);
    // Redrawing only on visible change keeps the terminal cheap for engines
    // that report thousands of steps.
    if (percent == lastPercent_ && report.text == lastText_)
        return;
    lastPercent_ = percent;
    lastText_ = std::string(report.text);
    const int filled = percent * BarWidth / 100;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(BarWidth - filled), ' ');
    std::fprintf(stderr, "\r\033[K%s [%s] %3d%%", lastText_.c_str(), bar.c_str(), percent);
    std::fflush(stderr);
    drawn_ = true;
}

void addQuietFlag(CLI::App* command, bool& quiet) {
    command->add_flag("-q,--quiet", quiet, "Draw no progress bar");
}

} // namespace stonereach::cli
