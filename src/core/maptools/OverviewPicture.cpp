#include "maptools/OverviewPicture.h"

#include <algorithm>

#include "mapdata/File.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapLayout.h"

namespace stonereach {

namespace {

// The sampled cell (1, 1) of a block lies 31 bytes into the block.
constexpr std::size_t kSampleOffset = cellOffsetInBlock(1, 1);
static_assert(kSampleOffset == 31);

// Block columns read per request: large reads keep the whole pass close to
// the speed of reading the file, while the buffer stays a few megabytes.
constexpr int kColumnsPerRead = 32;

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
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height));

    const File file(map, File::Mode::Read);
    const std::size_t columnBytes = static_cast<std::size_t>(geometry.blockHeight) * MapLayout::BlockSize;
    std::vector<std::uint8_t> buffer(columnBytes * kColumnsPerRead);
    for (int first = 0; first < picture.width; first += kColumnsPerRead) {
        const int columns = std::min(kColumnsPerRead, picture.width - first);
        const std::span<std::uint8_t> chunk(buffer.data(), columnBytes * static_cast<std::size_t>(columns));
        file.readAt(blockOffset(first, 0, geometry.blockHeight), chunk);
        for (int c = 0; c < columns; ++c) {
            for (int by = 0; by < geometry.blockHeight; ++by) {
                const std::size_t at = static_cast<std::size_t>(c) * columnBytes +
                                       static_cast<std::size_t>(by) * MapLayout::BlockSize + kSampleOffset;
                const std::uint16_t tile = le::u16(&chunk[at]);
                picture.pixels[static_cast<std::size_t>(by) * static_cast<std::size_t>(picture.width) +
                               static_cast<std::size_t>(first + c)] = overviewColour(radar, tile);
            }
        }
    }
    return picture;
}

} // namespace stonereach
