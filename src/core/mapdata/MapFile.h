#pragma once

#include <filesystem>
#include <span>

#include "mapdata/File.h"
#include "mapdata/MapLayout.h"
#include "mapdata/MapVariant.h"

namespace stonereach {

// A map file opened by path. Nothing of the map is held in memory: every call
// reads or writes the file, so a change made by any other handle is seen by
// the next read. Cells outside the geometry are refused with a RangeError, so
// no access can land outside the map's blocks.
class MapFile {
public:
    MapFile() = default;
    MapFile(const std::filesystem::path& path, File::Mode mode);

    bool isOpen() const { return file_.isOpen(); }
    const std::filesystem::path& path() const { return file_.path(); }
    File& file() { return file_; }
    const File& file() const { return file_; }
    void close() { file_.close(); }

    // Reads exactly the 3 bytes of cell (x, y).
    MapCell readCell(int x, int y, const MapGeometry& geometry) const;
    // Writes exactly the 3 bytes of cell (x, y); the block header and every
    // other cell stay as they are.
    void writeCell(int x, int y, MapCell cell, const MapGeometry& geometry);

    // Writes bytes at an offset of the map's plain form: the cells of one
    // block row, say, when many cells are written at once.
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> data) { file_.writeAt(offset, data); }

    // Reads the whole block at block column bx, block row by.
    MapBlockBytes readBlock(int bx, int by, const MapGeometry& geometry) const;
    // Reads `count` consecutive blocks of block column bx from block row by on
    // (they lie next to each other in the file) into out.
    void readBlockRun(int bx, int by, int count, const MapGeometry& geometry, std::span<MapBlockBytes> out) const;

private:
    File file_;
};

// Throws RangeError unless (x, y) lies in the geometry.
void requireCellInMap(int x, int y, const MapGeometry& geometry);

} // namespace stonereach
