#include "mapdata/MemoryFiles.h"

#include <gtest/gtest.h>

#include "core/patches/DiffFileSet.h"
#include "mapdata/Errors.h"
#include "mapdata/File.h"
#include "mapdata/FileSystem.h"
#include "mapdata/MapIdentity.h"
#include "patches/DiffPatchApplier.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

std::vector<std::uint8_t> readWhole(const std::filesystem::path& path) {
    const File file(path, File::Mode::Read);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size()));
    file.readAt(0, bytes);
    return bytes;
}

void writeWhole(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    File(path, File::Mode::Create).writeAt(0, bytes);
}

// A diff patch made and applied below a MemoryFiles folder gives the same
// files as on the disk (temporary files, renames and all), and nothing of it
// reaches the disk.
TEST(MemoryFiles, ADiffPatchRunsInMemoryAsOnTheDisk) {
    test::TempDir dir;
    const DiffGrid grid{4, 3};
    test::StaticsSet original(grid);
    original.fillAllBlocks(1);
    test::StaticsSet modified = original.laidOut(test::StaticsSet::Layout::Scattered, 2);
    modified.setRecords(5, 3, 7);
    modified.map[100] ^= 1;

    const auto run = [&](const std::filesystem::path& root) {
        for (const auto& [name, set] : {std::pair{"o", &original}, std::pair{"m", &modified}}) {
            writeWhole(root / name / "staidx0.mul", set->indexBytes());
            writeWhole(root / name / "statics0.mul", set->statics);
            writeWhole(root / name / "map0.mul", set->map);
        }
        writeWhole(root / "out" / "map0.mul", original.map);
        const auto set = [&](const char* name) {
            return DiffFileSet{root / name / "staidx0.mul", root / name / "statics0.mul", root / name / "map0.mul"};
        };
        generateDiffPatch({set("o"), set("m"), root / "p.bsr", true, true, grid}, {});
        EXPECT_TRUE(applyDiffPatch({set("o"), set("out"), root / "p.bsr", grid}, {}).applied);
        return std::vector{readWhole(root / "p.bsr"), readWhole(root / "out" / "staidx0.mul"),
                           readWhole(root / "out" / "statics0.mul"), readWhole(root / "out" / "map0.mul")};
    };
    for (const char* name : {"o", "m", "out"})
        std::filesystem::create_directories(dir / "disk" / name);
    const auto onDisk = run(dir / "disk");

    MemoryFiles files(dir / "memory");
    ScopedMemoryFiles installed(files);
    EXPECT_EQ(run(dir / "memory"), onDisk);
    EXPECT_EQ(files.namesIn(dir / "memory" / "out"),
              (std::vector<std::string>{"map0.mul", "staidx0.mul", "statics0.mul"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "memory"));
}

// Files in memory behave as on the disk: a missing one cannot be opened, a
// long one set by its size holds zeros (and takes no memory for them), a cut
// and lengthened one reads zeros past the cut, and a handle keeps its file
// when the name goes.
TEST(MemoryFiles, FilesBehaveAsOnTheDisk) {
    MemoryFiles files("/in-memory");
    ScopedMemoryFiles installed(files);
    EXPECT_THROW(File("/in-memory/none", File::Mode::Read), IoError);
    EXPECT_FALSE(fileExists("/in-memory/none"));

    {
        File map("/in-memory/map0.mul", File::Mode::Create);
        map.writeAt(0, std::vector<std::uint8_t>(10, 7));
        map.resize(77070336);
        map.writeAt(77070336 - 2, std::vector<std::uint8_t>{1, 2});
    }
    ASSERT_NE(detectMapVariant("map0.mul", 77070336), nullptr);
    EXPECT_EQ(identifyMapFile("/in-memory/map0.mul"), detectMapVariant("map0.mul", 77070336));
    File map("/in-memory/map0.mul", File::Mode::ReadWrite);
    std::vector<std::uint8_t> tail(6);
    EXPECT_THROW(map.readAt(77070336 - 4, tail), IoError);
    EXPECT_EQ(map.readUpTo(77070336 - 4, tail), 4u);
    EXPECT_EQ(tail, (std::vector<std::uint8_t>{0, 0, 1, 2, 0, 0}));
    map.resize(8);
    map.resize(20);
    std::vector<std::uint8_t> head(12);
    map.readAt(0, head);
    EXPECT_EQ(head, (std::vector<std::uint8_t>{7, 7, 7, 7, 7, 7, 7, 7, 0, 0, 0, 0}));

    removeFileQuietly("/in-memory/map0.mul");
    EXPECT_FALSE(fileExists("/in-memory/map0.mul"));
    EXPECT_EQ(map.size(), 20u);
    EXPECT_THROW(renameReplacing("/in-memory/map0.mul", "/in-memory/map1.mul"), IoError);
}

} // namespace
} // namespace stonereach
