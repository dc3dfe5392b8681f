// The editor's open map: which cells it reads, what it says about the file,
// and how it carries on when the file changes under it.
#include <filesystem>

#include <gtest/gtest.h>

#include "mapdata/Errors.h"
#include "mapdata/MapLayout.h"
#include "mapdata/OpenMap.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

constexpr std::uint64_t kTokunoSize = 6421156;
constexpr std::uint64_t kIlshenarSize = 11289600;

// The cell as writePatternFile left it.
MapCell patternCell(int x, int y, int blockHeight) {
    const std::uint64_t at = cellOffset(x, y, blockHeight);
    const auto byte = [](std::uint64_t i) { return static_cast<std::uint8_t>((i * 7 + 3) % 251); };
    const std::uint8_t bytes[3] = {byte(at), byte(at + 1), byte(at + 2)};
    return decodeCell(bytes);
}

class OpenMapTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::filesystem::path tokuno = dir / "map4.mul";

    void SetUp() override { test::writePatternFile(tokuno, kTokunoSize); }
};

TEST_F(OpenMapTest, ARecognisedMapReadsTheCellsInsideItsBoundsAtItsOwnOffsets) {
    OpenMap map;
    map.open(tokuno);
    ASSERT_TRUE(map.isOpen());
    EXPECT_EQ(map.variantName(), "Tokuno");
    EXPECT_EQ(map.sizeText(), "1448x1448");
    EXPECT_EQ(map.geometry(), (MapGeometry{1448, 1448, 181}));
    EXPECT_EQ(map.readCell(1447, 1447), patternCell(1447, 1447, 181));
    EXPECT_EQ(map.readCell(9, 300), patternCell(9, 300, 181));
    EXPECT_FALSE(map.readCell(1448, 0)) << "outside the map nothing is read";
    EXPECT_FALSE(map.readCell(0, -1));
    EXPECT_TRUE(map.isFileAt(dir.path() / "." / "map4.mul")) << "the same file by another spelling";
    EXPECT_FALSE(map.isFileAt(dir / "map0.mul"));
}

TEST_F(OpenMapTest, AFileOfNoKnownSizeIsOpenButNoneOfItsCellsIsRead) {
    std::filesystem::resize_file(tokuno, kTokunoSize - 1);
    OpenMap map;
    map.open(tokuno);
    EXPECT_TRUE(map.isOpen());
    EXPECT_EQ(map.variant(), nullptr);
    EXPECT_FALSE(map.geometry());
    EXPECT_EQ(map.variantName(), "None");
    EXPECT_EQ(map.sizeText(), "None");
    EXPECT_FALSE(map.readable());
    EXPECT_FALSE(map.readCell(0, 0));
}

TEST_F(OpenMapTest, NothingIsReadWhileTheReadinessTestFails) {
    bool ready = false;
    OpenMap map([&] { return ready; });
    map.open(tokuno);
    EXPECT_FALSE(map.readCell(0, 0));
    ready = true;
    EXPECT_EQ(map.readCell(0, 0), patternCell(0, 0, 181));
}

TEST_F(OpenMapTest, AFileCutShortWhileOpenFailsItsReadsUntilOneSucceeds) {
    OpenMap map;
    map.open(tokuno);
    std::filesystem::resize_file(tokuno, 1000);
    EXPECT_FALSE(map.readFailing());
    try {
        map.readCell(1447, 1447);
        FAIL() << "a cell past the end of the file";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), tokuno.string());
    }
    EXPECT_TRUE(map.readFailing());
    EXPECT_THROW(map.readCell(1000, 1000), IoError);
    EXPECT_TRUE(map.readFailing());
    EXPECT_EQ(map.readCell(0, 0), patternCell(0, 0, 181)) << "the start of the file is still there";
    EXPECT_FALSE(map.readFailing());
    EXPECT_EQ(map.variantName(), "Tokuno") << "the variant is told when the file is opened";
}

TEST_F(OpenMapTest, OpeningAgainTakesTheNewFilesVariantAndForgetsOldFailures) {
    OpenMap map;
    map.open(tokuno);
    std::filesystem::resize_file(tokuno, 1000);
    EXPECT_THROW(map.readCell(1447, 1447), IoError);

    // Another program replaces the file by an Ilshenar map under the name
    // map2.mul and the editor opens it.
    const std::filesystem::path ilshenar = dir / "map2.mul";
    test::writePatternFile(ilshenar, kIlshenarSize);
    map.open(ilshenar);
    EXPECT_FALSE(map.readFailing());
    EXPECT_EQ(map.geometry(), (MapGeometry{2304, 1600, 200}));
    EXPECT_EQ(map.readCell(2303, 1599), patternCell(2303, 1599, 200));

    // A path that cannot be opened keeps its name for the errors of later reads.
    std::filesystem::remove(ilshenar);
    std::filesystem::create_directory(ilshenar);
    EXPECT_THROW(map.open(ilshenar), IoError);
    EXPECT_FALSE(map.isOpen());
    EXPECT_EQ(map.path(), ilshenar);

    map.forget();
    EXPECT_TRUE(map.path().empty());
    EXPECT_FALSE(map.readCell(0, 0));
    EXPECT_FALSE(map.isFileAt(ilshenar));
}

} // namespace
} // namespace stonereach
