#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace stonereach {

// What a long operation reports after each step: the stage text the user sees
// and the position within 0..maximum.
struct ProgressReport {
    std::string_view text;
    std::int64_t position = 0;
    std::int64_t maximum = 100;
};

// Called by engines between steps. A window updates its progress dialog and
// lets pending events run; the command-line tool draws a bar. May be empty.
using ProgressCallback = std::function<void(const ProgressReport&)>;

inline void report(const ProgressCallback& progress, std::string_view text, std::int64_t position,
                   std::int64_t maximum) {
    if (progress)
        progress(ProgressReport{text, position, maximum});
}

} // namespace stonereach
