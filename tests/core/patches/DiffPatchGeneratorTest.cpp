#include "patches/DiffPatchGenerator.h"

#include <algorithm>
#include <iterator>

#include <gtest/gtest.h>

#include "core/patches/DiffFileSet.h"
#include "mapdata/Errors.h"
#include "mapdata/File.h"
#include "mapdata/FileSystem.h"
#include "patches/DiffPatchReader.h"

namespace stonereach {
namespace {

using test::StaticsSet;
namespace L = DiffPatchLayout;

constexpr DiffGrid SmallGrid{4, 3};

struct GeneratedPatch {
    DiffPatchSummary summary;
    std::vector<std::uint8_t> bytes;
    DiffPatchContents contents;
};

GeneratedPatch generate(const test::TempDir& dir, const StaticsSet& original, const StaticsSet& modified,
                        bool statics = true, bool map = true) {
    DiffPatchRequest request{original.write(dir / "orig"), modified.write(dir / "mod"), dir / "out.bsr", statics, map,
                             original.grid};
    GeneratedPatch result;
    result.summary = generateDiffPatch(request, {});
    result.bytes = test::readBytes(request.patch);
    const File patch(request.patch, File::Mode::Read);
    result.contents = readDiffPatch(patch, original.grid);
    return result;
}

TEST(DiffPatchHeader, Is1031BytesWithUtf16MagicAndLittleEndianFields) {
    TSRDInfo info;
    info.staticsIndexOffset = 0x01020304;
    info.origStaIdxCrc = 0xA1B2C3D4;
    info.mapIndexOffset = -1;
    info.modMapCrc = 0x11223344;
    const TSRDInfoBytes bytes = encodeHeader(info);
    ASSERT_EQ(bytes.size(), 1031u);
    const std::vector<std::uint8_t> magic{'Q', 0, 'T', 0, 'P', 0, 'a', 0, 't', 0, 'c', 0, 'h', 0};
    EXPECT_TRUE(std::equal(magic.begin(), magic.end(), bytes.begin()));
    EXPECT_EQ(bytes[14], 3);
    EXPECT_EQ(bytes[18], 0x04);
    EXPECT_EQ(bytes[21], 0x01);
    EXPECT_EQ(bytes[22], 0xD4);
    EXPECT_EQ(bytes[38], 0xFF);
    EXPECT_EQ(bytes[42], 0x44);
    for (std::size_t i = 46; i < 1031; ++i)
        ASSERT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(decodeHeader(bytes), info);
    EXPECT_TRUE(hasPatchMagic(bytes));
}

TEST(DiffPatchGeneration, IdenticalFullSizeSetsGiveOnlyTheTwoIndexes) {
    test::TempDir dir;
    StaticsSet set(DiffGrid{});
    for (std::size_t k = 0; k < set.index.size(); k += 97)
        set.setRecords(k, 2, static_cast<int>(k));
    // A block in the last column changes the map section but not its checksum.
    StaticsSet modified = set;
    modified.map[(767 * 512 + 5) * 196 + 10] ^= 0xFF;

    const auto patch = generate(dir, set, modified);
    EXPECT_EQ(patch.bytes.size(), 1031u + 3145728u + 1572864u + 196u);
    const TSRDInfo& h = patch.contents.header;
    EXPECT_EQ(h.staticsIndexOffset, 1031);
    EXPECT_EQ(h.mapIndexOffset, 1031 + 3145728 + 196);
    EXPECT_EQ(h.origStaIdxCrc, h.modStaIdxCrc);
    EXPECT_EQ(h.origStaticsSize, set.statics.size());
    std::uint32_t expectedCrc = 0;
    for (std::size_t i = 0; i < 392704u * 196u; i += 4)
        expectedCrc ^= le::u32(&set.map[i]);
    EXPECT_EQ(h.modMapCrc, expectedCrc);
    for (std::size_t k = 0; k < set.index.size(); ++k) {
        const DiffStaticEntry expected = k % 97 == 0 ? DiffStaticEntry{-1, -1} : DiffStaticEntry{-1, 0};
        ASSERT_EQ(patch.contents.statics[k], expected) << k;
        ASSERT_EQ(patch.contents.map[k], k == 767u * 512u + 5u ? 1031 + 3145728 : -1) << k;
    }
}

TEST(DiffPatchGeneration, StaticsEntriesFollowTheIndexRules) {
    test::TempDir dir;
    StaticsSet original(SmallGrid);
    original.fillAllBlocks(1);
    StaticsSet modified = original;
    // 0: emptied; 1: empty in both; 2: moved with the same records; 3: Start
    // set, Length 0; 4: new records; 5: only Extra differs.
    modified.index[0] = StaticPointer{L::NoStatics, 0, 7};
    original.index[1] = StaticPointer{L::NoStatics, L::NoStatics, 0};
    modified.index[1] = StaticPointer{L::NoStatics, 14, 0};
    {
        const StaticPointer o = original.index[2];
        const auto start = static_cast<std::uint32_t>(modified.statics.size());
        modified.statics.insert(modified.statics.end(), original.statics.begin() + o.start,
                                original.statics.begin() + o.start + o.length);
        modified.index[2] = StaticPointer{start, o.length, 99};
    }
    modified.index[3] = StaticPointer{0, 0, 0};
    modified.setRecords(4, 2, 77);
    modified.index[5].extra = 12345;

    const auto patch = generate(dir, original, modified);
    const auto& d = patch.contents.statics;
    EXPECT_EQ(d[0], (DiffStaticEntry{-1, 0}));
    EXPECT_EQ(d[1], (DiffStaticEntry{-1, 0}));
    EXPECT_EQ(d[2], (DiffStaticEntry{-1, -1}));
    EXPECT_EQ(d[3], (DiffStaticEntry{1031, 0}));
    EXPECT_EQ(d[4], (DiffStaticEntry{1031, 14}));
    EXPECT_EQ(d[5], (DiffStaticEntry{-1, -1}));
    for (std::size_t k = 6; k < d.size(); ++k)
        EXPECT_EQ(d[k], (DiffStaticEntry{-1, -1})) << k;
    const std::vector<std::uint8_t> stored(patch.bytes.begin() + 1031, patch.bytes.begin() + 1045);
    const std::vector<std::uint8_t> expected(modified.statics.end() - 14, modified.statics.end());
    EXPECT_EQ(stored, expected);
    EXPECT_EQ(patch.contents.header.staticsIndexOffset, 1045);
    EXPECT_EQ(patch.summary.storedStaticBlocks, 2u);
}

TEST(DiffPatchGeneration, MapOnlyPatchHasNoStaticsFieldsAndBlocksFollowTheHeader) {
    test::TempDir dir;
    StaticsSet original(SmallGrid);
    StaticsSet modified = original;
    modified.map[3 * 196 + 100] ^= 1;  // block 3
    modified.map[7 * 196 + 0] ^= 1;    // block 7, header byte: headers count too
    const auto patch = generate(dir, original, modified, false, true);
    const TSRDInfo& h = patch.contents.header;
    EXPECT_EQ(h.staticsIndexOffset, -1);
    EXPECT_EQ(h.origStaIdxCrc, 0u);
    EXPECT_EQ(h.origStaticsSize, 0u);
    EXPECT_EQ(h.modStaIdxCrc, 0u);
    EXPECT_EQ(h.modStaticsSize, 0u);
    EXPECT_EQ(patch.contents.map[3], 1031);
    EXPECT_EQ(patch.contents.map[7], 1031 + 196);
    EXPECT_EQ(h.mapIndexOffset, 1031 + 2 * 196);
    EXPECT_EQ(patch.bytes.size(), 1031u + 2 * 196 + 12 * 4);
}

TEST(DiffPatchGeneration, StaticsOnlyPatchHasNoMapSection) {
    test::TempDir dir;
    StaticsSet original(SmallGrid);
    original.fillAllBlocks(3);
    StaticsSet modified = original;
    modified.map[0] ^= 1;
    const auto patch = generate(dir, original, modified, true, false);
    EXPECT_EQ(patch.contents.header.mapIndexOffset, -1);
    EXPECT_EQ(patch.contents.header.modMapCrc, 0u);
    EXPECT_EQ(patch.bytes.size(), 1031u + 12 * 8);
}

TEST(DiffPatchGeneration, StatesItsStagesInOrder) {
    test::TempDir dir;
    StaticsSet set(SmallGrid);
    DiffPatchRequest request{set.write(dir / "o"), set.write(dir / "m"), dir / "p.bsr", true, true, SmallGrid};
    std::vector<std::string> stages;
    generateDiffPatch(request, [&](const ProgressReport& r) {
        if (stages.empty() || stages.back() != r.text)
            stages.emplace_back(r.text);
        EXPECT_GE(r.position, 0);
        EXPECT_LE(r.position, 100);
    });
    EXPECT_EQ(stages, (std::vector<std::string>{"Working, please wait...", "Generating patch (Statics)",
                                                "Generating patch (Statics index)", "Generating patch (Map)",
                                                "Generating patch (Map index)"}));
}

// The map checksum is a pass of its own before the block comparison; its bar
// runs under whatever stage text is showing.
TEST(DiffPatchGeneration, MapChecksumRunsUnderTheTextThenShowing) {
    test::TempDir dir;
    StaticsSet set(SmallGrid);
    const DiffFileSet files = set.write(dir / "o");
    for (const bool statics : {true, false}) {
        std::vector<std::pair<std::string, int>> reports;
        generateDiffPatch({files, files, dir / "p.bsr", statics, true, SmallGrid},
                          [&](const ProgressReport& r) { reports.emplace_back(r.text, r.position); });
        const auto map = std::find_if(reports.begin(), reports.end(),
                                      [](const auto& r) { return r.first == "Generating patch (Map)"; });
        ASSERT_NE(map, reports.begin());
        const std::string before = statics ? "Generating patch (Statics index)" : "Working, please wait...";
        const auto& last = *std::prev(map);
        EXPECT_EQ(last, std::make_pair(before, 100));
        // The bar ran from 0 again for the checksum (after the statics index
        // stage had moved it on, when there was one).
        const auto restart = std::find(std::make_reverse_iterator(map), reports.rend(), std::make_pair(before, 0));
        ASSERT_NE(restart, reports.rend());
        if (statics) {
            EXPECT_NE(std::find_if(restart, reports.rend(),
                                   [&](const auto& r) { return r.first == before && r.second > 0; }),
                      reports.rend());
        }
    }
}

class DiffPatchGenerationFailure : public ::testing::Test {
protected:
    test::TempDir dir;
    StaticsSet original{SmallGrid};
    StaticsSet modified{SmallGrid};

    void SetUp() override {
        original.fillAllBlocks(1);
        modified = original;
        test::writeBytes(dir / "out.bsr", {1, 2, 3});
    }

    void expectFailureLeavesOldPatch(const std::string& message) {
        DiffPatchRequest request{original.write(dir / "o"), modified.write(dir / "m"), dir / "out.bsr", true, true,
                                 SmallGrid};
        try {
            generateDiffPatch(request, {});
            FAIL() << "expected an error";
        } catch (const Error& e) {
            if (!message.empty()) {
                EXPECT_EQ(std::string(e.what()), message);
            }
        }
        EXPECT_EQ(test::readBytes(dir / "out.bsr"), (std::vector<std::uint8_t>{1, 2, 3}));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);  // o, m, out.bsr
    }
};

TEST_F(DiffPatchGenerationFailure, LengthNotAMultipleOfSevenStopsWithTheFixedMessage) {
    modified.index[2].length = 8;
    expectFailureLeavesOldPatch("StaticPointer.Length is not a multiple of SizeOf(TStaticRec)");
}

TEST_F(DiffPatchGenerationFailure, BlockOfMoreThan2048RecordsIsRejected) {
    modified.setRecords(2, 2049, 5);
    expectFailureLeavesOldPatch("Statics block 2 holds 2049 records; a block holds at most 2048");
}

TEST_F(DiffPatchGenerationFailure, RecordsPastTheEndOfStaticsAreAnIoError) {
    modified.index[2].start = 1000000;
    expectFailureLeavesOldPatch("");
}

TEST_F(DiffPatchGenerationFailure, ShortMapOrIndexIsAnIoError) {
    modified.map.resize(modified.map.size() - 1);
    expectFailureLeavesOldPatch("");
    modified = original;
    original.index.pop_back();
    expectFailureLeavesOldPatch("");
}

} // namespace
} // namespace stonereach
