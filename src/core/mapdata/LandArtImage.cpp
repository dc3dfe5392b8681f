#include "mapdata/LandArtImage.h"

#include <array>
#include <string>
#include <vector>

#include "mapdata/Errors.h"
#include "mapdata/IndexRecord.h"
#include "mapdata/LittleEndian.h"

namespace stonereach {

namespace {

using namespace LandArtLayout;

// Bytes to read for an entry of this length, or 0 when it is not land art.
std::size_t bytesToRead(std::int32_t length) {
    if (length == ClassicLength)
        return ClassicReadBytes;
    if (length == ExactLength)
        return PixelBytes;
    return 0;
}

} // namespace

TileImage decodeLandArt(std::span<const std::uint8_t> pixelData) {
    std::array<std::uint16_t, WorkSide * WorkSide> work{};
    auto put = [&work](int x, int y, std::uint16_t colour) {
        work[static_cast<std::size_t>(y * WorkSide + x)] = colour;
    };

    // Each diamond pixel lands on one position whose x + y is odd; writing it
    // also one step right and one step down fills the even positions between
    // them, so the square has no holes. Later writes win.
    std::size_t next = 0;
    for (int r = 0; r < DiamondRows; ++r) {
        const bool upperHalf = r < DiamondRows / 2;
        const int count = upperHalf ? 2 * (r + 1) : 2 * (DiamondRows - r);
        for (int k = 0; k < count; ++k, ++next) {
            const std::uint16_t colour = le::u16(pixelData.data() + 2 * next);
            const int x = upperHalf ? k : 2 * r - 43 + k;
            const int y = upperHalf ? 2 * r + 1 - k : 44 - k;
            put(x, y, colour);
            put(x + 1, y, colour);
            put(x, y + 1, colour);
        }
    }

    TileImage image(ImageSide, ImageSide);
    for (int y = 0; y < ImageSide; ++y)
        for (int x = 0; x < ImageSide; ++x)
            image.at(x, y) = work[static_cast<std::size_t>(y * WorkSide + x)];
    return image;
}

bool loadLandArtImage(const File& artIdx, const File& art, std::uint16_t id, TileImage& image) {
    if (isPlaceholderLandTile(id))
        return true;
    const IndexRecord record = readIndexRecord(artIdx, id);
    if (record.offset == IndexLayout::NoEntry)
        return false;
    const std::size_t readBytes = bytesToRead(record.length);
    if (readBytes == 0)
        return false;
    if (record.offset < 0)
        throw IoError(artIdx.path().string(),
                      "Land art entry " + std::to_string(id) + " has the invalid offset " + std::to_string(record.offset));
    std::vector<std::uint8_t> data(readBytes);
    art.readAt(static_cast<std::uint64_t>(record.offset), data);
    image = decodeLandArt(data);
    return true;
}

} // namespace stonereach
