#include "patches/DiffPatchApplier.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "mapdata/BufferedFileIO.h"
#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/IntegerText.h"
#include "mapdata/MapLayout.h"
#include "mapdata/MemoryPopulation.h"
#include "patches/DiffPatchReader.h"

namespace stonereach {

namespace L = DiffPatchLayout;
namespace T = DiffApplyTexts;

namespace {

constexpr std::size_t ReadAheadWindow = std::size_t{1} << 18;

void reportColumn(const ProgressCallback& progress, std::string_view text, int column, const DiffGrid& grid) {
    report(progress, text, column * 100 / grid.blocksAcross, 100);
}

// Start of records about to be appended to the new statics file; it must be
// addressable by the index's 32-bit Start (0xFFFFFFFF means "no records").
std::uint32_t staticsStart(const AppendWriter& out, const File& file) {
    if (out.position() >= L::NoStatics)
        throw IoError(file.path().string(), "The rebuilt statics file would grow past 4 GB, which its index cannot address");
    return static_cast<std::uint32_t>(out.position());
}

void rebuildStatics(const DiffApplyRequest& request, const File& patch, const std::vector<StaticPointer>& original,
                    const std::vector<DiffStaticEntry>& diff, PendingFile& newStatics, PendingFile& newIndex,
                    const ProgressCallback& progress) {
    const DiffGrid& grid = request.grid;
    const File origStatics(request.original.statics, File::Mode::Read);

    ReadAheadReader origReader(origStatics, ReadAheadWindow);
    ReadAheadReader patchReader(patch, ReadAheadWindow);
    AppendWriter out(newStatics.file(), 0);
    auto rebuilt = populatedVector<StaticPointer>(grid.blockCount());  // every byte 0xFF to begin with
    std::vector<std::uint8_t> records;
    records.reserve(L::MaxStaticBlockBytes);

    report(progress, T::CreatingStatics, 0, 100);
    const auto perColumn = static_cast<std::size_t>(grid.blocksDown);
    for (int column = 0; column < grid.blocksAcross; ++column) {
        for (std::size_t k = static_cast<std::size_t>(column) * perColumn, end = k + perColumn; k < end; ++k) {
            const DiffStaticEntry& d = diff[k];
            const StaticPointer& o = original[k];
            StaticPointer& n = rebuilt[k];
            if (d.emptied() || (d.unchanged() && o.length == 0)) {
                n.extra = o.extra;
                continue;
            }
            if (d.unchanged()) {
                readStaticRecords(origReader, o, k, records);
                n.extra = o.extra;
            } else {
                // The reader checked the entry: a whole number of records, at
                // most a block's worth, inside the patch.
                records.resize(static_cast<std::size_t>(d.length));
                patchReader.read(static_cast<std::uint64_t>(d.offset), records);
            }
            n.start = staticsStart(out, newStatics.file());
            n.length = static_cast<std::uint32_t>(records.size());
            out.append(records);
        }
        reportColumn(progress, T::CreatingStatics, column, grid);
    }
    out.flush();

    writeStaticsIndex(newIndex.file(), rebuilt, grid, [&](int column) {
        report(progress, T::CreatingStatics, 90 + column * 10 / grid.blocksAcross, 100);
    });
}

// Writes every block of the grid over the modified map where it stands (an
// editor holding the file open sees the new cells; its length and anything
// past the grid stay as they are).
void rebuildMap(const DiffApplyRequest& request, const File& patch, const File& origMap, File& modMap,
                const std::vector<std::int32_t>& diff, const ProgressCallback& progress) {
    const DiffGrid& grid = request.grid;
    const auto perColumn = static_cast<std::size_t>(grid.blocksDown);
    std::vector<std::uint8_t> column(perColumn * MapLayout::BlockSize);
    ReadAheadReader patchReader(patch, ReadAheadWindow);

    report(progress, T::CreatingMap, 0, 100);
    for (int c = 0; c < grid.blocksAcross; ++c) {
        const std::size_t first = static_cast<std::size_t>(c) * perColumn;
        const std::uint64_t offset = first * MapLayout::BlockSize;
        origMap.readAt(offset, column);
        for (std::size_t i = 0; i < perColumn; ++i) {
            const std::int32_t stored = diff[first + i];
            if (stored != -1)
                patchReader.read(static_cast<std::uint64_t>(stored),
                                 {&column[i * MapLayout::BlockSize], MapLayout::BlockSize});
        }
        modMap.writeAt(offset, column);
        reportColumn(progress, T::CreatingMap, c, grid);
    }
    report(progress, T::CreatingMap, 100, 100);
}

} // namespace

std::string crcMismatchMessage(std::uint32_t computed, std::uint32_t recorded) {
    return "The CRC value of your orginal statics file (" + intToSpacedHex(computed, 4) +
           ") does not match the one used to generate this BSR file (" + intToSpacedHex(recorded, 4) +
           "). To apply this BSR you need to get the correct original files!";
}

DiffApplyResult applyDiffPatch(const DiffApplyRequest& request, const ProgressCallback& progress) {
    const DiffGrid& grid = request.grid;
    DiffApplyResult result;
    report(progress, T::Working, 0, 100);

    const File patch(request.patch, File::Mode::Read);
    const TSRDInfo header = readDiffPatchHeader(patch);
    const bool hasStatics = header.staticsIndexOffset != L::NoSection;
    const bool hasMap = header.mapIndexOffset != L::NoSection;

    std::vector<StaticPointer> original;
    if (hasStatics) {
        const File origIdx(request.original.staIdx, File::Mode::Read);
        original = readStaticsIndex(origIdx, grid, T::Working, progress);
        result.computedCrc = staticsIndexChecksum(original);
        result.recordedCrc = header.origStaIdxCrc;
        if (result.computedCrc != result.recordedCrc) {
            result.mismatchMessage = crcMismatchMessage(result.computedCrc, result.recordedCrc);
            return result;
        }
    }

    // Everything that can be checked is checked before the first write: both
    // indexes, the original map's length and the modified map's presence.
    std::vector<DiffStaticEntry> staticsDiff;
    if (hasStatics)
        staticsDiff = readStaticsDiffIndex(patch, header, grid, T::ReadingStaticsIndex, progress);
    std::vector<std::int32_t> mapDiff;
    std::optional<File> origMap;
    std::optional<File> modMap;
    if (hasMap) {
        mapDiff = readMapDiffIndex(patch, header, grid, T::ReadingMapIndex, progress);
        origMap.emplace(request.original.map, File::Mode::Read);
        requireMapBlocks(*origMap, grid);
        if (!fileExists(request.modified.map))
            throw IoError(request.modified.map.string(), "The modified map file must already exist");
        modMap.emplace(request.modified.map, File::Mode::ReadWrite);
    }

    // The statics pair is created anew under temporary names and both take
    // their names together, so a failure part-way never leaves a statics file
    // that does not match its index. The map is written where it stands.
    if (hasStatics) {
        PendingFile newStatics(request.modified.statics);
        PendingFile newIndex(request.modified.staIdx);
        rebuildStatics(request, patch, original, staticsDiff, newStatics, newIndex, progress);
        commitTogether({&newStatics, &newIndex});
    }
    if (hasMap) {
        rebuildMap(request, patch, *origMap, *modMap, mapDiff, progress);
        modMap->close();
    }
    result.staticsRebuilt = hasStatics;
    result.mapRebuilt = hasMap;
    result.applied = true;
    return result;
}

} // namespace stonereach
