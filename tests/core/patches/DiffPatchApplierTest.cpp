#include "patches/DiffPatchApplier.h"

#include <cstdio>
#include <chrono>
#include <random>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include "core/patches/DiffFileSet.h"
#include "mapdata/Errors.h"
#include "mapdata/File.h"
#include "mapdata/FileSystem.h"
#include "support/FailingDevice.h"

namespace stonereach {
namespace {

using test::StaticsSet;
namespace L = DiffPatchLayout;

constexpr DiffGrid SmallGrid{4, 3};

std::string intToSpacedHex4(std::uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X %02X %02X", v >> 24, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    return text;
}

class DiffPatchApplication : public ::testing::Test {
protected:
    test::TempDir dir;
    StaticsSet original{SmallGrid};
    StaticsSet modified{SmallGrid};
    DiffFileSet origFiles;
    DiffFileSet outFiles;

    void SetUp() override {
        original.fillAllBlocks(1);
        modified = original;
    }

    // Generates the patch, then prepares the output set: a copy of `seed`
    // (the modified map0.mul must exist before applying).
    std::filesystem::path makePatch(bool statics = true, bool map = true) {
        origFiles = original.write(dir / "orig");
        const DiffFileSet modFiles = modified.write(dir / "mod");
        const auto patch = dir / "p.bsr";
        generateDiffPatch({origFiles, modFiles, patch, statics, map, SmallGrid}, {});
        outFiles = StaticsSet(SmallGrid).write(dir / "out");
        return patch;
    }

    DiffApplyResult apply(const std::filesystem::path& patch) {
        return applyDiffPatch({origFiles, outFiles, patch, SmallGrid}, {});
    }
};

TEST_F(DiffPatchApplication, RebuildsTheModifiedSetInIndexOrder) {
    modified.index[0] = StaticPointer{L::NoStatics, 0, 55};  // emptied
    modified.setRecords(4, 3, 9, 4444);                      // stored in the patch
    modified.map[5 * 196 + 50] ^= 0x5A;
    const auto patch = makePatch();
    const auto result = apply(patch);
    ASSERT_TRUE(result.applied);
    EXPECT_TRUE(result.staticsRebuilt);
    EXPECT_TRUE(result.mapRebuilt);

    EXPECT_EQ(test::readBytes(outFiles.map), modified.map);
    const auto index = test::decodeIndex(test::readBytes(outFiles.staIdx));
    const auto statics = test::readBytes(outFiles.statics);
    ASSERT_EQ(index.size(), SmallGrid.blockCount());
    std::uint32_t end = 0;
    for (std::size_t k = 0; k < index.size(); ++k) {
        const StaticPointer& m = modified.index[k];
        if (k == 0) {
            // Emptied blocks keep the original Extra.
            EXPECT_EQ(index[k], (StaticPointer{L::NoStatics, L::NoStatics, original.index[0].extra}));
            continue;
        }
        // Blocks follow one another without gaps, in index order.
        EXPECT_EQ(index[k].start, end) << k;
        EXPECT_EQ(index[k].length, m.length) << k;
        EXPECT_EQ(index[k].extra, k == 4 ? L::NoStatics : original.index[k].extra) << k;
        EXPECT_TRUE(std::equal(statics.begin() + end, statics.begin() + end + m.length,
                               modified.statics.begin() + m.start))
            << k;
        end += m.length;
    }
    EXPECT_EQ(statics.size(), end);
}

TEST_F(DiffPatchApplication, UnchangedBlocksFollowTheOriginalEntryRules) {
    // Start set, Length 0: no records, written as an empty entry.
    original.index[1] = StaticPointer{40, 0, 11};
    // Start 0xFFFFFFFF, Length nonzero: an empty block at the current end.
    // (The modified block, Start set and no records, compares equal to it.)
    original.index[2] = StaticPointer{L::NoStatics, 21, 22};
    modified = original;
    modified.index[2] = StaticPointer{0, 0, 22};
    const auto patch = makePatch();
    ASSERT_TRUE(apply(patch).applied);
    const auto index = test::decodeIndex(test::readBytes(outFiles.staIdx));
    EXPECT_EQ(index[1], (StaticPointer{L::NoStatics, L::NoStatics, 11}));
    EXPECT_EQ(index[2], (StaticPointer{original.index[0].length, 0, 22}));
    EXPECT_EQ(index[3].start, original.index[0].length);
}

TEST_F(DiffPatchApplication, ChecksumMismatchWritesNothingAndSaysBothValues) {
    const auto patch = makePatch();
    original.index[3].extra ^= 0x01020304;
    original.write(dir / "orig");
    const auto before = test::readBytes(outFiles.statics);
    std::vector<std::string> stages;
    const auto result = applyDiffPatch({origFiles, outFiles, patch, SmallGrid},
                                       [&](const ProgressReport& r) { stages.emplace_back(r.text); });
    EXPECT_FALSE(result.applied);
    EXPECT_EQ(result.computedCrc ^ result.recordedCrc, 0x01020304u);
    EXPECT_EQ(result.mismatchMessage,
              "The CRC value of your orginal statics file (" + intToSpacedHex4(result.computedCrc) +
                  ") does not match the one used to generate this BSR file (" +
                  intToSpacedHex4(result.recordedCrc) +
                  "). To apply this BSR you need to get the correct original files!");
    EXPECT_EQ(test::readBytes(outFiles.statics), before);
    EXPECT_EQ(test::readBytes(outFiles.map), StaticsSet(SmallGrid).map);
    EXPECT_EQ(std::count(stages.begin(), stages.end(), "Working, please wait..."), static_cast<long>(stages.size()));
}

TEST(DiffPatchCrcMessage, ShowsChecksumsMostSignificantByteFirst) {
    EXPECT_EQ(crcMismatchMessage(0x12345678, 0xABCDEF01),
              "The CRC value of your orginal statics file (12 34 56 78) does not match the one used to generate "
              "this BSR file (AB CD EF 01). To apply this BSR you need to get the correct original files!");
}

TEST_F(DiffPatchApplication, MapOnlyPatchIgnoresStaticsAndTheirChecksum) {
    modified.map[9 * 196 + 3] ^= 1;
    const auto patch = makePatch(false, true);
    original.index[0].extra ^= 1;  // would fail a checksum test
    original.write(dir / "orig");
    const auto staticsBefore = test::readBytes(outFiles.statics);
    const auto indexBefore = test::readBytes(outFiles.staIdx);
    const auto result = apply(patch);
    EXPECT_TRUE(result.applied);
    EXPECT_FALSE(result.staticsRebuilt);
    EXPECT_EQ(test::readBytes(outFiles.statics), staticsBefore);
    EXPECT_EQ(test::readBytes(outFiles.staIdx), indexBefore);
    EXPECT_EQ(test::readBytes(outFiles.map), modified.map);
}

TEST_F(DiffPatchApplication, StaticsOnlyPatchLeavesTheMapAndWritesNoMapBeyondTheGrid) {
    const auto patch = makePatch(true, false);
    auto longer = StaticsSet(SmallGrid).map;
    longer.push_back(0xEE);  // anything past the grid stays
    test::writeBytes(outFiles.map, longer);
    ASSERT_TRUE(apply(patch).applied);
    EXPECT_EQ(test::readBytes(outFiles.map), longer);
}

TEST_F(DiffPatchApplication, MapIsWrittenInPlaceWithoutTruncation) {
    modified.map[0] ^= 1;
    const auto patch = makePatch();
    auto longer = StaticsSet(SmallGrid).map;
    longer.insert(longer.end(), {1, 2, 3});
    test::writeBytes(outFiles.map, longer);
    ASSERT_TRUE(apply(patch).applied);
    auto expected = modified.map;
    expected.insert(expected.end(), {1, 2, 3});
    EXPECT_EQ(test::readBytes(outFiles.map), expected);
}

TEST_F(DiffPatchApplication, AnEditorHoldingTheMapOpenSeesTheAppliedBlocks) {
    modified.map[7 * 196 + 20] ^= 0x33;
    const auto patch = makePatch();
    const File held(outFiles.map, File::Mode::Read);
    ASSERT_TRUE(apply(patch).applied);
    std::vector<std::uint8_t> seen(modified.map.size());
    held.readAt(0, seen);
    EXPECT_EQ(seen, modified.map);
}

TEST_F(DiffPatchApplication, MissingModifiedMapIsRefusedBeforeTheStaticsAreWritten) {
    const auto patch = makePatch();
    std::filesystem::remove(outFiles.map);
    const auto before = test::readBytes(outFiles.statics);
    EXPECT_THROW(apply(patch), IoError);
    EXPECT_EQ(test::readBytes(outFiles.statics), before);
    EXPECT_FALSE(fileExists(outFiles.map));
}

TEST_F(DiffPatchApplication, RebuildsInPlaceOverTheOriginalSet) {
    modified.setRecords(2, 4, 3);
    modified.map[100] ^= 1;
    const auto patch = makePatch();
    outFiles = origFiles;
    ASSERT_TRUE(apply(patch).applied);
    EXPECT_EQ(test::readBytes(origFiles.map), modified.map);
    const auto index = test::decodeIndex(test::readBytes(origFiles.staIdx));
    const auto statics = test::readBytes(origFiles.statics);
    EXPECT_TRUE(std::equal(statics.begin() + index[2].start, statics.begin() + index[2].start + index[2].length,
                           modified.statics.end() - 28));
}

// The set with every tenth block of the map and of the statics changed, the
// new records appended to statics0.mul.
StaticsSet everyTenthBlockChanged(const StaticsSet& original) {
    StaticsSet modified = original;
    for (std::size_t k = 0; k < original.grid.blockCount(); k += 10) {
        modified.map[k * 196 + 7] ^= 0x5A;
        modified.setRecords(k, 2, static_cast<int>(k));
    }
    return modified;
}

// A full-size patch whose stored blocks are scattered (every tenth block of
// the map and of the statics): the patch, the original files and the outputs
// are read and written in long runs, not block by block (which took some
// 80,000 reads), and the rebuilt set is the modified one.
TEST(DiffPatchApplicationReads, ScatteredBlocksAreReadInLongRuns) {
    test::TempDir dir;
    const DiffGrid full;
    StaticsSet original(full);
    original.fillAllBlocks(1);
    const StaticsSet modified = everyTenthBlockChanged(original);
    const DiffFileSet origFiles = original.write(dir / "orig");
    const DiffFileSet modFiles = modified.write(dir / "mod");
    generateDiffPatch({origFiles, modFiles, dir / "p.bsr", true, true, full}, {});
    std::filesystem::create_directory(dir / "out");
    const DiffFileSet outFiles{dir / "out" / "staidx0.mul", dir / "out" / "statics0.mul", dir / "out" / "map0.mul"};
    std::filesystem::copy_file(origFiles.map, outFiles.map);

    test::FailingDevice reads(std::nullopt, 0, {IoOperation::Read});
    test::FailingDevice writes(std::nullopt, 0, {IoOperation::Write});
    {
        ScopedFaultInjector countReads(reads);
        ASSERT_TRUE(applyDiffPatch({origFiles, outFiles, dir / "p.bsr", full}, {}).applied);
    }
    {
        std::filesystem::remove(outFiles.staIdx);
        std::filesystem::remove(outFiles.statics);
        ScopedFaultInjector countWrites(writes);
        ASSERT_TRUE(applyDiffPatch({origFiles, outFiles, dir / "p.bsr", full}, {}).applied);
    }
    // 39,322 blocks of each kind are stored in the patch.
    EXPECT_LT(reads.count(), 1000u);
    EXPECT_LT(writes.count(), 1000u);

    EXPECT_TRUE(test::readBytes(outFiles.map) == modified.map);
    const auto index = test::decodeIndex(test::readBytes(outFiles.staIdx));
    const auto statics = test::readBytes(outFiles.statics);
    std::uint32_t end = 0;
    for (std::size_t k = 0; k < full.blockCount(); ++k) {
        const StaticPointer& m = modified.index[k];
        ASSERT_EQ(index[k], (StaticPointer{end, m.length, k % 10 == 0 ? L::NoStatics : m.extra})) << k;
        ASSERT_TRUE(std::equal(statics.begin() + end, statics.begin() + end + m.length,
                               modified.statics.begin() + m.start))
            << k;
        end += m.length;
    }
    EXPECT_EQ(statics.size(), end);
}

// The same statics laid out in three orders: the index's, a random one, and
// half in place with the rest written again at the end. The patches made
// from them differ only in the original set's checksum and size, applying
// them rebuilds the same files, and neither run reads block by block (some
// 350,000 reads): the records are read in file order.
TEST(DiffPatchStaticsOrder, StaticsInAnyOrderGiveTheSameFilesInFewReads) {
    test::TempDir dir;
    const DiffGrid full;
    StaticsSet ordered(full);
    ordered.fillAllBlocks(1);
    // Its changed blocks are written again at the end of statics0.mul, so the
    // modified set is out of order too.
    const StaticsSet modified = everyTenthBlockChanged(ordered);
    const DiffFileSet modFiles = modified.write(dir / "mod");

    std::vector<std::vector<std::uint8_t>> outputs[3];
    const StaticsSet originals[3] = {ordered, ordered.laidOut(StaticsSet::Layout::Scattered, 5),
                                     ordered.laidOut(StaticsSet::Layout::HalfMoved, 6)};
    for (int order = 0; order < 3; ++order) {
        SCOPED_TRACE(order);
        const DiffFileSet origFiles = originals[order].write(dir / "orig");
        std::filesystem::create_directories(dir / "out");
        const DiffFileSet outFiles{dir / "out" / "staidx0.mul", dir / "out" / "statics0.mul", dir / "out" / "map0.mul"};
        std::filesystem::copy_file(origFiles.map, outFiles.map, std::filesystem::copy_options::overwrite_existing);
        test::FailingDevice generateReads(std::nullopt, 0, {IoOperation::Read});
        test::FailingDevice applyReads(std::nullopt, 0, {IoOperation::Read});
        {
            ScopedFaultInjector counting(generateReads);
            generateDiffPatch({origFiles, modFiles, dir / "p.bsr", true, true, full}, {});
        }
        {
            ScopedFaultInjector counting(applyReads);
            ASSERT_TRUE(applyDiffPatch({origFiles, outFiles, dir / "p.bsr", full}, {}).applied);
        }
        EXPECT_LT(generateReads.count(), 3000u);
        EXPECT_LT(applyReads.count(), 1500u);
        outputs[order] = {test::readBytes(dir / "p.bsr"), test::readBytes(outFiles.staIdx),
                          test::readBytes(outFiles.statics), test::readBytes(outFiles.map)};
    }
    for (std::size_t order = 1; order < 3; ++order) {
        auto patch = outputs[order][0];
        ASSERT_EQ(patch.size(), outputs[0][0].size());
        std::copy_n(outputs[0][0].begin() + 22, 8, patch.begin() + 22);  // OrigStaIdxCrc, OrigStaticsSize
        EXPECT_TRUE(patch == outputs[0][0]) << order;
        for (std::size_t file = 1; file < 4; ++file)
            EXPECT_TRUE(outputs[order][file] == outputs[0][file]) << order << " " << file;
    }
    EXPECT_TRUE(outputs[0][3] == modified.map);
}

// A bad Length met among scattered records stops the run with the fixed
// message, as in index order, and nothing is written.
TEST(DiffPatchStaticsOrder, ABadLengthAmongScatteredRecordsStopsTheRun) {
    test::TempDir dir;
    StaticsSet ordered(SmallGrid);
    ordered.fillAllBlocks(1);
    StaticsSet original = ordered.laidOut(StaticsSet::Layout::Scattered, 9);
    original.index[7].length = 10;
    StaticsSet modified = original;  // block 7 judged unchanged: only applying reads it
    modified.setRecords(3, 1, 3);
    const DiffFileSet origFiles = original.write(dir / "orig");
    generateDiffPatch({origFiles, modified.write(dir / "mod"), dir / "p.bsr", true, true, SmallGrid}, {});
    const DiffFileSet outFiles = StaticsSet(SmallGrid).write(dir / "out");
    const auto before = test::readBytes(outFiles.statics);
    try {
        applyDiffPatch({origFiles, outFiles, dir / "p.bsr", SmallGrid}, {});
        FAIL() << "expected the length check";
    } catch (const FormatError& e) {
        EXPECT_STREQ(e.what(), "StaticPointer.Length is not a multiple of SizeOf(TStaticRec)");
    }
    EXPECT_EQ(test::readBytes(outFiles.statics), before);
    modified.index[7] = ordered.index[7];  // now compared, and refused
    modified.index[7].start += 1;
    EXPECT_THROW(generateDiffPatch({origFiles, modified.write(dir / "mod"), dir / "q.bsr", true, true, SmallGrid}, {}),
                 FormatError);
    EXPECT_FALSE(std::filesystem::exists(dir / "q.bsr"));
}

// A grid of two chunks, where applying uses its second threads.
constexpr DiffGrid TwoChunks{20, 512};

StaticsSet filledSet(const DiffGrid& grid) {
    StaticsSet set(grid);
    set.fillAllBlocks(1);
    return set;
}

// Writes `original` to dir/orig, and to dir/p.bsr the patch that changes
// every tenth block of it; returns the original's files.
DiffFileSet writeEveryTenthBlockPatch(const StaticsSet& original, const std::filesystem::path& dir) {
    const DiffFileSet origFiles = original.write(dir / "orig");
    generateDiffPatch(
        {origFiles, everyTenthBlockChanged(original).write(dir / "mod"), dir / "p.bsr", true, true, original.grid}, {});
    return origFiles;
}

// The map is written on a second thread while the statics are rebuilt, so
// whatever would stop the rebuild in an original block the patch keeps (a bad
// length, records past the end of statics0.mul) is found before either
// starts: on a grid of many chunks, neither output file changes.
TEST(DiffPatchStaticsOrder, ADamagedKeptBlockStopsTheRunBeforeTheMapIsWritten) {
    const DiffGrid grid = TwoChunks;
    for (const bool pastTheEnd : {false, true}) {
        SCOPED_TRACE(pastTheEnd);
        test::TempDir dir;
        StaticsSet original(grid);
        original.fillAllBlocks(1);
        StaticsSet modified = everyTenthBlockChanged(original);
        const std::size_t kept = grid.blockCount() - 3;  // late in the walk, and not changed
        if (pastTheEnd)
            original.index[kept] = {static_cast<std::uint32_t>(original.statics.size()) - 7, 14, 0};
        else
            original.index[kept].length = 10;
        modified.index[kept] = original.index[kept];
        const DiffFileSet origFiles = original.write(dir / "orig");
        generateDiffPatch({origFiles, modified.write(dir / "mod"), dir / "p.bsr", true, true, grid}, {});
        const DiffFileSet outFiles = StaticsSet(grid).write(dir / "out");
        const auto before = test::snapshotFiles(dir / "out");
        // Were the statics rebuilt before the check, the map would be written
        // meanwhile: the pause gives the second thread the time to.
        bool paused = false;
        const auto pauseWhenTheStaticsBegin = [&](const ProgressReport& r) {
            if (r.text == DiffApplyTexts::CreatingStatics && !std::exchange(paused, true))
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
        };
        EXPECT_THROW(applyDiffPatch({origFiles, outFiles, dir / "p.bsr", grid}, pauseWhenTheStaticsBegin), Error);
        EXPECT_TRUE(test::snapshotFiles(dir / "out") == before) << "an output file changed";
    }
}

// Damage in an original block the patch replaces is no matter: nothing is
// taken from it, so the run goes through and writes what it writes from the
// sound set. (The damage keeps the index's checksum, as the XOR of its words,
// by flipping the same bits in the block's Extra.)
TEST(DiffPatchStaticsOrder, DamageInABlockThePatchReplacesIsNoMatter) {
    const DiffGrid grid = TwoChunks;
    test::TempDir dir;
    const StaticsSet original = filledSet(grid);
    const DiffFileSet origFiles = writeEveryTenthBlockPatch(original, dir.path());
    const DiffFileSet soundOut = StaticsSet(grid).write(dir / "sound");
    applyDiffPatch({origFiles, soundOut, dir / "p.bsr", grid}, {});

    const std::size_t replaced = grid.blockCount() - 10;
    for (const std::uint32_t flip : {0x3u /* a Length of 4 records and 4/7 */, 0x40000000u /* past the end */}) {
        SCOPED_TRACE(flip);
        StaticsSet damaged = original;
        (flip == 0x3u ? damaged.index[replaced].length : damaged.index[replaced].start) ^= flip;
        damaged.index[replaced].extra ^= flip;
        const DiffFileSet damagedFiles = damaged.write(dir / "damaged");
        const DiffFileSet out = StaticsSet(grid).write(dir / "out");
        const DiffApplyResult result = applyDiffPatch({damagedFiles, out, dir / "p.bsr", grid}, {});
        ASSERT_TRUE(result.applied) << result.mismatchMessage;
        EXPECT_TRUE(test::readBytes(out.statics) == test::readBytes(soundOut.statics));
        EXPECT_TRUE(test::readBytes(out.staIdx) == test::readBytes(soundOut.staIdx));
        EXPECT_TRUE(test::readBytes(out.map) == test::readBytes(soundOut.map));
    }
}

// On a grid of many chunks the map index is read beside the statics passes;
// what is found is still told in the order of the stages: a checksum that
// does not match before a damaged map index, a damaged kept statics block
// before it too, and the map index's own refusal when nothing comes first.
TEST(DiffPatchStaticsOrder, FindingsAreToldInTheOrderOfTheStages) {
    const DiffGrid grid = TwoChunks;
    test::TempDir dir;
    const StaticsSet original = filledSet(grid);
    const DiffFileSet origFiles = writeEveryTenthBlockPatch(original, dir.path());
    auto bytes = test::readBytes(dir / "p.bsr");
    le::putI32(&bytes[le::u32(&bytes[38]) + 4], -7);  // the second block's entry
    test::writeBytes(dir / "p.bsr", bytes);
    const DiffFileSet out = StaticsSet(grid).write(dir / "out");
    const auto before = test::snapshotFiles(dir / "out");
    const auto refusal = [&](const DiffFileSet& from) -> std::string {
        try {
            const DiffApplyResult result = applyDiffPatch({from, out, dir / "p.bsr", grid}, {});
            return result.applied ? "applied" : "checksum";
        } catch (const Error& e) {
            return e.what();
        }
    };
    EXPECT_NE(refusal(origFiles).find("lies outside the file"), std::string::npos);

    StaticsSet other = original;
    other.index[5].extra ^= 1;
    EXPECT_EQ(refusal(other.write(dir / "other")), "checksum");

    StaticsSet damaged = original;
    damaged.index[7].length ^= 3;  // kept, and the checksum kept by the Extra
    damaged.index[7].extra ^= 3;
    EXPECT_EQ(refusal(damaged.write(dir / "damaged")), StaticLengthMessage);
    EXPECT_TRUE(test::snapshotFiles(dir / "out") == before);
}

// Damaged patches are refused before anything is written.
class DamagedDiffPatch : public DiffPatchApplication {
protected:
    std::vector<std::uint8_t> bytes;
    std::filesystem::path patch;

    void SetUp() override {
        DiffPatchApplication::SetUp();
        modified.setRecords(1, 2, 4);
        modified.map[2 * 196 + 8] ^= 1;
        patch = makePatch();
        bytes = test::readBytes(patch);
    }

    void expectRefused(const std::string& fragment) {
        test::writeBytes(patch, bytes);
        const auto statics = test::readBytes(outFiles.statics);
        const auto map = test::readBytes(outFiles.map);
        try {
            apply(patch);
            FAIL() << "expected a refusal";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
        }
        EXPECT_EQ(test::readBytes(outFiles.statics), statics);
        EXPECT_EQ(test::readBytes(outFiles.map), map);
    }
    std::size_t staticsIndexAt() const { return le::u32(&bytes[18]); }
    std::size_t mapIndexAt() const { return le::u32(&bytes[38]); }
};

TEST_F(DamagedDiffPatch, TruncatedHeaderOrWrongMagic) {
    bytes.resize(1000);
    expectRefused("shorter than the 1031-byte header");
    bytes = test::readBytes(patch);
    SetUp();
    bytes[0] = 'X';
    expectRefused("is not a diff patch of version 3");
}

TEST_F(DamagedDiffPatch, IndexPastTheEnd) {
    bytes.resize(bytes.size() - 1);
    expectRefused("map index at offset");
    SetUp();
    le::putI32(&bytes[18], 0x7FFFFFF0);
    expectRefused("statics index at offset");
}

TEST_F(DamagedDiffPatch, StoredBlockPastTheEndOrMisshapen) {
    le::putI32(&bytes[staticsIndexAt() + 8], static_cast<std::int32_t>(bytes.size()));
    expectRefused("lie past the end of the file");
    SetUp();
    le::putI32(&bytes[staticsIndexAt() + 12], 15);
    expectRefused("is (");
    SetUp();
    le::putI32(&bytes[staticsIndexAt() + 12], 2049 * 7);
    expectRefused("at most 2048");
    SetUp();
    le::putI32(&bytes[mapIndexAt() + 8], static_cast<std::int32_t>(bytes.size() - 195));
    expectRefused("lies outside the file");
    SetUp();
    le::putI32(&bytes[mapIndexAt()], -7);
    expectRefused("lies outside the file");
}

TEST_F(DamagedDiffPatch, RandomCorruptionNeverCrashesOrWritesOutsideTheGrid) {
    std::mt19937 random(42);
    const auto good = bytes;
    for (int round = 0; round < 300; ++round) {
        bytes = good;
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < flips; ++i) {
            // Aim at the header and the indexes, where damage matters most.
            const std::size_t at = random() % 2 == 0 ? random() % 64 : random() % bytes.size();
            bytes[at] = static_cast<std::uint8_t>(random());
        }
        test::writeBytes(patch, bytes);
        test::writeBytes(outFiles.map, StaticsSet(SmallGrid).map);
        try {
            apply(patch);
        } catch (const Error&) {
        }
        ASSERT_EQ(test::readBytes(outFiles.map).size(), SmallGrid.blockCount() * 196) << round;
    }
}

} // namespace
} // namespace stonereach
