#include "sample/SampleWorld.h"

#include <system_error>

#include "mapdata/Errors.h"
#include "sample/SampleClientFiles.h"
#include "sample/SampleMap.h"

namespace stonereach::sample {

namespace {

using Clock = std::chrono::steady_clock;

std::chrono::milliseconds since(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

// "map4.mul" -> '4': the statics files carry the same number as their map.
char fileNumberOf(const MapVariant& variant) { return variant.fileName[3]; }

} // namespace

const MapVariant* findVariantByName(std::string_view name) {
    for (const MapVariant& v : mapVariants())
        if (v.name == name)
            return &v;
    return nullptr;
}

SampleWorldResult generateSampleWorld(const std::filesystem::path& dir, const SampleWorldOptions& options) {
    SampleWorldResult result;
    result.variant = findVariantByName(options.variantName);
    if (!result.variant)
        throw RangeError("'" + options.variantName + "' is not a known map variant");

    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec)
        throw IoError(dir.string(), "Cannot create the directory: " + ec.message());

    auto start = Clock::now();
    writeSampleClientFiles(dir, options.seed,
                           options.containers ? SampleArtForm::Container : SampleArtForm::MulPair);
    result.clientTime = since(start);

    start = Clock::now();
    const SampleTerrain terrain(MapGeometry::of(*result.variant), options.seed);
    result.mapPath = dir / (options.containers ? std::string("map") + fileNumberOf(*result.variant) + "LegacyMUL.uop"
                                               : std::string(result.variant->fileName));
    writeSampleMap(result.mapPath, terrain, result.variant->sizeBytes, options.seed);
    result.mapTime = since(start);

    start = Clock::now();
    const char number = fileNumberOf(*result.variant);
    result.staticsIndexPath = dir / (std::string("staidx") + number + ".mul");
    result.staticsPath = dir / (std::string("statics") + number + ".mul");
    result.statics = writeSampleStatics(result.staticsIndexPath, result.staticsPath, terrain, options.seed);
    result.staticsTime = since(start);
    return result;
}

} // namespace stonereach::sample
