// The editor's open map: which cells it reads, what it says about the file,
// and how it carries on when the file changes under it.
#include <chrono>
#include <filesystem>
#include <thread>

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

// Another program writes, replaces, cuts and deletes the open map; the
// editor's own writes are not told as changes.
TEST_F(OpenMapTest, LookingAtTheDiskTellsWhatAnotherProgramDidAndNotWhatTheEditorDid) {
    OpenMap map;
    map.open(tokuno);
    const MapGeometry geometry = *map.geometry();
    const std::uint64_t opened = map.generation();
    const auto otherProgramWrites = [&](int x) {
        // The file system's clock may tick only every few milliseconds.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        MapFile(tokuno, File::Mode::ReadWrite).writeCell(x, 0, MapCell{1, 1}, geometry);
    };
    const auto editorWrites = [&](int x) {
        const OpenMap::OwnWrite own(map);
        map.file().writeCell(x, 1, MapCell{2, 2}, geometry);
    };
    EXPECT_EQ(map.lookAtDisk(), MapFileChange::None);
    editorWrites(0);
    EXPECT_EQ(map.lookAtDisk(), MapFileChange::None);
    otherProgramWrites(1);
    EXPECT_EQ(map.lookAtDisk(), MapFileChange::Written);
    EXPECT_EQ(map.lookAtDisk(), MapFileChange::None);
    otherProgramWrites(2);
    editorWrites(2);
    EXPECT_EQ(map.lookAtDisk(), MapFileChange::Written) << "a change before the editor's write is still told";
    EXPECT_TRUE(map.writable());

    std::filesystem::resize_file(tokuno, kTokunoSize - 3);
    EXPECT_FALSE(map.writable());
    EXPECT_EQ(map.lookAtDisk(), MapFileChange::CutShort);
    EXPECT_EQ(map.trouble(), MapFileTrouble::CutShort);
    EXPECT_EQ(map.lookAtDisk(), MapFileChange::None);
    std::filesystem::resize_file(tokuno, kTokunoSize);
    EXPECT_EQ(map.lookAtDisk(), MapFileChange::Written);
    EXPECT_EQ(map.trouble(), MapFileTrouble::None);
    EXPECT_TRUE(map.writable());

    test::writePatternFile(dir / "new.mul", kTokunoSize);
    std::filesystem::rename(dir / "new.mul", tokuno);
    EXPECT_FALSE(map.writable()) << "writes would go to the file that lost its name";
    EXPECT_EQ(map.lookAtDisk(), MapFileChange::Replaced);
    EXPECT_EQ(map.lookAtDisk(), MapFileChange::Replaced) << "until it is opened again";
    EXPECT_EQ(map.generation(), opened);
    map.open(tokuno);
    EXPECT_NE(map.generation(), opened) << "another file";
    const std::uint64_t replaced = map.generation();
    map.open(tokuno);
    EXPECT_EQ(map.generation(), replaced) << "the same file opened again";
    EXPECT_EQ(map.lookAtDisk(), MapFileChange::None);

    std::filesystem::remove(tokuno);
    EXPECT_FALSE(map.writable());
    EXPECT_EQ(map.lookAtDisk(), MapFileChange::Deleted);
    EXPECT_EQ(map.trouble(), MapFileTrouble::Deleted);
    EXPECT_EQ(map.lookAtDisk(), MapFileChange::None) << "told once";
    EXPECT_EQ(map.readCell(5, 5), patternCell(5, 5, 181)) << "what the editor holds can still be read";
}

} // namespace
} // namespace stonereach
