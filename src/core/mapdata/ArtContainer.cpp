#include "mapdata/ArtContainer.h"

#include <algorithm>
#include <memory>

#include <libdeflate.h>

#include "mapdata/Errors.h"
#include "mapdata/LandArtImage.h"
#include "mapdata/UopLayout.h"
#include "mapdata/UopNameHash.h"

namespace stonereach {

namespace {

// No land art entry comes near this, compressed or not; a larger one is
// damaged, and is not read into memory.
constexpr std::uint32_t LargestStoredEntry = 1u << 20;

struct DecompressorDeleter {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

} // namespace

ArtContainer::ArtContainer(File file) : file_(std::move(file)), source_(&file_), directory_(readUopDirectory(file_)) {}

ArtContainer::ArtContainer(const ByteSource& source) : source_(&source), directory_(readUopDirectory(source)) {}

ArtContainer::Entry ArtContainer::read(std::uint32_t id, std::initializer_list<std::uint32_t> lengths,
                                       std::vector<std::uint8_t>& bytes) const {
    const UopEntry* entry = directory_.find(uopNameHash(uopArtEntryName(id)));
    if (entry == nullptr)
        return Entry::Missing;
    const bool stored = entry->compression == UopLayout::Stored;
    if (!stored && entry->compression != UopLayout::Zlib) {
        if (!unreadableId_)
            unreadableId_ = id;
        return Entry::Unreadable;
    }
    const std::uint32_t length = stored ? entry->storedSize : entry->decompressedSize;
    if (std::find(lengths.begin(), lengths.end(), length) == lengths.end())
        return Entry::Missing;
    const std::string name = source_->sourceName();
    if (entry->storedSize > LargestStoredEntry)
        throw IoError(name, "The art entry of tile " + std::to_string(id) + " is " +
                                std::to_string(entry->storedSize) + " bytes long, more than any land art");

    std::vector<std::uint8_t> raw(entry->storedSize);
    source_->readAt(entry->payloadOffset(), raw);
    if (stored) {
        bytes = std::move(raw);
        return Entry::Read;
    }
    const std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> inflater(libdeflate_alloc_decompressor());
    if (!inflater)
        throw std::bad_alloc();
    std::vector<std::uint8_t> out(length);
    std::size_t produced = 0;
    const auto result =
        libdeflate_zlib_decompress(inflater.get(), raw.data(), raw.size(), out.data(), out.size(), &produced);
    if (result != LIBDEFLATE_SUCCESS || produced != length)
        throw IoError(name, "The art entry of tile " + std::to_string(id) + " does not inflate to its " +
                                std::to_string(length) + " bytes");
    bytes = std::move(out);
    return Entry::Read;
}

std::optional<std::string> ArtContainer::takeNotice() {
    if (!unreadableId_ || noticeGiven_)
        return std::nullopt;
    noticeGiven_ = true;
    return "The art of tile " + std::to_string(*unreadableId_) + " in '" + source_->sourceName() +
           "' is compressed in a way this program cannot read; such tiles are drawn without art";
}

bool loadLandArtImage(const ArtContainer& art, std::uint16_t id, TileImage& image) {
    if (isPlaceholderLandTile(id))
        return true;
    std::vector<std::uint8_t> bytes;
    const auto lengths = {static_cast<std::uint32_t>(LandArtLayout::ClassicLength),
                          static_cast<std::uint32_t>(LandArtLayout::ExactLength)};
    if (art.read(id, lengths, bytes) != ArtContainer::Entry::Read)
        return false;
    image = decodeLandArt(bytes);
    return true;
}

} // namespace stonereach
