// Diff patch generation from the user's modified set (any statics index and
// statics file), then application to the original set: the rebuilt set holds,
// block by block, the same statics records and map blocks as the modified set
// the patch was made from. A modified set the generator cannot read is
// refused with an error and leaves no patch behind.
//
// Input: the lengths of the modified staidx0.mul and statics0.mul (2 bytes
// each), their bytes, then map bytes laid over the original map.
#include <algorithm>
#include <set>
#include <string>

#include "DiffSets.h"
#include "mapdata/Errors.h"
#include "patches/DiffPatchApplier.h"
#include "patches/DiffPatchGenerator.h"

namespace {

using namespace stonereach;
using fuzz::take;


} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::OriginalSet& original = fuzz::originalSet();
    std::span<const std::uint8_t> input(data, size);
    const std::size_t indexLength = take<std::uint16_t>(input);
    const std::size_t staticsLength = take<std::uint16_t>(input);
    const std::vector<std::uint8_t> index(input.begin(), input.begin() + static_cast<long>(std::min(indexLength, input.size())));
    input = input.subspan(index.size());
    const std::vector<std::uint8_t> statics(input.begin(), input.begin() + static_cast<long>(std::min(staticsLength, input.size())));
    input = input.subspan(statics.size());
    std::vector<std::uint8_t> map = original.map;
    std::copy_n(input.begin(), std::min(input.size(), map.size()), map.begin());

    static const auto modDir = fuzz::memoryFolder() / "roundtrip-modified";
    static const auto outDir = fuzz::memoryFolder() / "roundtrip-rebuilt";
    static const DiffFileSet modified{modDir / "staidx0.mul", modDir / "statics0.mul", modDir / "map0.mul"};
    static const DiffFileSet rebuilt{outDir / "staidx0.mul", outDir / "statics0.mul", outDir / "map0.mul"};
    static const auto patch = outDir / "patch.bsr";
    fuzz::memoryFiles().removeAllBelow(outDir);
    fuzz::writeFile(modified.staIdx, index);
    fuzz::writeFile(modified.statics, statics);
    fuzz::writeFile(modified.map, map);

    try {
        generateDiffPatch({original.files, modified, patch, true, true, fuzz::smallGrid}, {});
    } catch (const Error&) {
        // Unreadable modified statics: refused, and nothing left behind.
        FUZZ_CHECK(fuzz::memoryFiles().namesIn(outDir).empty());
        return 0;
    }

    fuzz::writeFile(rebuilt.map, std::vector<std::uint8_t>(map.size()));
    const DiffApplyResult result = applyDiffPatch({original.files, rebuilt, patch, fuzz::smallGrid}, {});
    FUZZ_CHECK(result.applied && result.staticsRebuilt && result.mapRebuilt);

    FUZZ_CHECK(fuzz::readFile(rebuilt.map) == map);
    const auto rebuiltIndex = fuzz::readFile(rebuilt.staIdx);
    const auto rebuiltStatics = fuzz::readFile(rebuilt.statics);
    FUZZ_CHECK(rebuiltIndex.size() == fuzz::smallGrid.blockCount() * 12);
    for (std::size_t k = 0; k < fuzz::smallGrid.blockCount(); ++k) {
        const auto got = fuzz::blockRecords(rebuiltIndex, rebuiltStatics, k);
        const std::uint32_t start = le::u32(&index[k * 12]);
        const std::uint32_t length = le::u32(&index[k * 12 + 4]);
        if (start == DiffPatchLayout::NoStatics)
            FUZZ_CHECK(got.empty());
        else if (start == le::u32(&original.index[k * 12]) && length == le::u32(&original.index[k * 12 + 4]))
            // Judged unchanged from the index alone: copied from the original.
            FUZZ_CHECK(got == fuzz::blockRecords(original.index, original.statics, k));
        else
            FUZZ_CHECK(got == fuzz::blockRecords(index, statics, k));
    }
    return 0;
}
