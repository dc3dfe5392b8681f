// Diff patch generation and application on a failing disk: a failure injected
// at every file operation in turn must reach the caller as an IoError naming
// the file and the cause, leave every file that existed before byte for byte
// as it was, and leave no temporary file behind.
#include <algorithm>

#include <gtest/gtest.h>

#include "core/patches/DiffFileSet.h"
#include "mapdata/Errors.h"
#include "patches/DiffPatchApplier.h"
#include "patches/DiffPatchGenerator.h"
#include "support/FailingDevice.h"

namespace stonereach {
namespace {

using test::StaticsSet;

constexpr DiffGrid SmallGrid{4, 3};

class DiffPatchFaults : public ::testing::Test {
protected:
    test::TempDir dir;
    DiffFileSet origFiles;
    DiffFileSet modFiles;
    DiffFileSet outFiles;
    std::filesystem::path patch = dir / "p.bsr";

    void SetUp() override {
        StaticsSet original(SmallGrid);
        original.fillAllBlocks(1);
        StaticsSet modified = original;
        modified.index[0] = StaticPointer{DiffPatchLayout::NoStatics, 0, 55};
        modified.setRecords(4, 3, 9, 4444);
        modified.setRecords(7, 1, 2, 7);
        modified.map[5 * 196 + 50] ^= 0x5A;
        modified.map[11 * 196 + 3] ^= 0x11;
        origFiles = original.write(dir / "orig");
        modFiles = modified.write(dir / "mod");
        // The set a patch is applied to holds older files, all to be replaced.
        StaticsSet older(SmallGrid);
        older.fillAllBlocks(40);
        outFiles = older.write(dir / "out");
    }

    void generate() { generateDiffPatch({origFiles, modFiles, patch, true, true, SmallGrid}, {}); }
    DiffApplyResult apply() { return applyDiffPatch({origFiles, outFiles, patch, SmallGrid}, {}); }
};

TEST_F(DiffPatchFaults, GenerationLeavesAnEarlierPatchAndNoPartialFile) {
    test::writeBytes(patch, {1, 2, 3, 4});
    test::expectCleanFailureAtEveryStep(dir.path(), [&] { generate(); });
}

TEST_F(DiffPatchFaults, GenerationOfANewPatchLeavesNothingBehind) {
    test::expectCleanFailureAtEveryStep(dir.path(), [&] { generate(); });
}

// The statics pair is replaced whole, both files together; the map is written
// where it stands, block column by block column, so after a failure each of
// its blocks is either the old one or the new one.
TEST_F(DiffPatchFaults, ApplicationNeverSplitsTheStaticsPairOrABlock) {
    generate();
    const auto oldSet = test::snapshotFiles(dir.path());
    ASSERT_TRUE(apply().applied);
    const auto newSet = test::snapshotFiles(dir.path());
    for (const auto& [name, bytes] : oldSet)
        test::writeBytes(dir / name, bytes);

    const std::string index = "out/staidx0.mul", statics = "out/statics0.mul", map = "out/map0.mul";
    const auto check = [&](const test::FileSnapshot&, const test::FileSnapshot& after, const std::string& what) {
        const bool oldPair = after.at(index) == oldSet.at(index) && after.at(statics) == oldSet.at(statics);
        const bool newPair = after.at(index) == newSet.at(index) && after.at(statics) == newSet.at(statics);
        EXPECT_TRUE(oldPair || newPair) << "statics pair split after " << what;
        const auto& got = after.at(map);
        ASSERT_EQ(got.size(), oldSet.at(map).size()) << what;
        for (std::size_t block = 0; block < got.size() / 196; ++block) {
            const auto first = static_cast<std::ptrdiff_t>(block * 196);
            const auto same = [&](const std::vector<std::uint8_t>& v) {
                return std::equal(got.begin() + first, got.begin() + first + 196, v.begin() + first);
            };
            EXPECT_TRUE(same(oldSet.at(map)) || same(newSet.at(map))) << "block " << block << " torn after " << what;
        }
    };
    test::expectCleanFailureAtEveryStep(dir.path(), [&] { ASSERT_TRUE(apply().applied); }, 400,
                                        {index, statics, map}, check);
}

} // namespace
} // namespace stonereach
