#include "patches/DiffPatchGenerator.h"

#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mapdata/BufferedFileIO.h"
#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/IoBuffer.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapLayout.h"
#include "mapdata/MemoryPopulation.h"
#include "mapdata/RecordsReader.h"
#include "mapdata/TwoThreadPass.h"
#include "patches/ColumnChunks.h"
#include "patches/MapComparison.h"
#include "patches/StaticsRecords.h"

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

// Whether a block's records are read and compared: its statics are judged
// unchanged from the index alone when Start and Length are both the same, and
// a block without records in the modified set needs no comparison.
bool recordsCompared(const StaticPointer& original, const StaticPointer& modified) {
    return modified.start != L::NoStatics && (original.start != modified.start || original.length != modified.length);
}

std::uint32_t sizeField(const File& file) {
    // The header keeps 32 bits of each statics file's size.
    return static_cast<std::uint32_t>(file.size());
}

// The statics diff index, held whole as it is written to the patch: every
// entry starts as "unchanged", whose two fields are -1 (all bits set).
class StaticsDiffIndex {
public:
    explicit StaticsDiffIndex(std::size_t blocks) : bytes_(blocks * L::DiffStaticEntrySize, 0xFF) {}

    void emptied(std::size_t k) { le::putI32(&bytes_[k * L::DiffStaticEntrySize + 4], 0); }
    void stored(std::size_t k, std::int32_t offset, std::int32_t length) {
        le::putI32(&bytes_[k * L::DiffStaticEntrySize], offset);
        le::putI32(&bytes_[k * L::DiffStaticEntrySize + 4], length);
    }

    // Appends the index a block column at a time, with progress 0..100
    // under `text`.
    void write(AppendWriter& out, const DiffGrid& grid, std::string_view text, const ProgressCallback& progress) const {
        const std::size_t columnBytes = static_cast<std::size_t>(grid.blocksDown) * L::DiffStaticEntrySize;
        report(progress, text, 0, 100);
        for (int column = 0; column < grid.blocksAcross; ++column) {
            out.append(std::span(bytes_).subspan(static_cast<std::size_t>(column) * columnBytes, columnBytes));
            reportColumn(progress, text, column, grid);
        }
    }

private:
    LargeTable<std::uint8_t> bytes_;
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

    // Either statics file may lie in another order than its index: it is
    // then held in memory.
    RecordsReader origReader = staticsReader(origStatics, original.recordsOrder());
    RecordsReader modReader = staticsReader(modStatics, modified.recordsOrder());
    StaticsDiffIndex diffIndex(grid.blockCount());

    const auto perColumn = static_cast<std::size_t>(grid.blocksDown);
    for (int column = 0; column < grid.blocksAcross; ++column) {
        const auto originalColumn = original.column(column);
        const auto modifiedColumn = modified.column(column);
        for (std::size_t i = 0; i < perColumn; ++i) {
            if (const std::size_t ahead = i + StaticsPrefetchBlocks;
                ahead < perColumn && recordsCompared(originalColumn[ahead], modifiedColumn[ahead])) {
                prefetchStaticRecords(origReader, originalColumn[ahead]);
                prefetchStaticRecords(modReader, modifiedColumn[ahead]);
            }
            const std::size_t k = static_cast<std::size_t>(column) * perColumn + i;
            const StaticPointer& o = originalColumn[i];
            const StaticPointer& m = modifiedColumn[i];
            if (m.start == L::NoStatics) {
                diffIndex.emptied(k);
                ++summary.emptiedStaticBlocks;
                continue;
            }
            if (!recordsCompared(o, m))
                continue;
            // Both are seen where their readers hold them, not copied.
            const auto origRecords = staticRecords(origReader, o, k);
            const auto modRecords = staticRecords(modReader, m, k);
            if (origRecords.size() == modRecords.size() &&
                equalInSteps(origRecords.data(), modRecords.data(), modRecords.size()))
                continue;
            diffIndex.stored(k, patchPosition(out.position(), modRecords.size()),
                             static_cast<std::int32_t>(modRecords.size()));
            out.appendPadded(modRecords);
            ++summary.storedStaticBlocks;
        }
        reportColumn(progress, T::Statics, column, grid);
    }

    summary.header.staticsIndexOffset = patchPosition(out.position(), grid.blockCount() * L::DiffStaticEntrySize);
    diffIndex.write(out, grid, T::StaticsIndex, progress);
}

// Writes the changed blocks of the modified map that lie in `chunk` to the
// patch at `to`, in index order: the span from the first to the last of them
// is read in one go, and the changed blocks are gathered to its front.
void storeChangedBlocks(const MapFile& modMap, const ChangedBlocks& changed, const ColumnChunks& chunks, int chunk,
                        File& patch, std::uint64_t to, std::uint8_t* buffer) {
    constexpr std::size_t B = MapLayout::BlockSize;
    const std::size_t first = chunks.firstBlock(chunk);
    const std::size_t end = first + chunks.blocks(chunk);
    std::size_t from = first;
    while (from < end && !changed[from])
        ++from;
    if (from == end)
        return;
    std::size_t last = end - 1;
    while (!changed[last])
        --last;
    modMap.readAt(from * B, {buffer, (last + 1 - from) * B});
    std::size_t kept = 0;
    for (std::size_t k = from; k <= last; ++k) {
        if (!changed[k])
            continue;
        if (k - from != kept)
            std::memcpy(buffer + kept * B, buffer + (k - from) * B, B);
        ++kept;
    }
    patch.writeAt(to, {buffer, kept * B});
}

// The map section: changed blocks, then their index. Which blocks changed,
// and the modified map's checksum, come from the comparison of the two maps
// that began with the run; it is finished where the checksum's progress
// belongs: just before the map section, under the stage text then showing.
// The changed blocks follow one another in index order, so where each chunk
// of block columns puts its own is known from the count of those before it,
// and two threads store them, a chunk at a time: chunks as large as a new
// file's writes, as every chunk is one write.
void writeMapSection(const DiffPatchRequest& request, File& patch, AppendWriter& out, DiffPatchSummary& summary,
                     MapComparison& comparison, const ProgressCallback& progress) {
    constexpr std::size_t B = MapLayout::BlockSize;
    const DiffGrid& grid = request.grid;
    const std::string_view showing = request.statics ? T::StaticsIndex : T::Working;
    summary.header.modMapCrc = comparison.finish(showing, progress);
    const ChangedBlocks& changed = comparison.changed();

    const ColumnChunks chunks(grid, NewFileWriteBytes);
    std::vector<std::uint64_t> chunkStart(static_cast<std::size_t>(chunks.count) + 1);
    for (int chunk = 0; chunk < chunks.count; ++chunk) {
        std::size_t stored = 0;
        const std::size_t first = chunks.firstBlock(chunk);
        for (std::size_t k = first; k < first + chunks.blocks(chunk); ++k)
            if (changed[k])
                ++stored;
        chunkStart[static_cast<std::size_t>(chunk) + 1] = chunkStart[static_cast<std::size_t>(chunk)] + stored;
    }
    const std::uint64_t storedBlocks = chunkStart.back();
    out.flush();
    const auto blocksStart = static_cast<std::uint64_t>(patchPosition(out.position(), storedBlocks * B));
    {
        const MapFile modMap(request.modified.map, File::Mode::Read);
        TwoThreadPass pass(chunks.count, [&]() -> TwoThreadPass::Worker {
            auto buffer = std::make_shared<IoBuffer>(makeIoBuffer(chunks.chunkBytes()));
            return [&, buffer](int chunk) {
                storeChangedBlocks(modMap, changed, chunks, chunk, patch,
                                   blocksStart + chunkStart[static_cast<std::size_t>(chunk)] * B, buffer->get());
            };
        });
        pass.finish(T::Map, progress, [&](int done) { return chunks.percentDone(done); });
    }
    out.skip(storedBlocks * B);
    summary.storedMapBlocks += storedBlocks;

    summary.header.mapIndexOffset = patchPosition(out.position(), grid.blockCount() * L::DiffMapEntrySize);
    report(progress, T::MapIndex, 0, 100);
    const auto perColumn = static_cast<std::size_t>(grid.blocksDown);
    std::vector<std::uint8_t> bytes(perColumn * L::DiffMapEntrySize);
    auto next = blocksStart;
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

    // The maps are compared on a second thread from the start, while the
    // statics section is written.
    std::optional<MapComparison> mapComparison;
    if (request.map)
        mapComparison.emplace(request.original.map, request.modified.map, request.grid);
    // The patch is a new file, which takes large writes best.
    AppendWriter out(patch, L::HeaderSize, NewFileWriteBytes);
    if (request.statics)
        writeStaticsSection(request, out, summary, progress);
    if (request.map)
        writeMapSection(request, patch, out, summary, *mapComparison, progress);
    out.flush();

    patch.writeAt(0, encodeHeader(summary.header));
    summary.patchSize = out.position();
    pending.commit();
    return summary;
}

} // namespace stonereach
