#pragma once

#include "mapdata/DataFileSet.h"
#include "render/MapDrawSource.h"

namespace stonereach {

// The editor's open data file set as the map view reads it: the set's open
// map, and its tile pictures. Every access passes the set's readiness test,
// which also reopens changed files.
class DataFileSetDrawSource : public MapDrawSource {
public:
    explicit DataFileSetDrawSource(DataFileSet& files) : files_(files) {}

    bool dataFilesReady() override { return files_.dataFilesReady(); }
    const MapFile& mapFile() override { return files_.openMap().file(); }
    std::optional<MapGeometry> mapGeometry() const override { return files_.openMap().geometry(); }
    bool loadTextureImage(std::uint16_t id, TileImage& image) override { return files_.loadTextureImage(id, image); }
    bool loadLandArtImage(std::uint16_t id, TileImage& image) override { return files_.loadLandArtImage(id, image); }
    std::uint64_t tileImagesGeneration() const override { return files_.clientFilesGeneration(); }
    std::optional<std::string> takePictureNotice() override { return files_.takeArtNotice(); }
    bool mapFailureToTell() override { return files_.openMap().failureToTell(); }
    void mapDrawnWhole() override { files_.openMap().forgetFailure(); }

private:
    DataFileSet& files_;
};

} // namespace stonereach
