#pragma once

#include <filesystem>

#include "mapdata/File.h"
#include "mapdata/LandArtFiles.h"
#include "mapdata/MapFile.h"
#include "render/MapDrawSource.h"

namespace stonereach {

// A map file (a .mul or a container) and the client picture files (the
// textures, and the land art as artidx.mul with art.mul or as
// artLegacyMUL.uop), opened by path for reading; the map's geometry follows
// from its variant. Used where there is no editor window: the command-line
// tool and benchmarks.
class ClientFilesDrawSource : public MapDrawSource {
public:
    // Throws IoError naming the first file that cannot be opened.
    ClientFilesDrawSource(const std::filesystem::path& mapPath, const std::filesystem::path& clientDir);

    bool dataFilesReady() override { return true; }
    const MapFile& mapFile() override { return map_; }
    std::optional<MapGeometry> mapGeometry() const override { return geometry_; }
    bool loadTextureImage(std::uint16_t id, TileImage& image) override;
    bool loadLandArtImage(std::uint16_t id, TileImage& image) override;
    std::optional<std::string> takePictureNotice() override { return art_.takeNotice(); }

private:
    MapFile map_;
    std::optional<MapGeometry> geometry_;
    File texIdx_;
    File texMaps_;
    LandArtFiles art_;
};

} // namespace stonereach
