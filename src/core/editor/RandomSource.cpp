#include "editor/RandomSource.h"

#include <chrono>

namespace stonereach {

RandomSource RandomSource::seededFromClock() {
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    return RandomSource(static_cast<std::uint64_t>(now));
}

std::int64_t RandomSource::below(std::int64_t n) {
    if (n <= 1) {
        engine_();  // a draw is made all the same, so the sequence does not depend on n
        return 0;
    }
    std::uniform_int_distribution<std::int64_t> distribution(0, n - 1);
    return distribution(engine_);
}

std::int64_t RandomSource::range(std::int64_t from, std::int64_t to) {
    if (from > to)
        return below(from - to) + to;
    return below(to - from) + from;
}

} // namespace stonereach
