#pragma once

#include <memory>

#include "mapdata/MapFile.h"
#include "mapdata/MapVariant.h"
#include "sample/SampleMap.h"
#include "sample/SampleWorld.h"
#include "support/TempDir.h"

namespace stonereach::bench {

// A sample map of one variant in a temporary folder, opened for the
// benchmark; made once and kept for the whole program.
struct SampleMapFile {
    test::TempDir dir;
    const MapVariant& variant;
    MapGeometry geometry;
    std::unique_ptr<MapFile> map;

    SampleMapFile(const char* variantName, File::Mode mode)
        : variant(*sample::findVariantByName(variantName)), geometry(MapGeometry::of(variant)) {
        sample::writeSampleMap(dir / "map0.mul", variant, 1);
        map = std::make_unique<MapFile>(dir / "map0.mul", mode);
    }
};

} // namespace stonereach::bench
