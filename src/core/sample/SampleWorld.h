#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include "mapdata/MapVariant.h"
#include "sample/SampleStatics.h"

namespace stonereach::sample {

// What to generate. The same options always give the same bytes.
struct SampleWorldOptions {
    std::string variantName = "Felucca+Trammel";
    std::uint64_t seed = 1;
    // The map and the land art as newer clients ship them: map<N>LegacyMUL.uop
    // and artLegacyMUL.uop instead of map<N>.mul, artidx.mul and art.mul.
    bool containers = false;
};

struct SampleWorldResult {
    const MapVariant* variant = nullptr;
    std::filesystem::path mapPath;
    std::filesystem::path staticsIndexPath;
    std::filesystem::path staticsPath;
    SampleStaticsSummary statics;
    std::chrono::milliseconds clientTime{};
    std::chrono::milliseconds mapTime{};
    std::chrono::milliseconds staticsTime{};
};

// The known variant with exactly this name, or null.
const MapVariant* findVariantByName(std::string_view name);

// Writes a whole sample world into dir (created when missing): the client
// files, the map file named and sized for the variant (or its container, see
// SampleWorldOptions::containers), and the statics files numbered like the
// map (staidx0.mul and statics0.mul beside map0.mul).
// An unknown variant name raises RangeError before anything is written.
SampleWorldResult generateSampleWorld(const std::filesystem::path& dir, const SampleWorldOptions& options);

} // namespace stonereach::sample
