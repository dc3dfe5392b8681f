#include "sample/SampleClientFiles.h"

#include <memory>
#include <new>
#include <span>

#include <libdeflate.h>
#include <vector>

#include "mapdata/ClientFiles.h"
#include "mapdata/FileSystem.h"
#include "mapdata/IndexRecord.h"
#include "mapdata/LandArtImage.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/UopWriter.h"
#include "sample/SampleNoise.h"
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

// The land art entries of an art container: the bytes each tile's art.mul
// record would hold, every other one compressed with zlib.
class ArtEntries {
public:
    void add(std::uint16_t id, std::vector<std::uint8_t> bytes) {
        UopPayload entry{uopArtEntryName(id), std::move(bytes), 0, UopLayout::Stored};
        entry.decompressedSize = static_cast<std::uint32_t>(entry.bytes.size());
        if (entries_.size() % 2 == 1)
            compress(entry);
        entries_.push_back(std::move(entry));
    }

    void write(const std::filesystem::path& path, std::uint64_t seed) const {
        writeUopFile(path, entries_, hash64(seed, 0xA27));
    }

private:
    struct CompressorDeleter {
        void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
    };

    void compress(UopPayload& entry) {
        if (!compressor_)
            compressor_.reset(libdeflate_alloc_compressor(6));
        if (!compressor_)
            throw std::bad_alloc();
        std::vector<std::uint8_t> out(libdeflate_zlib_compress_bound(compressor_.get(), entry.bytes.size()));
        const std::size_t n =
            libdeflate_zlib_compress(compressor_.get(), entry.bytes.data(), entry.bytes.size(), out.data(), out.size());
        out.resize(n);
        entry.bytes = std::move(out);
        entry.compression = UopLayout::Zlib;
    }

    std::vector<UopPayload> entries_;
    std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor_;
};

std::vector<std::uint8_t> pixelBytes(std::span<const std::uint16_t> pixels, std::size_t totalBytes) {
    std::vector<std::uint8_t> bytes(totalBytes, 0);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        le::put16(bytes.data() + 2 * i, pixels[i]);
    return bytes;
}

} // namespace

void writeSampleClientFiles(const std::filesystem::path& dir, std::uint64_t seed, SampleArtForm artForm) {
    IndexedFile textures;
    IndexedFile art;
    ArtEntries artEntries;
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
            artEntries.add(tile.id, pixelBytes(diamond, LandArtLayout::ClassicLength));
            break;
        }
        case TileLook::ArtExact: {
            const auto diamond = squareToLandArt(image);
            art.add(tile.id, pixelBytes(diamond, LandArtLayout::PixelBytes), LandArtLayout::ExactLength);
            artEntries.add(tile.id, pixelBytes(diamond, LandArtLayout::PixelBytes));
            break;
        }
        }
    }
    for (const SampleStaticKind& kind : sampleStaticKinds())
        for (const std::uint16_t id : kind.ids)
            radar[SampleClientLayout::StaticRadarBase + id] = kind.radarColour;

    textures.write(clientFilePath(dir, ClientFile::TextureIndex), clientFilePath(dir, ClientFile::Textures));
    if (artForm == SampleArtForm::Container)
        artEntries.write(clientFilePath(dir, ClientFile::ArtContainer), seed);
    else
        art.write(clientFilePath(dir, ClientFile::ArtIndex), clientFilePath(dir, ClientFile::Art));
    PendingFile radarFile(clientFilePath(dir, ClientFile::RadarColours));
    radarFile.file().writeAt(0, pixelBytes(radar, radar.size() * 2));
    radarFile.commit();
}

} // namespace stonereach::sample
