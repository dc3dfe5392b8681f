#include "sample/SampleClientFiles.h"

#include <span>
#include <vector>

#include "mapdata/ClientFiles.h"
#include "mapdata/FileSystem.h"
#include "mapdata/IndexRecord.h"
#include "mapdata/LandArtImage.h"
#include "mapdata/LittleEndian.h"
#include "sample/SampleStatics.h"
#include "sample/SampleTileSet.h"

namespace stonereach::sample {

namespace {

// An index file and its data file being built in memory.
class IndexedFile {
public:
    IndexedFile() {
        // Ids without data: offset -1, and a length of -1 as the game's own
        // files mark them.
        for (std::uint32_t id = 0; id < SampleClientLayout::LandIds; ++id)
            put(id, IndexRecord{IndexLayout::NoEntry, -1, 0});
    }

    void add(std::uint16_t id, std::span<const std::uint8_t> bytes, std::int32_t length) {
        put(id, IndexRecord{static_cast<std::int32_t>(data_.size()), length, 0});
        data_.insert(data_.end(), bytes.begin(), bytes.end());
    }

    void write(const std::filesystem::path& indexPath, const std::filesystem::path& dataPath) const {
        writeWhole(indexPath, index_);
        writeWhole(dataPath, data_);
    }

private:
    void put(std::uint32_t id, const IndexRecord& record) {
        const auto bytes = encodeIndexRecord(record);
        std::copy(bytes.begin(), bytes.end(), index_.begin() + static_cast<std::ptrdiff_t>(id * IndexLayout::RecordSize));
    }

    static void writeWhole(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
        PendingFile out(path);
        out.file().writeAt(0, bytes);
        out.commit();
    }

    std::vector<std::uint8_t> index_ = std::vector<std::uint8_t>(SampleClientLayout::LandIds * IndexLayout::RecordSize);
    std::vector<std::uint8_t> data_;
};

std::vector<std::uint8_t> pixelBytes(std::span<const std::uint16_t> pixels, std::size_t totalBytes) {
    std::vector<std::uint8_t> bytes(totalBytes, 0);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        le::put16(bytes.data() + 2 * i, pixels[i]);
    return bytes;
}

} // namespace

void writeSampleClientFiles(const std::filesystem::path& dir, std::uint64_t seed) {
    IndexedFile textures;
    IndexedFile art;
    std::vector<std::uint16_t> radar(SampleClientLayout::RadarColours, 0);

    for (const SampleTile& tile : sampleTiles()) {
        const TileImage image = paintSampleTile(tile, seed);
        radar[tile.id] = averageColour(image);
        switch (tile.look) {
        case TileLook::Texture64:
        case TileLook::Texture128: {
            const auto bytes = pixelBytes(image.pixels, image.pixels.size() * 2);
            textures.add(tile.id, bytes, static_cast<std::int32_t>(bytes.size()));
            break;
        }
        case TileLook::ArtClassic: {
            // The classic entry is 2048 bytes; the 24 after the pixels are unused.
            const auto diamond = squareToLandArt(image);
            art.add(tile.id, pixelBytes(diamond, LandArtLayout::ClassicLength), LandArtLayout::ClassicLength);
            break;
        }
        case TileLook::ArtExact: {
            const auto diamond = squareToLandArt(image);
            art.add(tile.id, pixelBytes(diamond, LandArtLayout::PixelBytes), LandArtLayout::ExactLength);
            break;
        }
        }
    }
    for (const SampleStaticKind& kind : sampleStaticKinds())
        for (const std::uint16_t id : kind.ids)
            radar[SampleClientLayout::StaticRadarBase + id] = kind.radarColour;

    textures.write(clientFilePath(dir, ClientFile::TextureIndex), clientFilePath(dir, ClientFile::Textures));
    art.write(clientFilePath(dir, ClientFile::ArtIndex), clientFilePath(dir, ClientFile::Art));
    PendingFile radarFile(clientFilePath(dir, ClientFile::RadarColours));
    radarFile.file().writeAt(0, pixelBytes(radar, radar.size() * 2));
    radarFile.commit();
}

} // namespace stonereach::sample
