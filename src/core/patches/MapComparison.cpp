#include "patches/MapComparison.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

#include "mapdata/MapLayout.h"
#include "mapdata/IoBuffer.h"

namespace stonereach {

namespace {

constexpr std::size_t B = MapLayout::BlockSize;

} // namespace

MapComparison::MapComparison(const std::filesystem::path& original, const std::filesystem::path& modified,
                             const DiffGrid& grid)
    : chunks_(grid), original_(original, File::Mode::Read), modified_(modified, File::Mode::Read),
      changed_(grid.blockCount()) {
    requireMapBlocks(modified_, grid);
    requireMapBlocks(original_, grid);
    pass_.emplace(chunks_.count, [this]() -> TwoThreadPass::Worker {
        // Left uninitialised: every byte used is read from the maps first.
        auto originalBytes = std::make_shared<IoBuffer>(makeIoBuffer(chunks_.chunkBytes()));
        auto modifiedBytes = std::make_shared<IoBuffer>(makeIoBuffer(chunks_.chunkBytes()));
        return [this, originalBytes, modifiedBytes](int chunk) {
            compareChunk(chunk, originalBytes->get(), modifiedBytes->get());
        };
    });
}

void MapComparison::compareChunk(int chunk, std::uint8_t* originalBytes, std::uint8_t* modifiedBytes) {
    const std::size_t first = chunks_.firstBlock(chunk);
    const std::size_t blocks = chunks_.blocks(chunk);
    modified_.readAt(first * B, {modifiedBytes, blocks * B});
    original_.readAt(first * B, {originalBytes, blocks * B});

    // The last column is left out.
    const int summed = std::clamp(chunks_.grid.blocksAcross - 1 - chunks_.firstColumn(chunk), 0, chunks_.columns(chunk));
    checksum_ ^= xorOfWords({modifiedBytes, static_cast<std::size_t>(summed) * chunks_.columnBytes()});

    // The flags are gathered a word at a time; a word shared with the next
    // chunk is merged by mark().
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < blocks; ++i) {
        const std::size_t k = first + i;
        if (std::memcmp(&originalBytes[i * B], &modifiedBytes[i * B], B) != 0)
            bits |= std::uint64_t{1} << (k % 64);
        if (k % 64 == 63 || i + 1 == blocks) {
            if (bits != 0)
                changed_.mark(k / 64, bits);
            bits = 0;
        }
    }
}

std::uint32_t MapComparison::finish(std::string_view text, const ProgressCallback& progress) {
    pass_->finish(text, progress, [this](int done) { return chunks_.percentDone(done); });
    return checksum_.load();
}

} // namespace stonereach
