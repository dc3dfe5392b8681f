#include "editor/AltitudeColour.h"

#include <algorithm>
#include <cstdint>

namespace stonereach {

namespace {

struct AltitudeBand {
    int lowestZ;
    std::uint32_t multiplier;
};

// Bands from the top down; the first whose lowest altitude is reached wins.
constexpr AltitudeBand Bands[] = {
    {101, 0x010001},  // magenta
    {51, 0x010101},   // grey
    {0, 0x000100},    // green
    {-49, 0x008080},  // alternates between two colours for odd and even v
    {-99, 0x000200},  // green, twice as steep
    {-127, 0x010101}, // grey
};

} // namespace

Rgb8 altitudeColour(int z) {
    // -128 has no band of its own (v would be -1); it takes the end of the
    // lowest ramp, which is black.
    z = std::clamp(z, -127, 127);
    std::uint32_t multiplier = Bands[std::size(Bands) - 1].multiplier;
    for (const AltitudeBand& band : Bands) {
        if (z >= band.lowestZ) {
            multiplier = band.multiplier;
            break;
        }
    }
    const auto v = static_cast<std::uint32_t>(z + 127);
    const std::uint32_t value = v * multiplier;
    return Rgb8{static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF),
                static_cast<std::uint8_t>((value >> 16) & 0xFF)};
}

} // namespace stonereach
