#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "mapdata/ByteSource.h"
#include "mapdata/File.h"
#include "mapdata/TileImage.h"
#include "mapdata/UopDirectory.h"

namespace stonereach {

// The art of newer clients, artLegacyMUL.uop: the entry of tile id i, named
// build/artlegacymul/%08d.tga, holds the bytes that the tile's record in
// art.mul would hold, stored as they are or compressed with zlib.
class ArtContainer {
public:
    // Reads the container's directory (ContainerError, IoError).
    explicit ArtContainer(File file);
    // The same over bytes from anywhere (a fuzz program reads from memory).
    explicit ArtContainer(const ByteSource& source);
    // Reads go to the file it holds or the source it was given; it stays
    // where it is made (hold it by pointer to pass it on).
    ArtContainer(const ArtContainer&) = delete;
    ArtContainer& operator=(const ArtContainer&) = delete;

    File& file() { return file_; }
    const File& file() const { return file_; }

    enum class Entry {
        Missing,     // no entry of that name: a tile without art
        Unreadable,  // compressed by a scheme this program cannot inflate
        Read,
    };

    // The payload of tile id's entry when its (decompressed) length is one
    // of `lengths`, else Missing with bytes untouched. A zlib stream that does
    // not inflate to exactly its length raises IoError naming the file.
    Entry read(std::uint32_t id, std::initializer_list<std::uint32_t> lengths, std::vector<std::uint8_t>& bytes) const;

    // The first unreadable entry met, told once: the text for the user the
    // first time it is asked for after such an entry, then nothing.
    std::optional<std::string> takeNotice();

private:
    File file_;
    const ByteSource* source_ = nullptr;
    UopDirectory directory_;
    // Set by read(), which stays const for the loaders; a report, not a cache.
    mutable std::optional<std::uint32_t> unreadableId_;
    bool noticeGiven_ = false;
};

// Replaces image with the land art of tile `id` from the container and
// returns true, as loadLandArtImage does for art.mul; false with image
// unchanged when the tile has no entry, no land art length, or an entry that
// cannot be inflated (see takeNotice).
bool loadLandArtImage(const ArtContainer& art, std::uint16_t id, TileImage& image);

} // namespace stonereach
