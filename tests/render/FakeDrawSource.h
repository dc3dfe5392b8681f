#pragma once

#include <cstdint>
#include <map>
#include <set>

#include "mapdata/Errors.h"
#include "mapdata/MapFile.h"
#include "render/MapDrawSource.h"
#include "support/TempDir.h"

namespace stonereach::test {

// A small map file of 64 x 64 cells in a temporary folder, with tile
// pictures held in memory.
class FakeDrawSource : public MapDrawSource {
public:
    static constexpr MapGeometry Geometry{64, 64, 8};

    FakeDrawSource() {
        writeBytes(dir.path() / "map0.mul", std::vector<std::uint8_t>(8 * 8 * MapLayout::BlockSize, 0));
        map = MapFile(dir.path() / "map0.mul", File::Mode::ReadWrite);
    }

    bool dataFilesReady() override { return ready; }
    const MapFile& mapFile() override { return map; }
    std::optional<MapGeometry> mapGeometry() const override { return geometry; }
    bool loadTextureImage(std::uint16_t id, TileImage& image) override {
        ++loads;
        if (unreadable.contains(id))
            throw IoError((dir.path() / "texidx.mul").string(), "Cannot read 12 bytes at offset " +
                                                                    std::to_string(12 * id) + ": the file ends before that");
        auto it = textures.find(id);
        if (it == textures.end())
            return false;
        image = it->second;
        return true;
    }
    bool loadLandArtImage(std::uint16_t id, TileImage& image) override {
        if (id == 7 || id == 8)
            return true;
        auto it = art.find(id);
        if (it == art.end())
            return false;
        image = it->second;
        return true;
    }

    std::uint64_t tileImagesGeneration() const override { return generation; }

    void set(int x, int y, std::uint16_t tile, int z) {
        map.writeCell(x, y, MapCell{tile, static_cast<std::int8_t>(z)}, Geometry);
    }

    TempDir dir;
    MapFile map;
    std::optional<MapGeometry> geometry = Geometry;
    bool ready = true;
    int loads = 0;
    std::uint64_t generation = 0;
    std::map<std::uint16_t, TileImage> textures;
    std::map<std::uint16_t, TileImage> art;
    std::set<std::uint16_t> unreadable; // their texture index cannot be read
};

} // namespace stonereach::test
