#include "patches/MapComparison.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>

#include "mapdata/BufferedFileIO.h"
#include "mapdata/MapLayout.h"
#include "mapdata/IoBuffer.h"

namespace stonereach {

namespace {

constexpr std::size_t B = MapLayout::BlockSize;

} // namespace

MapComparison::MapComparison(const std::filesystem::path& original, const std::filesystem::path& modified,
                             const DiffGrid& grid)
    : grid_(grid), original_(original, File::Mode::Read), modified_(modified, File::Mode::Read),
      columnsPerChunk_(static_cast<int>(std::clamp<std::size_t>(
          WholeFileChunkBytes / (static_cast<std::size_t>(grid.blocksDown) * B), 1, static_cast<std::size_t>(grid.blocksAcross)))),
      chunks_((grid.blocksAcross + columnsPerChunk_ - 1) / columnsPerChunk_), changed_(grid.blockCount()) {
    requireMapBlocks(modified_, grid_);
    requireMapBlocks(original_, grid_);
    // Maps of one chunk (small test grids) have no work to share.
    if (chunks_ > 1)
        helper_ = std::async(std::launch::async, [this] { work({}); });
}

// Claims chunks until none is left or the other thread has failed, calling
// afterChunk (if any) after each.
void MapComparison::work(const std::function<void()>& afterChunk) {
    const std::size_t chunkBytes =
        static_cast<std::size_t>(columnsPerChunk_) * static_cast<std::size_t>(grid_.blocksDown) * B;
    // Left uninitialised: every byte used is read from the maps first.
    const IoBuffer originalBytes = makeIoBuffer(chunkBytes);
    const IoBuffer modifiedBytes = makeIoBuffer(chunkBytes);
    try {
        for (int chunk = nextChunk_++; chunk < chunks_ && !failed_; chunk = nextChunk_++) {
            compareChunk(chunk, originalBytes.get(), modifiedBytes.get());
            ++chunksDone_;
            if (afterChunk)
                afterChunk();
        }
    } catch (...) {
        failed_ = true;
        throw;
    }
}

void MapComparison::compareChunk(int chunk, std::uint8_t* originalBytes, std::uint8_t* modifiedBytes) {
    const int column = chunk * columnsPerChunk_;
    const int columns = std::min(columnsPerChunk_, grid_.blocksAcross - column);
    const auto perColumn = static_cast<std::size_t>(grid_.blocksDown);
    const std::size_t first = static_cast<std::size_t>(column) * perColumn;
    const std::size_t blocks = static_cast<std::size_t>(columns) * perColumn;
    modified_.readAt(first * B, {modifiedBytes, blocks * B});
    original_.readAt(first * B, {originalBytes, blocks * B});

    const int summed = std::clamp(grid_.blocksAcross - 1 - column, 0, columns);  // the last column is left out
    checksum_ ^= xorOfWords({modifiedBytes, static_cast<std::size_t>(summed) * perColumn * B});

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

int MapComparison::columnsDone() const {
    return std::min(grid_.blocksAcross, chunksDone_.load() * columnsPerChunk_);
}

std::uint32_t MapComparison::finish(std::string_view text, const ProgressCallback& progress) {
    report(progress, text, 0, 100);
    const auto reportColumns = [&] { report(progress, text, columnsDone() * 100 / grid_.blocksAcross, 100); };
    // Join in where the second thread has got to.
    work(reportColumns);
    if (helper_.valid()) {
        while (helper_.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
            reportColumns();
        helper_.get();
    }
    report(progress, text, 100, 100);
    return checksum_.load();
}

} // namespace stonereach
