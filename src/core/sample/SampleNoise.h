#pragma once

#include <cstdint>

namespace stonereach::sample {

// Deterministic hashing and noise for the sample world. Everything is built
// from integer mixing so a seed gives the same bytes on every platform and
// standard library (std:: distributions are not portable in their output).

// A well-mixed 64-bit value of the inputs (splitmix64 finaliser over them).
std::uint64_t hash64(std::uint64_t seed, std::int64_t a, std::int64_t b = 0, std::int64_t c = 0);

// A value in [0, 1) from the hash.
inline double unitHash(std::uint64_t seed, std::int64_t a, std::int64_t b = 0, std::int64_t c = 0) {
    return static_cast<double>(hash64(seed, a, b, c) >> 11) * (1.0 / 9007199254740992.0);
}

// An integer in [low, high] from the hash.
inline int rangeHash(std::uint64_t seed, int low, int high, std::int64_t a, std::int64_t b = 0, std::int64_t c = 0) {
    const auto span = static_cast<std::uint64_t>(high - low + 1);
    return low + static_cast<int>(hash64(seed, a, b, c) % span);
}

// A small sequential generator for places where values are drawn in order.
class SampleRandom {
public:
    explicit SampleRandom(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    int range(int low, int high) { return low + static_cast<int>(next() % static_cast<std::uint64_t>(high - low + 1)); }
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

private:
    std::uint64_t state_;
};

// Smoothly interpolated lattice noise in [0, 1]. With a period the lattice
// wraps, so a square of that side tiles seamlessly.
class ValueNoise {
public:
    ValueNoise(std::uint64_t seed, double wavelength, int period = 0)
        : seed_(seed), scale_(1.0 / wavelength), period_(period) {}
    double at(double x, double y) const;

private:
    double lattice(std::int64_t ix, std::int64_t iy) const;
    std::uint64_t seed_;
    double scale_;
    int period_;  // in lattice steps; 0 for none
};

// Sum of `octaves` value noises, each half the wavelength and half the weight
// of the one before, scaled back into [0, 1].
double fractalNoise(std::uint64_t seed, double x, double y, double wavelength, int octaves, int periodCells = 0);

} // namespace stonereach::sample
