#include "patches/DiffPatchApplier.h"

#include <algorithm>
#include <future>
#include <limits>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

#include "mapdata/BufferedFileIO.h"
#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/IntegerText.h"
#include "mapdata/IoBuffer.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapLayout.h"
#include "mapdata/MemoryPopulation.h"
#include "mapdata/RecordsReader.h"
#include "mapdata/TwoThreadPass.h"
#include "patches/ColumnChunks.h"
#include "patches/DiffPatchReader.h"
#include "patches/StaticsRecords.h"

namespace stonereach {

namespace L = DiffPatchLayout;
namespace T = DiffApplyTexts;

namespace {

void reportColumn(const ProgressCallback& progress, std::string_view text, int column, const DiffGrid& grid) {
    report(progress, text, column * 100 / grid.blocksAcross, 100);
}

void putStaticPointer(std::uint8_t* bytes, const StaticPointer& p) {
    le::put32(bytes, p.start);
    le::put32(bytes + 4, p.length);
    le::put32(bytes + 8, p.extra);
}

// The records of the new statics0.mul, appended block after block, from the
// original statics or from the patch. Records that follow one another in a
// file they are read from (the original statics, the patch, where the
// generator stores them in index order) are collected into one run and
// copied at once, so a block costs a few additions rather than a read of its
// own. Records held in memory are copied block by block, in fixed steps.
class StaticsAppender {
public:
    StaticsAppender(File& file, RecordsReader& original, ReadAheadReader& patch)
        : file_(file), out_(file, 0, NewFileWriteBytes), original_(original), patch_(patch) {}

    // Appends `length` bytes at `from` of the original statics; returns
    // where they land.
    std::uint32_t takeOriginal(std::uint64_t from, std::uint32_t length) {
        const std::uint32_t at = nextStart();
        if (length == 0)
            return at;
        if (!original_.readsWhole()) {
            extend(Source::Original, from, length);
            return at;
        }
        endRun();
        out_.appendPadded(original_.view(from, length));
        return at;
    }

    // Appends `length` bytes at `from` of the patch; returns where they land.
    std::uint32_t takeStored(std::uint64_t from, std::uint32_t length) {
        const std::uint32_t at = nextStart();
        if (length > 0)
            extend(Source::Patch, from, length);
        return at;
    }

    void finish() {
        endRun();
        out_.flush();
    }

private:
    enum class Source { Nothing, Original, Patch };
    struct Run {
        Source source = Source::Nothing;
        std::uint64_t from = 0;  // where it lies in the file
        std::uint64_t length = 0;
    };

    std::uint32_t nextStart() const {
        const std::uint64_t at = out_.position() + run_.length;
        // The index's Start is 32 bits and 0xFFFFFFFF means "no records".
        if (at >= L::NoStatics)
            throw IoError(file_.path().string(),
                          "The rebuilt statics file would grow past 4 GB, which its index cannot address");
        return static_cast<std::uint32_t>(at);
    }

    // Copies the run collected so far.
    void endRun() {
        switch (run_.source) {
        case Source::Nothing: break;
        case Source::Original: original_.appendTo(out_, run_.from, run_.length); break;
        case Source::Patch: out_.appendFrom(patch_, run_.from, run_.length); break;
        }
        run_ = Run{};
    }

    // Adds bytes read from a file to the run, or starts a new one.
    void extend(Source source, std::uint64_t from, std::uint32_t length) {
        if (run_.source != source || run_.from + run_.length != from) {
            endRun();
            run_ = Run{source, from, 0};
        }
        run_.length += length;
    }

    File& file_;
    AppendWriter out_;
    RecordsReader& original_;
    ReadAheadReader& patch_;
    Run run_;
};

// Begins `read` on a second thread when `worth` it (and a thread can be
// had); otherwise the returned future is empty and inTurn() reads.
template <typename Read>
auto startEarly(bool worth, Read read) -> std::future<decltype(read())> {
    if (worth) {
        try {
            return std::async(std::launch::async, read);
        } catch (const std::system_error&) {
            // No thread to be had.
        }
    }
    return {};
}

// What a stage reads: taken from the thread startEarly() began, the stage
// then passing at once, or read now with `read` and progress as it goes.
template <typename Value, typename Read>
Value inTurn(std::future<Value>& early, std::string_view text, const ProgressCallback& progress, Read read) {
    if (!early.valid())
        return read(progress);
    report(progress, text, 0, 100);
    Value value = early.get();
    report(progress, text, 100, 100);
    return value;
}

// Reads and checks the patch's statics index; returns how many bytes of
// records it stores.
std::uint64_t readStoredStatics(const File& patch, const TSRDInfo& header, const DiffGrid& grid,
                                const ProgressCallback& progress) {
    StaticsDiffColumns diff(patch, header, grid);
    std::uint64_t stored = 0;
    report(progress, T::ReadingStaticsIndex, 0, 100);
    for (int column = 0; column < grid.blocksAcross; ++column) {
        for (const DiffStaticEntry& d : diff.column(column))
            stored += d.unchanged() ? 0 : static_cast<std::uint64_t>(d.length);  // emptied: 0
        reportColumn(progress, T::ReadingStaticsIndex, column, grid);
    }
    return stored;
}

// Checks what the rebuild will take from the original set: every kept
// block's length, that its records lie in the original statics file, and
// that the new file stays addressable. A run that would stop on them stops
// here, before anything is written: the map is written alongside the
// statics, so a stop part-way through them would leave a map that matches
// neither set.
//
// `soundness` is what the original index showed as it was checksummed: when
// every block of the original set is sound, the kept ones are, and the new
// file's length is bounded by everything the original set and the patch
// (`storedBytes`) hold; otherwise the kept blocks are looked at one by one.
void checkStaticsBeforeWriting(const DiffApplyRequest& request, const File& patch, const TSRDInfo& header,
                               const StaticsIndexColumns::Soundness& soundness, std::uint64_t storedBytes) {
    const DiffGrid& grid = request.grid;
    const File origStatics(request.original.statics, File::Mode::Read);
    if (soundness.wholeRecords && soundness.recordsEnd <= origStatics.size() &&
        soundness.recordsBytes + storedBytes < L::NoStatics)
        return;

    StaticsDiffColumns diff(patch, header, grid);
    const auto perColumn = static_cast<std::size_t>(grid.blocksDown);
    const File origIdx(request.original.staIdx, File::Mode::Read);
    StaticsIndexColumns original(origIdx, grid);
    std::uint64_t newLength = 0;
    std::uint64_t recordsEnd = 0;
    for (int column = 0; column < grid.blocksAcross; ++column) {
        const auto d = diff.column(column);
        const auto o = original.column(column);
        for (std::size_t i = 0; i < perColumn; ++i) {
            if (!d[i].unchanged()) {
                newLength += d[i].emptied() ? 0 : static_cast<std::uint64_t>(d[i].length);
            } else if (o[i].length != 0) {
                const std::uint32_t length = staticRecordsLength(o[i], static_cast<std::size_t>(column) * perColumn + i);
                newLength += length;
                if (length != 0)
                    recordsEnd = std::max(recordsEnd, std::uint64_t{o[i].start} + length);
            }
        }
    }
    requireFileSize(origStatics, recordsEnd, "the farthest record its index points at");
    if (newLength >= L::NoStatics)
        throw IoError(request.modified.statics.string(),
                      "The rebuilt statics file would grow past 4 GB, which its index cannot address");
}

// Writes the new statics0.mul and staidx0.mul a block column at a time: the
// original index, the patch's index and the new index are only ever held a
// column at a time. The original statics are held in memory when they lie
// in another order than the index's (`origOrder`, surveyed as the index was
// checksummed).
void rebuildStatics(const DiffApplyRequest& request, const File& patch, const TSRDInfo& header,
                    const RangeOrder& origOrder, PendingFile& newStatics, PendingFile& newIndex,
                    const ProgressCallback& progress) {
    const DiffGrid& grid = request.grid;
    const File origIdx(request.original.staIdx, File::Mode::Read);
    const File origStatics(request.original.statics, File::Mode::Read);
    StaticsIndexColumns original(origIdx, grid);
    StaticsDiffColumns diff(patch, header, grid);

    RecordsReader origReader = staticsReader(origStatics, origOrder);
    ReadAheadReader patchReader(patch);
    StaticsAppender records(newStatics.file(), origReader, patchReader);
    AppendWriter indexOut(newIndex.file(), 0, NewFileWriteBytes);
    const auto perColumn = static_cast<std::size_t>(grid.blocksDown);
    std::vector<std::uint8_t> indexColumn(perColumn * L::StaticPointerSize);

    report(progress, T::CreatingStatics, 0, 100);
    for (int column = 0; column < grid.blocksAcross; ++column) {
        const auto o = original.column(column);
        const auto d = diff.column(column);
        for (std::size_t i = 0; i < perColumn; ++i) {
            if (i + StaticsPrefetchBlocks < perColumn && d[i + StaticsPrefetchBlocks].unchanged())
                prefetchStaticRecords(origReader, o[i + StaticsPrefetchBlocks]);
            StaticPointer n;  // no records, Extra 0xFFFFFFFF unless set below
            if (d[i].emptied() || (d[i].unchanged() && o[i].length == 0)) {
                n.extra = o[i].extra;
            } else if (d[i].unchanged()) {
                n.length = staticRecordsLength(o[i], static_cast<std::size_t>(column) * perColumn + i);
                n.start = records.takeOriginal(o[i].start, n.length);
                n.extra = o[i].extra;
            } else {
                // The entry was checked: a whole number of records, at most a
                // block's worth, inside the patch.
                n.length = static_cast<std::uint32_t>(d[i].length);
                n.start = records.takeStored(static_cast<std::uint64_t>(d[i].offset), n.length);
            }
            putStaticPointer(&indexColumn[i * L::StaticPointerSize], n);
        }
        indexOut.append(indexColumn);
        reportColumn(progress, T::CreatingStatics, column, grid);
    }
    records.finish();
    // The new index went out along with the records; what is left of it is
    // written now, under the stage's last tenth as the window shows it.
    indexOut.flush();
    for (int column = 0; column < grid.blocksAcross; ++column)
        report(progress, T::CreatingStatics, 90 + column * 10 / grid.blocksAcross, 100);
}

// Fills `chunk`, the blocks [first, first + entries.size()) of the modified
// map, from the original map and the patch: the original blocks in one read
// spanning all of them, the stored blocks in runs that lie one after another
// in the patch (the generator stores them in index order), each run read
// straight into place, short ones through the read-ahead window.
void assembleBlocks(const MapFile& origMap, ReadAheadReader& patchReader, std::size_t first,
                    std::span<const std::int32_t> entries, std::span<std::uint8_t> chunk) {
    constexpr std::size_t B = MapLayout::BlockSize;
    const auto isStored = [](std::int32_t e) { return e != -1; };
    const auto firstOriginal = std::find_if_not(entries.begin(), entries.end(), isStored);
    if (firstOriginal != entries.end()) {
        const auto lastOriginal = std::find_if_not(entries.rbegin(), entries.rend(), isStored).base();
        const auto from = static_cast<std::size_t>(firstOriginal - entries.begin());
        const auto to = static_cast<std::size_t>(lastOriginal - entries.begin());
        origMap.readAt((first + from) * B, chunk.subspan(from * B, (to - from) * B));
    }
    for (std::size_t i = 0; i < entries.size();) {
        if (!isStored(entries[i])) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < entries.size() && isStored(entries[end]) &&
               static_cast<std::int64_t>(entries[end]) == static_cast<std::int64_t>(entries[end - 1]) + std::int64_t{B})
            ++end;
        patchReader.read(static_cast<std::uint64_t>(entries[i]), chunk.subspan(i * B, (end - i) * B));
        i = end;
    }
}

// The map index of the patch, read and checked whole before anything is
// written, with progress per block column.
LargeTable<std::int32_t> readMapEntries(const File& patch, const TSRDInfo& header, const DiffGrid& grid,
                                        const ProgressCallback& progress) {
    MapDiffColumns columns(patch, header, grid);
    LargeTable<std::int32_t> entries;
    entries.reserve(grid.blockCount());
    report(progress, T::ReadingMapIndex, 0, 100);
    for (int c = 0; c < grid.blocksAcross; ++c) {
        const auto column = columns.column(c);
        entries.insert(entries.end(), column.begin(), column.end());
        reportColumn(progress, T::ReadingMapIndex, c, grid);
    }
    return entries;
}

// Writes every block of the grid over the modified map where it stands (an
// editor holding the file open sees the new cells; its length and anything
// past the grid stay as they are), a few block columns per write. The writes
// begin on a second thread as soon as the object is made, so the map is
// written while the caller rebuilds the statics; finish() joins in.
class MapRebuild {
public:
    MapRebuild(const DiffGrid& grid, const File& patch, const LargeTable<std::int32_t>& entries,
               const MapFile& origMap, MapFile& modMap)
        : chunks_(grid), pass_(chunks_.count, [this, &patch, &entries, &origMap, &modMap]() -> TwoThreadPass::Worker {
              auto patchReader = std::make_shared<ReadAheadReader>(patch);
              auto buffer = std::make_shared<IoBuffer>(makeIoBuffer(chunks_.chunkBytes()));
              return [this, &entries, &origMap, &modMap, patchReader, buffer](int chunk) {
                  const std::size_t first = chunks_.firstBlock(chunk);
                  const std::span<const std::int32_t> chunkEntries(entries.data() + first, chunks_.blocks(chunk));
                  const std::span<std::uint8_t> blocks(buffer->get(), chunkEntries.size() * MapLayout::BlockSize);
                  assembleBlocks(origMap, *patchReader, first, chunkEntries, blocks);
                  modMap.writeAt(first * MapLayout::BlockSize, blocks);
              };
          }) {}

    void finish(const ProgressCallback& progress) {
        pass_.finish(T::CreatingMap, progress, [this](int done) { return chunks_.percentDone(done); });
    }

private:
    ColumnChunks chunks_;
    TwoThreadPass pass_;
};

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

    // On a large map the patch's two indexes take as long to read and check
    // as the original statics index's checksum: they are read on second
    // threads meanwhile, and each one's stage reported (or its error thrown)
    // in its turn.
    const bool early = hasStatics && ColumnChunks(grid).count > 1;
    auto storedStatics = startEarly(early, [&] { return readStoredStatics(patch, header, grid, {}); });
    auto mapIndex = startEarly(early && hasMap, [&] { return readMapEntries(patch, header, grid, {}); });

    RangeOrder origOrder;
    StaticsIndexColumns::Soundness origSoundness;
    if (hasStatics) {
        const File origIdx(request.original.staIdx, File::Mode::Read);
        StaticsIndexColumns original(origIdx, grid);
        result.computedCrc = original.checksum(T::Working, progress);
        origOrder = original.recordsOrder();
        origSoundness = original.soundness();
        result.recordedCrc = header.origStaIdxCrc;
        if (result.computedCrc != result.recordedCrc) {
            result.mismatchMessage = crcMismatchMessage(result.computedCrc, result.recordedCrc);
            return result;
        }
    }

    // Everything that can be checked is checked before the first write: both
    // indexes of the patch (read whole here, and the statics one again a
    // column at a time as it is used, which costs less than holding it; the
    // map index is held), what the statics take from the original set, the
    // original map's length, the modified map's presence, and room for the
    // whole map in the modified one.
    if (hasStatics) {
        const std::uint64_t stored =
            inTurn(storedStatics, T::ReadingStaticsIndex, progress,
                   [&](const ProgressCallback& p) { return readStoredStatics(patch, header, grid, p); });
        checkStaticsBeforeWriting(request, patch, header, origSoundness, stored);
    }
    LargeTable<std::int32_t> mapEntries;
    std::optional<MapFile> origMap;
    std::optional<MapFile> modMap;
    if (hasMap) {
        mapEntries = inTurn(mapIndex, T::ReadingMapIndex, progress,
                            [&](const ProgressCallback& p) { return readMapEntries(patch, header, grid, p); });
        origMap.emplace(request.original.map, File::Mode::Read);
        requireMapBlocks(*origMap, grid);
        if (!fileExists(request.modified.map))
            throw IoError(request.modified.map.string(), "The modified map file must already exist");
        modMap.emplace(request.modified.map, File::Mode::ReadWrite);
        // The map's final length is taken before its first byte is written:
        // a full disk or a file size limit stops the run with every file as
        // it was, rather than part-way through a block. A container's entries
        // cannot grow: one too short is refused here.
        modMap->reserve(grid.blockCount() * MapLayout::BlockSize);
    }

    // The map is written where it stands, on a second thread from here on.
    // The statics pair is created anew under temporary names meanwhile, and
    // both take their names together once the map is written: a failure
    // part-way never leaves a statics file that does not match its index,
    // and the original set (when the patch is applied to it in place) can
    // take the same patch again.
    std::optional<MapRebuild> mapRebuild;
    if (hasMap)
        mapRebuild.emplace(grid, patch, mapEntries, *origMap, *modMap);
    std::optional<PendingFile> newStatics;
    std::optional<PendingFile> newIndex;
    if (hasStatics) {
        newStatics.emplace(request.modified.statics);
        newIndex.emplace(request.modified.staIdx);
        rebuildStatics(request, patch, header, origOrder, *newStatics, *newIndex, progress);
    }
    if (hasMap) {
        mapRebuild->finish(progress);
        mapRebuild.reset();
        modMap->close();
    }
    if (hasStatics)
        commitTogether({&*newStatics, &*newIndex});
    result.staticsRebuilt = hasStatics;
    result.mapRebuilt = hasMap;
    result.applied = true;
    return result;
}

} // namespace stonereach
