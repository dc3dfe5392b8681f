#pragma once

#include <filesystem>
#include <optional>
#include <span>

#include "mapdata/ByteSource.h"
#include "mapdata/File.h"
#include "mapdata/MapBytes.h"
#include "mapdata/MapContainer.h"
#include "mapdata/MapLayout.h"
#include "mapdata/MapVariant.h"

namespace stonereach {

// A map file opened by path: a plain .mul, or a UOP container when the name
// ends in ".uop". Either way it is addressed by the offsets of the plain .mul
// form (readAt, writeAt, size, and the cell and block calls); where those
// bytes lie in the file is known only to its MapExtents. Nothing of the map
// is held in memory: every call reads or writes the file, so a change made by
// any other handle is seen by the next read. Cells outside the geometry are
// refused with a RangeError, so no access can land outside the map's blocks.
class MapFile final : public ByteSource {
public:
    MapFile() = default;
    // Opens the map at path. A container's directory is read and its map
    // entries found by the names of its stem, then by those of `facet` (or
    // of the facet its name starts with); ContainerError when it cannot
    // serve as a map.
    MapFile(const std::filesystem::path& path, File::Mode mode, std::optional<int> facet = std::nullopt);

    bool isOpen() const { return file_.isOpen(); }
    const std::filesystem::path& path() const { return file_.path(); }
    // The file itself, to close it or name it. Its bytes are not the plain
    // form when it is a container: map bytes go through the calls below.
    File& file() { return file_; }
    const File& file() const { return file_; }
    void close() { file_.close(); }

    // How a container is made; nothing for a plain .mul.
    const std::optional<MapContainerInfo>& container() const { return container_; }
    const MapExtents& extents() const { return extents_; }

    // The plain form: its length (a .mul's file size; what a container's map
    // entries hold, less the trailing block), and reads and writes at its
    // offsets. See writeMapBytes for what a failed write leaves.
    std::uint64_t size() const override { return plainMapLength(file_, extents_); }
    void readAt(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        readMapBytes(file_, extents_, offset, out);
    }
    std::size_t readUpTo(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        return readMapBytesUpTo(file_, extents_, offset, out);
    }
    std::string sourceName() const override { return file_.path().string(); }
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> data) { writeMapBytes(file_, extents_, offset, data); }
    // Makes the plain form at least `length` bytes long before writing (see
    // reserveMapBytes).
    void reserve(std::uint64_t length) { reserveMapBytes(file_, extents_, length); }

    // Reads exactly the 3 bytes of cell (x, y).
    MapCell readCell(int x, int y, const MapGeometry& geometry) const;
    // Writes exactly the 3 bytes of cell (x, y); the block header and every
    // other cell stay as they are.
    void writeCell(int x, int y, MapCell cell, const MapGeometry& geometry);

    // Reads the whole block at block column bx, block row by.
    MapBlockBytes readBlock(int bx, int by, const MapGeometry& geometry) const;
    // Reads `count` consecutive blocks of block column bx from block row by on
    // (they lie next to each other in the plain form) into out.
    void readBlockRun(int bx, int by, int count, const MapGeometry& geometry, std::span<MapBlockBytes> out) const;

private:
    File file_;
    MapExtents extents_;
    std::optional<MapContainerInfo> container_;
};

// Throws RangeError unless (x, y) lies in the geometry.
void requireCellInMap(int x, int y, const MapGeometry& geometry);

} // namespace stonereach
