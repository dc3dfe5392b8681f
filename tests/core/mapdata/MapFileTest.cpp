#include <limits>

#include <gtest/gtest.h>

#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/MapFile.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

// A small map of 4 x 3 blocks (32 x 24 cells) filled with a byte pattern.
class SmallMap : public ::testing::Test {
protected:
    const MapGeometry geometry{32, 24, 3};
    test::TempDir dir;
    std::filesystem::path path = dir / "map0.mul";

    void SetUp() override { test::writePatternFile(path, 4 * 3 * MapLayout::BlockSize); }
};

TEST_F(SmallMap, WritingACellChangesExactlyItsThreeBytes) {
    const auto before = test::readBytes(path);
    {
        MapFile map(path, File::Mode::ReadWrite);
        map.writeCell(9, 17, MapCell{0xBEEF, -5}, geometry);
        EXPECT_EQ(map.readCell(9, 17, geometry), (MapCell{0xBEEF, -5}));
    }
    const auto after = test::readBytes(path);
    const auto offset = cellOffset(9, 17, 3);
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (i >= offset && i < offset + 3)
            continue;
        ASSERT_EQ(before[i], after[i]) << "byte " << i << " changed";
    }
    EXPECT_EQ(after[offset], 0xEF);
    EXPECT_EQ(after[offset + 1], 0xBE);
    EXPECT_EQ(after[offset + 2], 0xFB);
}

TEST_F(SmallMap, ReadsLittleEndianTileAndSignedAltitude) {
    test::writeBytes(path, [] {
        std::vector<std::uint8_t> bytes(4 * 3 * MapLayout::BlockSize);
        const auto at = cellOffset(1, 1, 3);
        bytes[at] = 0x1A;
        bytes[at + 1] = 0x01;
        bytes[at + 2] = 0x80;
        return bytes;
    }());
    const MapFile map(path, File::Mode::Read);
    EXPECT_EQ(map.readCell(1, 1, geometry), (MapCell{0x011A, -128}));
}

TEST_F(SmallMap, RefusesCellsOutsideTheGeometry) {
    MapFile map(path, File::Mode::ReadWrite);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {32, 0}, {0, 24}})
        EXPECT_THROW(map.readCell(x, y, geometry), RangeError) << x << "," << y;
    EXPECT_THROW(map.writeCell(32, 0, {}, geometry), RangeError);
    EXPECT_THROW(map.readBlock(4, 0, geometry), RangeError);
    // A row near the largest int is refused rather than overflowing the
    // bounds check (found by fuzz_mapfile).
    EXPECT_THROW(map.readBlock(0, std::numeric_limits<int>::max(), geometry), RangeError);
    std::vector<MapBlockBytes> blocks(2);
    EXPECT_THROW(map.readBlockRun(0, std::numeric_limits<int>::max() - 1, 2, geometry, blocks), RangeError);
}

TEST_F(SmallMap, AFileCutShortFailsOnTheFirstReadPastItsEnd) {
    std::filesystem::resize_file(path, 2 * 3 * MapLayout::BlockSize);
    const MapFile map(path, File::Mode::Read);
    EXPECT_NO_THROW(map.readCell(15, 23, geometry));
    try {
        map.readCell(16, 0, geometry);
        FAIL() << "read past the end";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), path.string());
        EXPECT_NE(std::string(e.what()).find("ends before"), std::string::npos);
    }
}

TEST_F(SmallMap, ATruncationByAnotherProgramIsSeenAtTheNextRead) {
    const MapFile map(path, File::Mode::Read);
    EXPECT_NO_THROW(map.readCell(31, 23, geometry));
    std::filesystem::resize_file(path, 100);
    EXPECT_THROW(map.readCell(31, 23, geometry), IoError);
}

TEST_F(SmallMap, ReadsABlockRunOfOneColumn) {
    const MapFile map(path, File::Mode::Read);
    std::vector<MapBlockBytes> blocks(3);
    map.readBlockRun(2, 0, 3, geometry, blocks);
    const auto bytes = test::readBytes(path);
    for (int by = 0; by < 3; ++by)
        EXPECT_TRUE(std::equal(blocks[static_cast<std::size_t>(by)].begin(), blocks[static_cast<std::size_t>(by)].end(),
                               bytes.begin() + static_cast<long>(blockOffset(2, by, 3))));
    EXPECT_THROW(map.readBlockRun(2, 1, 3, geometry, blocks), RangeError);
}

TEST(FileOpen, NamesThePathAndCause) {
    test::TempDir dir;
    try {
        File f(dir / "missing.mul", File::Mode::Read);
        FAIL();
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), (dir / "missing.mul").string());
        EXPECT_NE(std::string(e.what()).find("No such file"), std::string::npos) << e.what();
    }
    EXPECT_THROW(File(dir.path(), File::Mode::Read), IoError);
}

TEST(PendingFileTest, AFolderThatIsNotThereIsReportedForTheTarget) {
    test::TempDir dir;
    const auto target = dir / "nodir" / "x" / "map0.mul";
    try {
        PendingFile pending(target);
        FAIL() << "created a file in a missing folder";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), target.string());
        EXPECT_EQ(e.cause(), "Cannot create file: the folder '" + (dir / "nodir" / "x").string() + "' does not exist");
        EXPECT_EQ(std::string(e.what()).find(".tmp-"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "nodir"));
}

TEST(PendingFileTest, CommitReplacesTheTargetAndAbandonLeavesItAlone) {
    test::TempDir dir;
    const auto target = dir / "out.bin";
    test::writeBytes(target, {1, 2, 3});
    {
        PendingFile pending(target);
        const std::uint8_t data[] = {9, 9};
        pending.file().writeAt(0, data);
        EXPECT_TRUE(fileExists(pending.temporaryPath()));
    }
    EXPECT_EQ(test::readBytes(target), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary left";

    PendingFile pending(target);
    const std::uint8_t data[] = {7};
    pending.file().writeAt(0, data);
    pending.commit();
    EXPECT_EQ(test::readBytes(target), (std::vector<std::uint8_t>{7}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

} // namespace
} // namespace stonereach
