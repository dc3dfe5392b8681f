#include "patches/PlayersSet.h"

#include <system_error>

#include "mapdata/BufferedFileIO.h"
#include "mapdata/Errors.h"
#include "mapdata/File.h"
#include "mapdata/FileSystem.h"
#include "patches/DiffPatchApplier.h"
#include "patches/DiffPatchReader.h"

namespace stonereach {

namespace L = DiffPatchLayout;

namespace {

// The entry the applier writes for one block, and where the next block's
// records will start.
StaticPointer rebuiltEntry(const StaticPointer& original, const DiffStaticEntry& diff, std::size_t block,
                           std::uint64_t& end) {
    StaticPointer n;
    if (diff.emptied() || (diff.unchanged() && original.length == 0)) {
        n.extra = original.extra;
    } else if (diff.unchanged()) {
        n.length = staticRecordsLength(original, block);
        n.start = static_cast<std::uint32_t>(end);
        n.extra = original.extra;
    } else {
        n.length = static_cast<std::uint32_t>(diff.length);
        n.start = static_cast<std::uint32_t>(end);
    }
    if (n.start != L::NoStatics)
        end += n.length;
    return n;
}

void copyWhole(const std::filesystem::path& from, const std::filesystem::path& to) {
    const File source(from, File::Mode::Read);
    PendingFile target(to);
    ReadAheadReader reader(source);
    AppendWriter writer(target.file(), 0);
    writer.appendFrom(reader, 0, source.size());
    writer.flush();
    target.commit();
}

} // namespace

DiffFileSet diffFileSetIn(const std::filesystem::path& folder) {
    return DiffFileSet{folder / "staidx0.mul", folder / "statics0.mul", folder / "map0.mul"};
}

bool playersStaticsIndexDiffers(const DiffPatchRequest& generated) {
    const DiffGrid& grid = generated.grid;
    const File patch(generated.patch, File::Mode::Read);
    const TSRDInfo header = readDiffPatchHeader(patch);
    if (header.staticsIndexOffset == L::NoSection)
        return false;
    const File originalFile(generated.original.staIdx, File::Mode::Read);
    const File modifiedFile(generated.modified.staIdx, File::Mode::Read);
    StaticsIndexColumns original(originalFile, grid);
    StaticsIndexColumns modified(modifiedFile, grid);
    StaticsDiffColumns diff(patch, header, grid);
    const auto perColumn = static_cast<std::size_t>(grid.blocksDown);
    std::uint64_t end = 0;
    for (int column = 0; column < grid.blocksAcross; ++column) {
        const auto o = original.column(column);
        const auto m = modified.column(column);
        const auto d = diff.column(column);
        for (std::size_t i = 0; i < perColumn; ++i)
            if (!(rebuiltEntry(o[i], d[i], static_cast<std::size_t>(column) * perColumn + i, end) == m[i]))
                return true;
    }
    return false;
}

DiffFileSet writePlayersSet(const DiffPatchRequest& generated, const std::filesystem::path& folder,
                            const ProgressCallback& progress) {
    const DiffFileSet players = diffFileSetIn(folder);
    for (const std::filesystem::path& target : {players.staIdx, players.statics, players.map})
        for (const DiffFileSet* set : {&generated.original, &generated.modified})
            for (const std::filesystem::path& input : {set->staIdx, set->statics, set->map})
                if (sameFile(target, input))
                    throw Refusal("The players' set would overwrite " + input.string() +
                                  ": choose a folder of its own for it.");
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw IoError(folder.string(), error.message());

    bool hasStatics = false;
    {
        const File patch(generated.patch, File::Mode::Read);
        hasStatics = readDiffPatchHeader(patch).staticsIndexOffset != L::NoSection;
    }
    // The map is applied where it stands, so it starts as the original; the
    // statics are rebuilt whole, or stay the original ones.
    report(progress, PlayersSetTexts::Copying, 0, 100);
    copyWhole(generated.original.map, players.map);
    if (!hasStatics) {
        copyWhole(generated.original.staIdx, players.staIdx);
        copyWhole(generated.original.statics, players.statics);
    }
    report(progress, PlayersSetTexts::Copying, 100, 100);
    const DiffApplyResult result = applyDiffPatch({generated.original, players, generated.patch, generated.grid}, progress);
    if (!result.applied)
        throw FormatError(result.mismatchMessage);
    return players;
}

} // namespace stonereach
