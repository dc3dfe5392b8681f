#include <gtest/gtest.h>

#include <fstream>

#include "mapdata/Errors.h"
#include "patches/PointPatch.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

class PointPatchOnMap : public ::testing::Test {
protected:
    const MapGeometry geometry{32, 24, 3};
    test::TempDir dir;
    std::filesystem::path mapPath = dir / "map0.mul";
    std::filesystem::path patchPath = dir / "bnstonereach.bnp";

    void SetUp() override { test::writePatternFile(mapPath, 4 * 3 * MapLayout::BlockSize); }

    void writePatch(const std::string& text) {
        std::ofstream out(patchPath, std::ios::binary);
        out << text;
    }
    MapCell cellAt(int x, int y) { return MapFile(mapPath, File::Mode::Read).readCell(x, y, geometry); }
    PointPatchResult apply(const ProgressCallback& progress = {}) {
        MapFile map(mapPath, File::Mode::ReadWrite);
        return applyPointPatchFile(map, geometry, patchPath, progress);
    }
};

TEST_F(PointPatchOnMap, SetsAltitudeAndTileAndReportsEachEntry) {
    writePatch("[0]\r\nX=3\r\nY=4\r\nZ=-7\r\nID=01 1A\r\n[1]\r\nX=31\r\nY=23\r\nZ=127\r\nID=\r\n");
    const MapCell untouchedTile = cellAt(31, 23);
    std::vector<std::string> texts;
    const auto result = apply([&](const ProgressReport& r) { texts.emplace_back(r.text); });
    EXPECT_EQ(result.applied, 2u);
    EXPECT_EQ(cellAt(3, 4), (MapCell{0x011A, -7}));
    EXPECT_EQ(cellAt(31, 23), (MapCell{untouchedTile.tile, 127})) << "an empty ID keeps the tile";
    EXPECT_EQ(texts, (std::vector<std::string>{"Patching (X, Y): 3, 4", "Patching (X, Y): 31, 23"}));
}

TEST_F(PointPatchOnMap, AMissingZKeySetsAltitudeZero) {
    writePatch("[0]\nX=2\nY=2\n");
    const MapCell before = cellAt(2, 2);
    apply();
    EXPECT_EQ(cellAt(2, 2), (MapCell{before.tile, 0}));
}

TEST_F(PointPatchOnMap, AFileWithoutSectionsIsRefused) {
    writePatch("X=1\nY=2\n");
    try {
        apply();
        FAIL();
    } catch (const Refusal& e) {
        EXPECT_STREQ(e.what(), "File is empty or corupted!");
    }
    std::filesystem::remove(patchPath);
    EXPECT_THROW(apply(), Refusal);
}

TEST_F(PointPatchOnMap, ABadEntryStopsTheRunWithTheEntriesBeforeItApplied) {
    const auto before = test::readBytes(mapPath);
    writePatch("[0]\nX=1\nY=1\nZ=5\n[1]\nX=2\nY=2\nZ=5\nID=123\n[2]\nX=3\nY=3\nZ=5\n");
    try {
        apply();
        FAIL();
    } catch (const FormatError& e) {
        EXPECT_STREQ(e.what(), "Input not SpacedHex (entry [1], ID)") << "the message, then the section at fault";
    }
    EXPECT_EQ(cellAt(1, 1).z, 5);
    EXPECT_EQ(cellAt(2, 2), decodeCell(&before[cellOffset(2, 2, 3)]));
    EXPECT_EQ(cellAt(3, 3), decodeCell(&before[cellOffset(3, 3, 3)]));

    const auto failure = [&](const char* text) -> std::string {
        writePatch(text);
        try {
            apply();
        } catch (const FormatError& e) {
            return e.what();
        }
        return "applied";
    };
    EXPECT_EQ(failure("[0]\nX=1\nY=1\nZ=128\n"), "Altitude 128 is outside -128..127 (entry [0], Z)");
    EXPECT_EQ(failure("[0]\nX=1\nY=1\nZ=1\n[1]\nX=one\nY=1\nZ=1\n"),
              "'one' is not a valid integer value (entry [1], X)");

    // The editor checks an entry with the same reading before it takes it.
    EXPECT_EQ(pointPatchEntryProblem({"1", "2", "-128", "01 1a"}), std::nullopt);
    const auto problem = pointPatchEntryProblem({"1", "y", "5", ""});
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->key(), "Y");
    EXPECT_STREQ(problem->what(), "Y: 'y' is not a valid integer value");
    EXPECT_STREQ(pointPatchEntryProblem({"1", "2", "5", "123"})->what(), "ID: Input not SpacedHex");
}

TEST_F(PointPatchOnMap, EntriesOutsideTheMapAndGapsAreSkippedNeverWritten) {
    const auto before = test::readBytes(mapPath);
    // Sections 0 and 2 only: the count is 3, so slot 1 is a gap; slot 2 lies
    // outside the map; (0, 0) must stay as it was.
    writePatch("[0]\nX=-1\nY=0\nZ=1\n[2]\nX=32\nY=0\nZ=1\n[3]\nX=5\nY=5\nZ=9\n");
    const auto result = apply();
    EXPECT_EQ(result.applied, 0u);
    EXPECT_EQ(result.skippedOutsideMap, 2u);
    EXPECT_EQ(result.skippedMissing, 1u);
    EXPECT_EQ(test::readBytes(mapPath), before);
}

TEST_F(PointPatchOnMap, ACapturedCellSavedAndAppliedComesBackTheSame) {
    MapFile map(mapPath, File::Mode::ReadWrite);
    map.writeCell(9, 10, MapCell{0xABCD, -100}, geometry);
    writePointPatchFile(patchPath, {{"9", "10", "-100", "AB CD"}});
    map.writeCell(9, 10, MapCell{0, 0}, geometry);
    applyPointPatchFile(map, geometry, patchPath);
    EXPECT_EQ(map.readCell(9, 10, geometry), (MapCell{0xABCD, -100}));
}

TEST(PointPatchFile, WritesSectionsInOrderAndReadsThemBack) {
    test::TempDir dir;
    const auto path = dir / "p.bnp";
    const std::vector<PointPatchEntry> entries{{"1", "2", "3", "00 03"}, {"07", "7", "-1", ""}};
    writePointPatchFile(path, entries);
    const auto bytes = test::readBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              "[0]\r\nX=1\r\nY=2\r\nZ=3\r\nID=00 03\r\n[1]\r\nX=07\r\nY=7\r\nZ=-1\r\nID=\r\n");
    const auto read = readPointPatchFile(path);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(*read[0], entries[0]);
    EXPECT_EQ(*read[1], entries[1]);

    writePointPatchFile(path, {entries[0]});
    EXPECT_EQ(readPointPatchFile(path).size(), 1u) << "saving replaces the file, so removed entries stay removed";
}

} // namespace
} // namespace stonereach
