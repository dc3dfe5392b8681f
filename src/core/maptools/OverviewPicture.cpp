#include "maptools/OverviewPicture.h"

#include <algorithm>
#include <future>
#include <span>
#include <vector>

#include "mapdata/File.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapLayout.h"
#include "mapdata/MemoryPopulation.h"

namespace stonereach {

namespace {

// The sampled cell (1, 1) of a block lies 31 bytes into the block.
constexpr std::size_t kSampleOffset = cellOffsetInBlock(1, 1);
static_assert(kSampleOffset == 31);

// Reads of a couple of hundred kilobytes land in a buffer that stays in the
// processor's cache, which copies out of the system's file cache fastest.
constexpr std::size_t kReadBytes = std::size_t{256} << 10;

// Fills the pixels of block columns [first, last).
void readColumns(const File& file, const MapGeometry& geometry, const RadarColours& radar, int first, int last,
                 OverviewPicture& picture) {
    const std::size_t columnBytes = static_cast<std::size_t>(geometry.blockHeight) * MapLayout::BlockSize;
    const int perRead = static_cast<int>(std::max<std::size_t>(1, kReadBytes / columnBytes));
    std::vector<std::uint8_t> buffer(columnBytes * static_cast<std::size_t>(perRead));
    const auto width = static_cast<std::size_t>(picture.width);
    for (int bx = first; bx < last; bx += perRead) {
        const int columns = std::min(perRead, last - bx);
        const std::span<std::uint8_t> chunk(buffer.data(), columnBytes * static_cast<std::size_t>(columns));
        file.readAt(blockOffset(bx, 0, geometry.blockHeight), chunk);
        for (int c = 0; c < columns; ++c) {
            const std::uint8_t* sample = &chunk[static_cast<std::size_t>(c) * columnBytes + kSampleOffset];
            Rgb8* pixel = &picture.pixels[static_cast<std::size_t>(bx + c)];
            for (int by = 0; by < geometry.blockHeight; ++by, sample += MapLayout::BlockSize, pixel += width)
                *pixel = overviewColour(radar, le::u16(sample));
        }
    }
}

} // namespace

std::optional<MapGeometry> overviewGeometryFor(std::string_view sizeText) {
    for (const auto& v : mapVariants())
        if (v.sizeText == sizeText)
            return MapGeometry::of(v);
    return std::nullopt;
}

Rgb8 overviewColour(const RadarColours& radar, std::uint16_t tile) {
    return tile < RadarColours::Entries ? radar.rgb(tile) : Rgb8{};
}

OverviewPicture buildOverview(const std::filesystem::path& map, const MapGeometry& geometry,
                              const RadarColours& radar) {
    OverviewPicture picture;
    picture.width = geometry.blocksAcross();
    picture.height = geometry.blockHeight;
    const std::size_t pixels = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    reservePopulated(picture.pixels, pixels);
    picture.pixels.resize(pixels);

    const File file(map, File::Mode::Read);
    // Nearly all the time goes to copying the file out of the system's cache;
    // two threads, each reading half of the block columns, take a good part
    // off that. Should the first half fail, the future still waits for the
    // second before the picture goes out of scope.
    const int middle = picture.width / 2;
    auto secondHalf = std::async(std::launch::async,
                                 [&] { readColumns(file, geometry, radar, middle, picture.width, picture); });
    readColumns(file, geometry, radar, 0, middle, picture);
    secondHalf.get();
    return picture;
}

} // namespace stonereach
