#include "mapdata/MapFile.h"

#include <cstdio>

#include "mapdata/Errors.h"

namespace stonereach {

namespace {

// The refusals are formatted into one buffer and handed back whole, so a
// refusal costs one allocation for its text rather than one per piece, and
// the function that throws holds nothing to destroy while the exception
// leaves it. Editors and the fuzz programs probe many cells outside the map.
RangeError cellOutsideMap(int x, int y, const MapGeometry& geometry) {
    char text[128];
    std::snprintf(text, sizeof text, "Cell (%d, %d) lies outside the map (%d x %d cells)", x, y, geometry.width,
                  geometry.height);
    return RangeError(text);
}

RangeError blocksOutsideMap(int bx, int by, int count) {
    char text[96];
    std::snprintf(text, sizeof text, "Blocks %d, %d (+%d) lie outside the map", bx, by, count);
    return RangeError(text);
}

void requireBlocksInMap(int bx, int by, int count, const MapGeometry& geometry) {
    // count > height - by rather than by + count > height: a row near the
    // largest int must be refused, not overflow.
    if (bx < 0 || by < 0 || count < 0 || bx >= geometry.blocksAcross() || count > geometry.blockHeight - by)
        throw blocksOutsideMap(bx, by, count);
}

} // namespace

void requireCellInMap(int x, int y, const MapGeometry& geometry) {
    if (!geometry.contains(x, y))
        throw cellOutsideMap(x, y, geometry);
}

MapFile::MapFile(const std::filesystem::path& path, File::Mode mode, std::optional<int> facet) : file_(path, mode) {
    if (!isContainerFileName(path))
        return;
    OpenedMapContainer opened = openMapContainer(file_, MapEntryNames::of(path, facet));
    extents_ = std::move(opened.extents);
    container_ = opened.info;
}

MapCell MapFile::readCell(int x, int y, const MapGeometry& geometry) const {
    requireCellInMap(x, y, geometry);
    MapCellBytes bytes{};
    readAt(cellOffset(x, y, geometry.blockHeight), bytes);
    return decodeCell(bytes.data());
}

void MapFile::writeCell(int x, int y, MapCell cell, const MapGeometry& geometry) {
    requireCellInMap(x, y, geometry);
    MapCellBytes bytes{};
    encodeCell(bytes.data(), cell);
    writeAt(cellOffset(x, y, geometry.blockHeight), bytes);
}

MapBlockBytes MapFile::readBlock(int bx, int by, const MapGeometry& geometry) const {
    requireBlocksInMap(bx, by, 1, geometry);
    MapBlockBytes block{};
    readAt(blockOffset(bx, by, geometry.blockHeight), block);
    return block;
}

void MapFile::readBlockRun(int bx, int by, int count, const MapGeometry& geometry,
                           std::span<MapBlockBytes> out) const {
    requireBlocksInMap(bx, by, count, geometry);
    if (out.size() < static_cast<std::size_t>(count))
        throw RangeError("Block buffer is smaller than the blocks asked for");
    if (count == 0)
        return;
    const std::span<std::uint8_t> bytes(out.front().data(), static_cast<std::size_t>(count) * MapLayout::BlockSize);
    readAt(blockOffset(bx, by, geometry.blockHeight), bytes);
}

} // namespace stonereach
