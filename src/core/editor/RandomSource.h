#pragma once

#include <cstdint>
#include <random>

namespace stonereach {

// The pseudo-random generator that painting draws from: selection group
// members and random altitude offsets. The program makes one, seeded from the
// clock; tests make one with a fixed seed, so a painted area is reproducible.
class RandomSource {
public:
    explicit RandomSource(std::uint64_t seed) : engine_(seed) {}

    // A generator seeded from the clock, for the program's run.
    static RandomSource seededFromClock();

    // A uniform integer in 0..n-1 (n >= 1); one draw from the generator.
    std::int64_t below(std::int64_t n);

    // A uniform integer from `from` up to but excluding `to`; when from > to
    // the bounds swap (from `to` up to but excluding `from`). Equal bounds
    // give `from`. Computed in 64 bits, so any two 32-bit bounds work.
    std::int64_t range(std::int64_t from, std::int64_t to);

private:
    std::mt19937_64 engine_;
};

} // namespace stonereach
