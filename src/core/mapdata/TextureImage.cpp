#include "mapdata/TextureImage.h"

#include <string>
#include <vector>

#include "mapdata/Errors.h"
#include "mapdata/IndexRecord.h"
#include "mapdata/LittleEndian.h"

namespace stonereach {

std::optional<int> textureSideForLength(std::int32_t length) {
    if (length == TextureLayout::SmallLength)
        return TextureLayout::SmallSide;
    if (length == TextureLayout::LargeLength)
        return TextureLayout::LargeSide;
    return std::nullopt;
}

TileImage decodeTexture(std::span<const std::uint8_t> data, int side) {
    TileImage image(side, side);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = le::u16(data.data() + 2 * i);
    return image;
}

bool loadTextureImage(const File& texIdx, const File& texMaps, std::uint16_t id, TileImage& image) {
    const IndexRecord record = readIndexRecord(texIdx, id);
    const auto side = textureSideForLength(record.length);
    if (!side)
        return false;
    // Only the length decides whether a texture exists, but -1 is the index's
    // own "no data" mark: reading there can only fail, so it counts as none.
    if (record.offset == IndexLayout::NoEntry)
        return false;
    if (record.offset < 0)
        throw IoError(texIdx.path().string(), "Texture entry " + std::to_string(id) + " has the invalid offset " +
                                                  std::to_string(record.offset));
    // The length is one of two fixed sizes, so the buffer is bounded whatever
    // the index holds; an offset past the data fails in the read.
    std::vector<std::uint8_t> data(static_cast<std::size_t>(record.length));
    texMaps.readAt(static_cast<std::uint64_t>(record.offset), data);
    image = decodeTexture(data, *side);
    return true;
}

} // namespace stonereach
