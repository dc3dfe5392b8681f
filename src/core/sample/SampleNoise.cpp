#include "sample/SampleNoise.h"

#include <cmath>

namespace stonereach::sample {

namespace {

std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

double smooth(double t) { return t * t * (3.0 - 2.0 * t); }

std::int64_t wrap(std::int64_t i, int period) {
    if (period <= 0)
        return i;
    const std::int64_t m = i % period;
    return m < 0 ? m + period : m;
}

} // namespace

std::uint64_t hash64(std::uint64_t seed, std::int64_t a, std::int64_t b, std::int64_t c) {
    std::uint64_t h = mix(seed + 0x9E3779B97F4A7C15ULL);
    h = mix(h ^ static_cast<std::uint64_t>(a));
    h = mix(h ^ (static_cast<std::uint64_t>(b) * 0xD6E8FEB86659FD93ULL));
    return mix(h ^ (static_cast<std::uint64_t>(c) * 0xA0761D6478BD642FULL));
}

std::uint64_t SampleRandom::next() {
    state_ += 0x9E3779B97F4A7C15ULL;
    return mix(state_);
}

double ValueNoise::lattice(std::int64_t ix, std::int64_t iy) const {
    return unitHash(seed_, wrap(ix, period_), wrap(iy, period_));
}

double ValueNoise::at(double x, double y) const {
    const double fx = x * scale_;
    const double fy = y * scale_;
    const double x0 = std::floor(fx);
    const double y0 = std::floor(fy);
    const auto ix = static_cast<std::int64_t>(x0);
    const auto iy = static_cast<std::int64_t>(y0);
    const double tx = smooth(fx - x0);
    const double ty = smooth(fy - y0);
    const double top = lattice(ix, iy) + (lattice(ix + 1, iy) - lattice(ix, iy)) * tx;
    const double bottom = lattice(ix, iy + 1) + (lattice(ix + 1, iy + 1) - lattice(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
}

double fractalNoise(std::uint64_t seed, double x, double y, double wavelength, int octaves, int periodCells) {
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    for (int o = 0; o < octaves; ++o) {
        const int period = periodCells > 0 ? static_cast<int>(std::lround(periodCells / wavelength)) : 0;
        sum += weight * ValueNoise(hash64(seed, o), wavelength, period).at(x, y);
        total += weight;
        weight *= 0.5;
        wavelength *= 0.5;
        if (wavelength < 1.0)
            break;
    }
    return sum / total;
}

} // namespace stonereach::sample
