#include "patches/DiffPatchGenerator.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <future>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mapdata/BufferedFileIO.h"
#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapLayout.h"

namespace stonereach {

namespace L = DiffPatchLayout;
namespace T = DiffPatchTexts;

namespace {


// The patch's offsets are signed 32-bit numbers; nothing may be placed where
// they cannot point.
std::int32_t patchPosition(std::uint64_t position, std::uint64_t bytesToFollow) {
    if (position + bytesToFollow > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        throw Refusal("The patch would grow past 2 GB, which its 32-bit offsets cannot address");
    return static_cast<std::int32_t>(position);
}

void reportColumn(const ProgressCallback& progress, std::string_view text, int column, const DiffGrid& grid) {
    report(progress, text, column * 100 / grid.blocksAcross, 100);
}

std::uint32_t sizeField(const File& file) {
    // The header keeps 32 bits of each statics file's size.
    return static_cast<std::uint32_t>(file.size());
}

// What the statics section says of each block, kept in two bytes a block
// rather than as the 8-byte entries: the stored records follow one another in
// index order from the section's start, so each entry's offset is the sum of
// the lengths stored before it and needs no keeping.
class StaticsOutcomes {
public:
    explicit StaticsOutcomes(std::size_t blocks) : lengths_(blocks, Unchanged) {}

    void emptied(std::size_t k) { lengths_[k] = Emptied; }
    // A stored block's records are at most 14,336 bytes.
    void stored(std::size_t k, std::size_t length) { lengths_[k] = static_cast<std::uint16_t>(length); }

    // Writes the statics diff index for records stored from `recordsStart` on.
    void writeIndex(AppendWriter& out, std::int32_t recordsStart, const DiffGrid& grid, std::string_view text,
                    const ProgressCallback& progress) const {
        const auto perColumn = static_cast<std::size_t>(grid.blocksDown);
        std::vector<std::uint8_t> bytes(perColumn * L::DiffStaticEntrySize);
        std::int64_t next = recordsStart;
        report(progress, text, 0, 100);
        for (int column = 0; column < grid.blocksAcross; ++column) {
            for (std::size_t i = 0; i < perColumn; ++i) {
                const std::uint16_t length = lengths_[static_cast<std::size_t>(column) * perColumn + i];
                DiffStaticEntry entry;  // unchanged
                if (length == Emptied) {
                    entry.length = 0;
                } else if (length != Unchanged) {
                    entry = {static_cast<std::int32_t>(next), length};
                    next += length;
                }
                le::putI32(&bytes[i * L::DiffStaticEntrySize], entry.offset);
                le::putI32(&bytes[i * L::DiffStaticEntrySize + 4], entry.length);
            }
            out.append(bytes);
            reportColumn(progress, text, column, grid);
        }
    }

private:
    static constexpr std::uint16_t Unchanged = 0xFFFF;
    static constexpr std::uint16_t Emptied = 0xFFFE;
    static_assert(L::MaxStaticBlockBytes < Emptied);
    std::vector<std::uint16_t> lengths_;
};

// The statics section: records of changed blocks, then their index.
void writeStaticsSection(const DiffPatchRequest& request, AppendWriter& out, DiffPatchSummary& summary,
                         const ProgressCallback& progress) {
    const DiffGrid& grid = request.grid;
    const File origIdx(request.original.staIdx, File::Mode::Read);
    const File origStatics(request.original.statics, File::Mode::Read);
    const File modIdx(request.modified.staIdx, File::Mode::Read);
    const File modStatics(request.modified.statics, File::Mode::Read);

    // Both indexes are read once whole for their checksums, then again a
    // column at a time as the blocks are compared: reading them twice out of
    // the file cache costs less than holding two tables of megabytes.
    report(progress, T::Statics, 0, 100);
    StaticsIndexColumns original(origIdx, grid);
    summary.header.origStaIdxCrc = original.checksum(T::Statics, progress);
    StaticsIndexColumns modified(modIdx, grid);
    summary.header.modStaIdxCrc = modified.checksum(T::Statics, progress);
    summary.header.origStaticsSize = sizeField(origStatics);
    summary.header.modStaticsSize = sizeField(modStatics);

    ReadAheadReader origReader(origStatics);
    ReadAheadReader modReader(modStatics);
    StaticsOutcomes outcomes(grid.blockCount());
    const std::int32_t recordsStart = patchPosition(out.position(), 0);
    std::vector<std::uint8_t> origRecords;
    std::vector<std::uint8_t> modRecords;
    origRecords.reserve(L::MaxStaticBlockBytes);
    modRecords.reserve(L::MaxStaticBlockBytes);

    const auto perColumn = static_cast<std::size_t>(grid.blocksDown);
    for (int column = 0; column < grid.blocksAcross; ++column) {
        const auto originalColumn = original.column(column);
        const auto modifiedColumn = modified.column(column);
        for (std::size_t i = 0; i < perColumn; ++i) {
            const std::size_t k = static_cast<std::size_t>(column) * perColumn + i;
            const StaticPointer& o = originalColumn[i];
            const StaticPointer& m = modifiedColumn[i];
            if (m.start == L::NoStatics) {
                outcomes.emptied(k);
                ++summary.emptiedStaticBlocks;
                continue;
            }
            if (o.start == m.start && o.length == m.length)
                continue;
            readStaticRecords(origReader, o, k, origRecords);
            readStaticRecords(modReader, m, k, modRecords);
            if (origRecords == modRecords)
                continue;
            patchPosition(out.position(), modRecords.size());
            out.append(modRecords);
            outcomes.stored(k, modRecords.size());
            ++summary.storedStaticBlocks;
        }
        reportColumn(progress, T::Statics, column, grid);
    }

    summary.header.staticsIndexOffset = patchPosition(out.position(), grid.blockCount() * L::DiffStaticEntrySize);
    outcomes.writeIndex(out, recordsStart, grid, T::StaticsIndex, progress);
}

// The checksum of the modified map is a pass of its own over the file. It is
// computed on a second thread from the start of the run, while the statics
// section is written, and waited for where its progress belongs: just before
// the map section, under the stage text then showing. The progress callback
// is only ever called on the caller's thread.
class BackgroundMapChecksum {
public:
    BackgroundMapChecksum(std::filesystem::path map, const DiffGrid& grid)
        : grid_(grid), result_(std::async(std::launch::async, [this, map = std::move(map)] { return compute(map); })) {}

    std::uint32_t wait(std::string_view text, const ProgressCallback& progress) {
        report(progress, text, 0, 100);
        while (result_.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
            report(progress, text, columnsDone_.load() * 100 / grid_.blocksAcross, 100);
        report(progress, text, 100, 100);
        return result_.get();
    }

private:
    std::uint32_t compute(const std::filesystem::path& map) {
        const File modMap(map, File::Mode::Read);
        requireMapBlocks(modMap, grid_);
        const std::size_t columnBytes = static_cast<std::size_t>(grid_.blocksDown) * MapLayout::BlockSize;
        const int perRead = static_cast<int>(std::max<std::size_t>(1, WholeFileChunkBytes / columnBytes));
        const auto chunk = std::make_unique_for_overwrite<std::uint8_t[]>(columnBytes * static_cast<std::size_t>(perRead));
        std::uint32_t checksum = 0;
        const int columns = grid_.blocksAcross - 1;
        for (int c = 0; c < columns; c += perRead) {
            const std::size_t bytes = columnBytes * static_cast<std::size_t>(std::min(perRead, columns - c));
            modMap.readAt(static_cast<std::uint64_t>(c) * columnBytes, {chunk.get(), bytes});
            checksum ^= mapBlocksChecksum({chunk.get(), bytes});
            columnsDone_.store(c + std::min(perRead, columns - c));
        }
        return checksum;
    }

    DiffGrid grid_;
    std::atomic<int> columnsDone_{0};
    // Last, so that it is destroyed first: its destructor waits for the
    // thread, which uses the members above.
    std::future<std::uint32_t> result_;
};

// The map section: changed blocks, then their index. Both maps are read a few
// block columns at a time; changed blocks that follow one another go to the
// patch as one piece. Only a flag per block is kept: the stored blocks follow
// one another in index order, so each one's offset is counted at the end.
void writeMapSection(const DiffPatchRequest& request, AppendWriter& out, DiffPatchSummary& summary,
                     BackgroundMapChecksum& checksum, const ProgressCallback& progress) {
    constexpr std::size_t B = MapLayout::BlockSize;
    const DiffGrid& grid = request.grid;
    const File origMap(request.original.map, File::Mode::Read);
    const File modMap(request.modified.map, File::Mode::Read);
    // The modified map's length was checked by the checksum pass.
    requireMapBlocks(origMap, grid);

    const std::string_view showing = request.statics ? T::StaticsIndex : T::Working;
    summary.header.modMapCrc = checksum.wait(showing, progress);

    report(progress, T::Map, 0, 100);
    const auto perColumn = static_cast<std::size_t>(grid.blocksDown);
    const std::size_t columnBytes = perColumn * B;
    const int perChunk = static_cast<int>(std::max<std::size_t>(1, WholeFileChunkBytes / columnBytes));
    const std::size_t chunkBytes = columnBytes * static_cast<std::size_t>(perChunk);
    const auto origChunk = std::make_unique_for_overwrite<std::uint8_t[]>(chunkBytes);
    const auto modChunk = std::make_unique_for_overwrite<std::uint8_t[]>(chunkBytes);
    std::vector<bool> changed(grid.blockCount(), false);
    const std::int32_t blocksStart = patchPosition(out.position(), 0);
    for (int c = 0; c < grid.blocksAcross; c += perChunk) {
        const int columns = std::min(perChunk, grid.blocksAcross - c);
        const std::size_t first = static_cast<std::size_t>(c) * perColumn;
        const std::size_t blocks = static_cast<std::size_t>(columns) * perColumn;
        origMap.readAt(first * B, {origChunk.get(), blocks * B});
        modMap.readAt(first * B, {modChunk.get(), blocks * B});
        for (std::size_t i = 0; i < blocks;) {
            if (std::memcmp(&origChunk[i * B], &modChunk[i * B], B) == 0) {
                ++i;
                continue;
            }
            std::size_t end = i + 1;
            while (end < blocks && std::memcmp(&origChunk[end * B], &modChunk[end * B], B) != 0)
                ++end;
            patchPosition(out.position(), (end - i) * B);
            out.append({&modChunk[i * B], (end - i) * B});
            for (std::size_t j = i; j < end; ++j)
                changed[first + j] = true;
            summary.storedMapBlocks += end - i;
            i = end;
        }
        for (int i = 0; i < columns; ++i)
            reportColumn(progress, T::Map, c + i, grid);
    }

    summary.header.mapIndexOffset = patchPosition(out.position(), grid.blockCount() * L::DiffMapEntrySize);
    report(progress, T::MapIndex, 0, 100);
    std::vector<std::uint8_t> bytes(perColumn * L::DiffMapEntrySize);
    auto next = static_cast<std::uint64_t>(blocksStart);
    for (int column = 0; column < grid.blocksAcross; ++column) {
        const std::size_t first = static_cast<std::size_t>(column) * perColumn;
        for (std::size_t i = 0; i < perColumn; ++i) {
            std::int32_t entry = -1;
            if (changed[first + i]) {
                entry = static_cast<std::int32_t>(next);
                next += B;
            }
            le::putI32(&bytes[i * L::DiffMapEntrySize], entry);
        }
        out.append(bytes);
        reportColumn(progress, T::MapIndex, column, grid);
    }
}

} // namespace

DiffPatchSummary generateDiffPatch(const DiffPatchRequest& request, const ProgressCallback& progress) {
    if (!request.statics && !request.map)
        throw Refusal("Choose the statics section, the map section or both");

    report(progress, T::Working, 0, 100);
    PendingFile pending(request.patch);
    File& patch = pending.file();
    DiffPatchSummary summary;
    // The header goes first with both sections marked absent, and is written
    // again complete at the end.
    patch.writeAt(0, encodeHeader(summary.header));

    std::optional<BackgroundMapChecksum> mapChecksum;
    if (request.map)
        mapChecksum.emplace(request.modified.map, request.grid);
    AppendWriter out(patch, L::HeaderSize);
    if (request.statics)
        writeStaticsSection(request, out, summary, progress);
    if (request.map)
        writeMapSection(request, out, summary, *mapChecksum, progress);
    out.flush();

    patch.writeAt(0, encodeHeader(summary.header));
    summary.patchSize = out.position();
    pending.commit();
    return summary;
}

} // namespace stonereach
