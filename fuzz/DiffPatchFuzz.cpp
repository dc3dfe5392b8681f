// The diff patch reader and applier: header, both indexes, stored records and
// blocks, fed to the applier against a small fixed original set. A patch is
// either applied, turned away by the checksum, or refused with an error; when
// it is not applied, the modified set is exactly as it was, and no temporary
// file is left behind.
//
// Input: one flag byte (bit 0: write the original set's true checksum into
// the header, so that most inputs get past the checksum test), then the patch.
#include <algorithm>
#include <set>
#include <string>

#include "DiffSets.h"
#include "mapdata/Errors.h"
#include "patches/DiffPatchApplier.h"
#include "patches/DiffPatchReader.h"

namespace {

using namespace stonereach;

// What the modified folder holds before each run: an older modified set and a
// map with bytes past the grid, which an applied patch must keep.
struct ModifiedBefore {
    std::vector<std::uint8_t> index = std::vector<std::uint8_t>(12 * 5, 0xAB);
    std::vector<std::uint8_t> statics = std::vector<std::uint8_t>(70, 0xCD);
    std::vector<std::uint8_t> map = std::vector<std::uint8_t>(fuzz::smallGrid.blockCount() * MapLayout::BlockSize + 50, 0xEF);
};

std::set<std::string> namesIn(const std::filesystem::path& dir) {
    const auto names = fuzz::memoryFiles().namesIn(dir);
    return {names.begin(), names.end()};
}


} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const fuzz::OriginalSet& original = fuzz::originalSet();
    std::vector<std::uint8_t> patchBytes(data + 1, data + size);
    if ((data[0] & 1) != 0 && patchBytes.size() >= DiffPatchLayout::OrigStaIdxCrcOffset + 4)
        le::put32(&patchBytes[DiffPatchLayout::OrigStaIdxCrcOffset], original.indexChecksum());

    static const auto dir = fuzz::memoryFolder() / "modified";
    static const DiffFileSet modified{dir / "staidx0.mul", dir / "statics0.mul", dir / "map0.mul"};
    static const auto patchPath = fuzz::memoryFolder() / "patch.bsr";
    static const ModifiedBefore before;
    // The modified set is written again only after a run that applied a
    // patch to it: a run that did not is checked below to leave it as it was.
    static bool modifiedAsBefore = false;
    if (!modifiedAsBefore) {
        fuzz::writeFile(modified.staIdx, before.index);
        fuzz::writeFile(modified.statics, before.statics);
        fuzz::writeFile(modified.map, before.map);
    }
    modifiedAsBefore = false;
    fuzz::writeFile(patchPath, patchBytes);

    // The reader alone.
    try {
        const File patch(patchPath, File::Mode::Read);
        const DiffPatchContents contents = readDiffPatch(patch, fuzz::smallGrid);
        FUZZ_CHECK(contents.statics.size() == (contents.hasStatics() ? fuzz::smallGrid.blockCount() : 0));
        FUZZ_CHECK(contents.map.size() == (contents.hasMap() ? fuzz::smallGrid.blockCount() : 0));
    } catch (const FormatError&) {
    } catch (const IoError&) {
    }

    DiffApplyResult result;
    try {
        result = applyDiffPatch({original.files, modified, patchPath, fuzz::smallGrid}, {});
    } catch (const FormatError&) {
    } catch (const IoError&) {
    } catch (const Refusal&) {
    }

    FUZZ_CHECK((namesIn(dir) == std::set<std::string>{"map0.mul", "staidx0.mul", "statics0.mul"}));
    const auto index = fuzz::readFile(modified.staIdx);
    const auto statics = fuzz::readFile(modified.statics);
    const auto map = fuzz::readFile(modified.map);
    if (!result.applied) {
        FUZZ_CHECK(index == before.index && statics == before.statics && map == before.map);
        modifiedAsBefore = true;
        return 0;
    }
    if (result.staticsRebuilt) {
        // Every block's records lie in the rebuilt statics file, block after
        // block with no gaps.
        FUZZ_CHECK(index.size() == fuzz::smallGrid.blockCount() * 12);
        std::uint64_t end = 0;
        for (std::size_t k = 0; k < fuzz::smallGrid.blockCount(); ++k) {
            const std::uint32_t start = le::u32(&index[k * 12]);
            const std::uint32_t length = le::u32(&index[k * 12 + 4]);
            if (start == DiffPatchLayout::NoStatics)
                continue;
            FUZZ_CHECK(start == end && length % 7 == 0);
            end += length;
        }
        FUZZ_CHECK(end == statics.size());
    } else {
        FUZZ_CHECK(index == before.index && statics == before.statics);
    }
    FUZZ_CHECK(map.size() == before.map.size());
    FUZZ_CHECK(std::equal(map.end() - 50, map.end(), before.map.end() - 50));
    if (!result.mapRebuilt)
        FUZZ_CHECK(map == before.map);
    return 0;
}
