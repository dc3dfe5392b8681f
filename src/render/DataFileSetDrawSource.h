#pragma once

#include "mapdata/DataFileSet.h"
#include "render/MapDrawSource.h"

namespace stonereach {

// The editor's open data file set as the map view reads it: every access
// passes the set's readiness test, which also reopens changed files.
class DataFileSetDrawSource : public MapDrawSource {
public:
    explicit DataFileSetDrawSource(DataFileSet& files) : files_(files) {}

    bool dataFilesReady() override { return files_.dataFilesReady(); }
    const MapFile& mapFile() override { return files_.mapFile(); }
    bool loadTextureImage(std::uint16_t id, TileImage& image) override { return files_.loadTextureImage(id, image); }
    bool loadLandArtImage(std::uint16_t id, TileImage& image) override { return files_.loadLandArtImage(id, image); }
    std::uint64_t tileImagesGeneration() const override { return files_.clientFilesGeneration(); }

private:
    DataFileSet& files_;
};

} // namespace stonereach
