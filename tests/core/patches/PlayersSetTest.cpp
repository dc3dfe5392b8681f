#include "patches/PlayersSet.h"

#include <gtest/gtest.h>

#include "core/patches/DiffFileSet.h"
#include "mapdata/Errors.h"
#include "patches/DiffPatchApplier.h"

namespace stonereach {
namespace {

using test::StaticsSet;
namespace L = DiffPatchLayout;

constexpr DiffGrid SmallGrid{4, 3};

class PlayersSet : public ::testing::Test {
protected:
    test::TempDir dir;
    StaticsSet original{SmallGrid};
    StaticsSet modified{SmallGrid};

    // Generates the patch from the two sets as they stand.
    DiffPatchRequest generate() {
        DiffPatchRequest request{original.write(dir / "orig"), modified.write(dir / "mod"), dir / "p.bsr", true,
                                 true, SmallGrid};
        generateDiffPatch(request, {});
        return request;
    }
};

// The set written is what a player gets by applying the patch to a copy of
// the original set, and the prediction says whether its index differs.
TEST_F(PlayersSet, IsWhatPlayersGetAndThePredictionMatchesIt) {
    // Records packed in block order, one block empty: the applier's layout.
    for (std::size_t k = 0; k < original.index.size(); ++k)
        if (k != 3)
            original.setRecords(k, 1 + static_cast<int>(k % 2), static_cast<int>(k), static_cast<std::uint32_t>(k));
    original.index[3] = StaticPointer{L::NoStatics, L::NoStatics, 7};
    modified = original;
    modified.map[2 * 196 + 9] ^= 0x33;
    // A packed set changed only in its map: the players' index is the same.
    const DiffPatchRequest same = generate();
    EXPECT_FALSE(playersStaticsIndexDiffers(same));
    const DiffFileSet players = writePlayersSet(same, dir / "players", {});
    EXPECT_EQ(test::readBytes(players.staIdx), modified.indexBytes());
    EXPECT_EQ(test::readBytes(players.map), modified.map);

    // Empty blocks with a valid offset and length 0, a changed Extra, a block
    // moved: the players' index differs from the modified one.
    modified.index[1] = StaticPointer{0, 0, 99};
    modified.index[5].extra = 1234;
    modified.setRecords(6, 2, 40, 6);
    const DiffPatchRequest differs = generate();
    EXPECT_TRUE(playersStaticsIndexDiffers(differs));
    const DiffFileSet written = writePlayersSet(differs, dir / "players", {});
    EXPECT_NE(test::readBytes(written.staIdx), modified.indexBytes());

    // A player's own copy of the original, patched, holds the same bytes.
    const StaticsSet copy = original;
    const DiffFileSet player = copy.write(dir / "player");
    ASSERT_TRUE(applyDiffPatch({differs.original, player, differs.patch, SmallGrid}, {}).applied);
    for (const auto& [mine, theirs] : {std::pair{written.staIdx, player.staIdx}, {written.statics, player.statics},
                                      {written.map, player.map}})
        EXPECT_EQ(test::readBytes(mine), test::readBytes(theirs)) << mine;
}

TEST_F(PlayersSet, NeverOverwritesTheSetsItIsMadeFromAndCopiesTheStaticsAPatchLeavesAlone) {
    original.fillAllBlocks(3);
    modified = original;
    modified.map[0] ^= 1;
    DiffPatchRequest request{original.write(dir / "orig"), modified.write(dir / "mod"), dir / "p.bsr", false, true,
                             SmallGrid};
    generateDiffPatch(request, {});
    const auto before = test::readBytes(request.original.map);
    EXPECT_THROW(writePlayersSet(request, dir / "orig", {}), Refusal);
    EXPECT_THROW(writePlayersSet(request, dir / "mod", {}), Refusal);
    EXPECT_EQ(test::readBytes(request.original.map), before);
    EXPECT_FALSE(playersStaticsIndexDiffers(request)) << "no statics section";

    const DiffFileSet players = writePlayersSet(request, dir / "new" / "players", {});
    EXPECT_EQ(test::readBytes(players.staIdx), original.indexBytes());
    EXPECT_EQ(test::readBytes(players.statics), original.statics);
    EXPECT_EQ(test::readBytes(players.map), modified.map);
}

} // namespace
} // namespace stonereach
