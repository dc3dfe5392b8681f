#include "maptools/OverviewPicture.h"

#include <algorithm>
#include <future>
#include <memory>
#include <string>

#include "mapdata/BufferedFileIO.h"
#include "mapdata/Errors.h"
#include "mapdata/MapFile.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapLayout.h"
#include "mapdata/MemoryPopulation.h"
#include "mapdata/IoBuffer.h"

namespace stonereach {

namespace {

// The sampled cell (1, 1) of a block lies 31 bytes into the block.
constexpr std::size_t kSampleOffset = cellOffsetInBlock(1, 1);
static_assert(kSampleOffset == 31);
static_assert(sizeof(Rgb8) == 3, "a picture's pixels are packed RGB bytes");

// Draws the pixels of block columns [first, last). The file is read several
// block columns at a time and the pixels go out row by row across them: the
// file holds columns, the picture rows, and a row of a few neighbouring
// pixels is written where one pixel a row would touch a line of memory each.
void drawColumns(const MapFile& file, const MapGeometry& geometry, const RadarColours& radar, int first, int last,
                 const OverviewRows& rows) {
    const std::size_t columnBytes = static_cast<std::size_t>(geometry.blockHeight) * MapLayout::BlockSize;
    const int perRead = static_cast<int>(std::max<std::size_t>(1, WholeFileChunkBytes / columnBytes));
    // Left uninitialised: every byte used is read from the file first.
    const IoBuffer buffer = makeIoBuffer(columnBytes * static_cast<std::size_t>(perRead));
    for (int bx = first; bx < last; bx += perRead) {
        const int columns = std::min(perRead, last - bx);
        file.readAt(blockOffset(bx, 0, geometry.blockHeight), {buffer.get(), columnBytes * static_cast<std::size_t>(columns)});
        std::uint8_t* row = rows.bytes.data() + rows.firstPixel + 3 * static_cast<std::size_t>(bx);
        for (int by = 0; by < geometry.blockHeight; ++by, row += rows.rowStride) {
            const std::uint8_t* sample = &buffer[static_cast<std::size_t>(by) * MapLayout::BlockSize + kSampleOffset];
            for (int c = 0; c < columns; ++c, sample += columnBytes) {
                const Rgb8 colour = overviewColour(radar, le::u16(sample));
                row[3 * c] = colour.r;
                row[3 * c + 1] = colour.g;
                row[3 * c + 2] = colour.b;
            }
        }
    }
}

} // namespace

void drawOverview(const std::filesystem::path& map, const MapGeometry& geometry, const RadarColours& radar,
                  const OverviewRows& rows) {
    const int width = geometry.blocksAcross();
    const int height = geometry.blockHeight;
    if (width <= 0 || height <= 0 || rows.rowStride < 3 * static_cast<std::size_t>(width) ||
        rows.bytes.size() < rows.firstPixel + static_cast<std::size_t>(height - 1) * rows.rowStride +
                                3 * static_cast<std::size_t>(width))
        throw RangeError("The overview of " + std::to_string(width) + " x " + std::to_string(height) +
                         " pixels does not fit the picture it is drawn into");

    const MapFile file(map, File::Mode::Read);
    // Nearly all the time goes to copying the file out of the system's cache;
    // two threads, each reading half of the block columns, take a good part
    // off that. Should the first half fail, the future still waits for the
    // second before the rows go out of scope.
    const int middle = width / 2;
    auto secondHalf = std::async(std::launch::async, [&] { drawColumns(file, geometry, radar, middle, width, rows); });
    drawColumns(file, geometry, radar, 0, middle, rows);
    secondHalf.get();
}

OverviewPicture buildOverview(const std::filesystem::path& map, const MapGeometry& geometry,
                              const RadarColours& radar) {
    OverviewPicture picture;
    picture.width = geometry.blocksAcross();
    picture.height = geometry.blockHeight;
    const std::size_t pixels = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    picture.pixels.resize(pixels);
    const std::span<std::uint8_t> bytes(reinterpret_cast<std::uint8_t*>(picture.pixels.data()), pixels * sizeof(Rgb8));
    drawOverview(map, geometry, radar, {bytes, 0, static_cast<std::size_t>(picture.width) * sizeof(Rgb8)});
    return picture;
}

} // namespace stonereach
