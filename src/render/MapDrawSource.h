#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "mapdata/MapFile.h"
#include "mapdata/TileImage.h"

namespace stonereach {

// What drawing the map reads: the readiness test, the open map file with its
// geometry and the pictures of land tiles. The editor answers it from its
// open data file set, the command-line tool from files opened by path.
class MapDrawSource {
public:
    virtual ~MapDrawSource() = default;

    // True when the map and the client files may be read.
    virtual bool dataFilesReady() = 0;
    // The open map file; only asked for after dataFilesReady() said true.
    virtual const MapFile& mapFile() = 0;
    // The geometry the map file is addressed with; nothing while its layout
    // is unknown, when no cell of it is read.
    virtual std::optional<MapGeometry> mapGeometry() const = 0;
    // The tile's texture: true with image replaced, false with it unchanged.
    virtual bool loadTextureImage(std::uint16_t id, TileImage& image) = 0;
    // The tile's land art: true with image replaced (or, for ids 7 and 8,
    // untouched), false with it unchanged.
    virtual bool loadLandArtImage(std::uint16_t id, TileImage& image) = 0;
    // Changes whenever the pictures may have changed (the client files were
    // reopened), so that cached pictures are dropped.
    virtual std::uint64_t tileImagesGeneration() const { return 0; }
    // Something the user should know about the pictures read so far (a
    // land art entry stored in a form that cannot be read), told once:
    // each call hands it over and forgets it.
    virtual std::optional<std::string> takePictureNotice() { return std::nullopt; }
    // A failure to read the map met while drawing: true when it is to be
    // told, false when it was told already (by the drawing or another reader
    // of the same map).
    virtual bool mapFailureToTell() { return true; }
    // Everything shown was drawn without a failure.
    virtual void mapDrawnWhole() {}
};

} // namespace stonereach
