#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "mapdata/MapFile.h"
#include "mapdata/Progress.h"
#include "mapdata/TwoThreadPass.h"
#include "patches/ColumnChunks.h"
#include "patches/DiffPatchFormat.h"

namespace stonereach {

// Which blocks of the grid differ between two maps, one flag per block.
class ChangedBlocks {
public:
    explicit ChangedBlocks(std::size_t blocks) : words_((blocks + 63) / 64) {}
    bool operator[](std::size_t k) const { return (words_[k / 64].load(std::memory_order_relaxed) >> (k % 64)) & 1; }
    // Marks the blocks whose bits are set in `bits`, the word holding block
    // 64 * word; safe from several threads at once.
    void mark(std::size_t word, std::uint64_t bits) { words_[word].fetch_or(bits, std::memory_order_relaxed); }

private:
    std::vector<std::atomic<std::uint64_t>> words_;
};

// The modified map's checksum (see xorOfWords; the last block column is
// left out) and which blocks differ from the original map, found in one pass
// over both maps, a few block columns at a time. The pass starts on a second
// thread as soon as the object is made, so it runs while the caller does
// other work, and finish() has the caller's thread join in. Both maps (each
// a .mul or a container) are opened and their lengths checked on
// construction (IoError, ContainerError).
class MapComparison {
public:
    MapComparison(const std::filesystem::path& original, const std::filesystem::path& modified, const DiffGrid& grid);
    MapComparison(const MapComparison&) = delete;
    MapComparison& operator=(const MapComparison&) = delete;

    // Works on the pass with the caller's thread until it is complete,
    // reporting its progress 0..100 under `text` (the callback is only ever
    // called on this thread); returns the checksum. Throws the first error
    // either thread met.
    std::uint32_t finish(std::string_view text, const ProgressCallback& progress);

    // Valid after finish().
    const ChangedBlocks& changed() const { return changed_; }

private:
    void compareChunk(int chunk, std::uint8_t* originalBytes, std::uint8_t* modifiedBytes);

    ColumnChunks chunks_;
    MapFile original_;
    MapFile modified_;
    ChangedBlocks changed_;
    std::atomic<std::uint32_t> checksum_{0};
    // Last, so that it is destroyed first: it waits for its thread, which
    // uses the members above.
    std::optional<TwoThreadPass> pass_;
};

} // namespace stonereach
