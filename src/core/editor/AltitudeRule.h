#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace stonereach {

class RandomSource;

// How painting changes a cell's altitude; the values are the item indices of
// the altitude radio group.
enum class AltitudeMode : int {
    Add = 0,             // "Add Z"
    Subtract = 1,        // "Subtr Z"
    Set = 2,             // "Set to Z"
    OnlyChangeTile = 3,  // "Only Change Tile"
};

// The mode at a radio group index, or nothing for an index outside 0..3.
std::optional<AltitudeMode> altitudeModeAt(int index);

// What the altitude controls hold when a cell is painted. Z has been checked
// against -128..127 by the window already; the noise text is kept as typed
// because it is only converted (and can only fail) when a cell is painted.
struct AltitudeSettings {
    AltitudeMode mode = AltitudeMode::OnlyChangeTile;
    int z = 0;
    bool addRandom = false;
    std::string noiseText = "1";
};

// Clamps an altitude to -128..127.
std::int8_t clampAltitude(std::int64_t z);

// The random offset for a noise value N: drawn from -N up to but excluding
// N + 1, so -N..N; a negative N = -k swaps the bounds and gives
// -(k - 1)..k - 1, so -1 and 0 give no offset. One draw is made in every case.
std::int64_t randomAltitudeOffset(std::int32_t noise, RandomSource& random);

// The altitude rule of the painting tools for one set of settings.
class AltitudeRule {
public:
    explicit AltitudeRule(AltitudeSettings settings);

    // The new altitude of a cell whose altitude was oldZ: the mode applied
    // and clamped, then, with random altitude on, the random offset added and
    // clamped again. Throws ConversionError (naming the noise text) when
    // random altitude is on and the noise text is not an integer.
    std::int8_t apply(std::int8_t oldZ, RandomSource& random) const;

    const AltitudeSettings& settings() const { return settings_; }

private:
    AltitudeSettings settings_;
    std::optional<std::int32_t> noise_;  // empty when the noise text does not convert
};

} // namespace stonereach
