#include "patches/DiffPatchGenerator.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <future>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "mapdata/BufferedFileIO.h"
#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapLayout.h"
#include "mapdata/MemoryPopulation.h"

namespace stonereach {

namespace L = DiffPatchLayout;
namespace T = DiffPatchTexts;

namespace {

constexpr std::size_t ReadAheadWindow = std::size_t{1} << 18;

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

    ReadAheadReader origReader(origStatics, ReadAheadWindow);
    ReadAheadReader modReader(modStatics, ReadAheadWindow);
    auto diff = populatedVector<DiffStaticEntry>(grid.blockCount());
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
                diff[k] = DiffStaticEntry{-1, 0};
                ++summary.emptiedStaticBlocks;
                continue;
            }
            if (o.start == m.start && o.length == m.length)
                continue;
            readStaticRecords(origReader, o, k, origRecords);
            readStaticRecords(modReader, m, k, modRecords);
            if (origRecords == modRecords)
                continue;
            const std::int32_t at = patchPosition(out.position(), modRecords.size());
            out.append(modRecords);
            diff[k] = DiffStaticEntry{at, static_cast<std::int32_t>(modRecords.size())};
            ++summary.storedStaticBlocks;
        }
        reportColumn(progress, T::Statics, column, grid);
    }

    summary.header.staticsIndexOffset = patchPosition(out.position(), diff.size() * L::DiffStaticEntrySize);
    report(progress, T::StaticsIndex, 0, 100);
    std::array<std::uint8_t, L::DiffStaticEntrySize> bytes{};
    for (int column = 0; column < grid.blocksAcross; ++column) {
        for (std::size_t k = static_cast<std::size_t>(column) * perColumn, end = k + perColumn; k < end; ++k) {
            le::putI32(&bytes[0], diff[k].offset);
            le::putI32(&bytes[4], diff[k].length);
            out.append(bytes);
        }
        reportColumn(progress, T::StaticsIndex, column, grid);
    }
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
        std::vector<std::uint8_t> column(static_cast<std::size_t>(grid_.blocksDown) * MapLayout::BlockSize);
        std::uint32_t checksum = 0;
        for (int c = 0; c < grid_.blocksAcross - 1; ++c) {
            modMap.readAt(static_cast<std::size_t>(c) * column.size(), column);
            checksum ^= mapBlocksChecksum(column);
            columnsDone_.store(c + 1);
        }
        return checksum;
    }

    DiffGrid grid_;
    std::atomic<int> columnsDone_{0};
    // Last, so that it is destroyed first: its destructor waits for the
    // thread, which uses the members above.
    std::future<std::uint32_t> result_;
};

// The map section: changed blocks, then their index.
void writeMapSection(const DiffPatchRequest& request, AppendWriter& out, DiffPatchSummary& summary,
                     BackgroundMapChecksum& checksum, const ProgressCallback& progress) {
    const DiffGrid& grid = request.grid;
    const File origMap(request.original.map, File::Mode::Read);
    const File modMap(request.modified.map, File::Mode::Read);
    // The modified map's length was checked by the checksum pass.
    requireMapBlocks(origMap, grid);

    const std::string_view showing = request.statics ? T::StaticsIndex : T::Working;
    summary.header.modMapCrc = checksum.wait(showing, progress);

    report(progress, T::Map, 0, 100);
    const auto perColumn = static_cast<std::size_t>(grid.blocksDown);
    auto diff = populatedVector<std::int32_t>(grid.blockCount(), -1);
    std::vector<std::uint8_t> origColumn(perColumn * MapLayout::BlockSize);
    std::vector<std::uint8_t> modColumn(perColumn * MapLayout::BlockSize);
    for (int column = 0; column < grid.blocksAcross; ++column) {
        const std::size_t first = static_cast<std::size_t>(column) * perColumn;
        origMap.readAt(first * MapLayout::BlockSize, origColumn);
        modMap.readAt(first * MapLayout::BlockSize, modColumn);
        for (std::size_t i = 0; i < perColumn; ++i) {
            const std::uint8_t* o = &origColumn[i * MapLayout::BlockSize];
            const std::uint8_t* m = &modColumn[i * MapLayout::BlockSize];
            if (std::memcmp(o, m, MapLayout::BlockSize) == 0)
                continue;
            diff[first + i] = patchPosition(out.position(), MapLayout::BlockSize);
            out.append({m, MapLayout::BlockSize});
            ++summary.storedMapBlocks;
        }
        reportColumn(progress, T::Map, column, grid);
    }

    summary.header.mapIndexOffset = patchPosition(out.position(), diff.size() * L::DiffMapEntrySize);
    report(progress, T::MapIndex, 0, 100);
    std::vector<std::uint8_t> bytes(perColumn * L::DiffMapEntrySize);
    for (int column = 0; column < grid.blocksAcross; ++column) {
        const std::size_t first = static_cast<std::size_t>(column) * perColumn;
        for (std::size_t i = 0; i < perColumn; ++i)
            le::putI32(&bytes[i * L::DiffMapEntrySize], diff[first + i]);
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
