#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include "mapdata/FileSystem.h"
#include "mapdata/MapBytes.h"
#include "mapdata/MapLayout.h"

namespace stonereach {

// How a new map container is made.
struct NewMapOptions {
    // The facet whose entry names it gets; by default the one the target's
    // name starts with ("map<N>").
    std::optional<int> facet;
    // One more 196-byte block after the map, as modern clients carry
    // (written with writeTrailingBlock).
    bool trailingBlock = false;
    // Entries laid out in a shuffled order, as in shipped files.
    std::optional<std::uint64_t> shuffleSeed;
};

// A new map file written under a temporary name beside its target and put in
// place by commit(): a UOP container in the form tools write when the
// target's name ends in ".uop" (entries of 4096 blocks named for the facet,
// in their own file order unless shuffled), a plain .mul otherwise. Its whole
// length is taken at once (zeros), so a full disk shows before anything is
// written, and the map's bytes are written by their plain-form offsets.
class NewMapFile {
public:
    // Throws Refusal when a container's facet cannot be told, IoError when
    // the file cannot be made.
    NewMapFile(const std::filesystem::path& target, std::uint64_t plainLength, const NewMapOptions& options = {});

    bool isContainer() const { return !extents_.isWholeFile(); }
    std::uint64_t plainLength() const { return plainLength_; }
    File& file() { return pending_.file(); }

    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> data) {
        writeMapBytes(pending_.file(), extents_, offset, data);
    }
    void writeTrailingBlock(std::span<const std::uint8_t, MapLayout::BlockSize> block);

    void commit() { pending_.commit(); }

private:
    PendingFile pending_;
    std::uint64_t plainLength_;
    MapExtents extents_;
    std::optional<std::uint64_t> trailingAt_;
};

} // namespace stonereach
