#include "editor/AltitudeRule.h"

#include <algorithm>
#include <utility>

#include "editor/RandomSource.h"
#include "mapdata/Errors.h"
#include "mapdata/IntegerText.h"
#include "mapdata/MapLayout.h"

namespace stonereach {

std::optional<AltitudeMode> altitudeModeAt(int index) {
    if (index < 0 || index > 3)
        return std::nullopt;
    return static_cast<AltitudeMode>(index);
}

std::int8_t clampAltitude(std::int64_t z) {
    return static_cast<std::int8_t>(std::clamp<std::int64_t>(z, kMinAltitude, kMaxAltitude));
}

std::int64_t randomAltitudeOffset(std::int32_t noise, RandomSource& random) {
    const std::int64_t n = noise;
    return random.range(-n, n + 1);
}

// A noise text that does not convert is only an error when a cell is painted
// with random altitude on.
AltitudeRule::AltitudeRule(AltitudeSettings settings)
    : settings_(std::move(settings)), noise_(readInteger(settings_.noiseText)) {}

std::int8_t AltitudeRule::apply(std::int8_t oldZ, RandomSource& random) const {
    const std::int64_t z = settings_.z;
    std::int64_t result = oldZ;
    switch (settings_.mode) {
    case AltitudeMode::Add: result = oldZ + z; break;
    case AltitudeMode::Subtract: result = oldZ - z; break;
    case AltitudeMode::Set: result = z; break;
    case AltitudeMode::OnlyChangeTile: break;
    }
    result = clampAltitude(result);
    if (settings_.addRandom) {
        if (!noise_)
            throw ConversionError(settings_.noiseText);
        result = clampAltitude(result + randomAltitudeOffset(*noise_, random));
    }
    return static_cast<std::int8_t>(result);
}

} // namespace stonereach
