// Writes of map bytes on a failing disk: whichever tool writes a map in place,
// a write that stops at any byte leaves every cell and block header either as
// it was or as it was to become, in a .mul and in a container alike.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "core/patches/DiffFileSet.h"
#include "editor/Painter.h"
#include "editor/RandomSource.h"
#include "mapdata/Errors.h"
#include "mapdata/MapFile.h"
#include "maptools/MapCopy.h"
#include "patches/DiffPatchApplier.h"
#include "patches/DiffPatchGenerator.h"
#include "patches/PointPatch.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"
#include "support/TestContainer.h"

namespace stonereach {
namespace {

constexpr std::uint64_t B = MapLayout::BlockSize;
constexpr DiffGrid SmallGrid{4, 3};
constexpr MapGeometry SmallGeometry{32, 24, 3};

// A map written in place, as a .mul or as a container whose short entries
// (five blocks unless asked otherwise) make longer writes cross from one
// entry into the next.
class MapForm {
public:
    MapForm(const std::filesystem::path& dir, std::string_view mulName, std::uint64_t bytes, bool container,
            std::uint64_t entryBlocks = 5) {
        if (!container) {
            path_ = dir / std::string(mulName);
            test::writePatternFile(path_, bytes);
            return;
        }
        test::ContainerShape shape;
        shape.stem = "map" + std::string(1, mulName[3]) + "legacymul";
        shape.shuffled = true;
        container_.emplace(dir / ("map" + std::string(1, mulName[3]) + "LegacyMUL.uop"), bytes, shape, entryBlocks * B);
        container_->write();
        std::vector<std::uint8_t> plain(bytes);
        for (std::size_t i = 0; i < plain.size(); ++i)
            plain[i] = static_cast<std::uint8_t>((i * 11 + 1) % 253);
        container_->paint(0, plain);
        path_ = container_->path();
    }
    const std::filesystem::path& path() const { return path_; }
    std::uint64_t fileOffsetOf(std::uint64_t plain) const { return container_ ? container_->fileOffsetOf(plain) : plain; }

private:
    std::filesystem::path path_;
    std::optional<test::TestContainer> container_;
};

// One run of a tool that writes a map in place, and the blocks of the map
// it may change.
struct Scenario {
    std::unique_ptr<MapForm> map;
    std::function<void()> run;
    std::uint64_t firstBlock = 0;
    std::uint64_t lastBlock = 0;  // past the last one
};

struct InPlaceWriter {
    const char* name;
    std::function<Scenario(const std::filesystem::path& dir, bool container)> prepare;
};

// The bytes of blocks [first, last) of the plain form, as the file holds them.
std::vector<std::uint8_t> blockBytes(const MapForm& map, std::uint64_t first, std::uint64_t last) {
    const File file(map.path(), File::Mode::Read);
    std::vector<std::uint8_t> bytes((last - first) * B);
    for (std::uint64_t b = first; b < last; ++b)
        file.readAt(map.fileOffsetOf(b * B), std::span(bytes).subspan((b - first) * B, B));
    return bytes;
}

void putBlockBytes(const MapForm& map, std::uint64_t first, const std::vector<std::uint8_t>& bytes) {
    File file(map.path(), File::Mode::ReadWrite);
    for (std::uint64_t i = 0; i < bytes.size() / B; ++i)
        file.writeAt(map.fileOffsetOf((first + i) * B), std::span(bytes).subspan(i * B, B));
}

const InPlaceWriter writers[] = {
    {"DiffPatchApplication",
     [](const std::filesystem::path& dir, bool container) {
         Scenario s;
         test::StaticsSet original(SmallGrid);
         original.fillAllBlocks(1);
         test::StaticsSet modified = original;
         for (std::size_t i = 0; i < modified.map.size(); i += 5)
             modified.map[i] ^= 0x5A;
         const auto origFiles = original.write(dir / "orig");
         const auto modFiles = modified.write(dir / "mod");
         // The map section alone: the statics pair is replaced whole, by
         // rename, and has no cells to tear.
         generateDiffPatch({origFiles, modFiles, dir / "p.bsr", false, true, SmallGrid}, {});
         std::filesystem::create_directories(dir / "out");
         s.map = std::make_unique<MapForm>(dir / "out", "map0.mul", SmallGrid.blockCount() * B, container);
         const DiffFileSet out{dir / "out/staidx0.mul", dir / "out/statics0.mul", s.map->path()};
         s.run = [origFiles, out, dir] { ASSERT_TRUE(applyDiffPatch({origFiles, out, dir / "p.bsr", SmallGrid}, {}).applied); };
         s.lastBlock = SmallGrid.blockCount();
         return s;
     }},
    {"MapCopy",
     [](const std::filesystem::path& dir, bool container) {
         Scenario s;
         test::writePatternFile(dir / "map4.mul", 6421156);
         std::filesystem::create_directories(dir / "dst");
         // Entries of 184 blocks: the first run written, blocks 182 to 185,
         // crosses into the second entry.
         s.map = std::make_unique<MapForm>(dir / "dst", "map4.mul", 6421156, container, 184);
         const MapCopyRequest request{dir / "map4.mul", s.map->path(), 3, 5, 20, 30, 10, 12};
         s.run = [request] { (void)copyMapRectangle(request, {}); };
         s.firstBlock = 181;  // block columns 1 to 3
         s.lastBlock = 4 * 181;
         return s;
     }},
    {"PointPatch",
     [](const std::filesystem::path& dir, bool container) {
         Scenario s;
         s.map = std::make_unique<MapForm>(dir, "map0.mul", SmallGrid.blockCount() * B, container);
         writePointPatchFile(dir / "p.bnp", {{"9", "17", "-3", "01 1A"}, {"30", "2", "5", ""}});
         const auto path = s.map->path();
         s.run = [path, dir] {
             MapFile file(path, File::Mode::ReadWrite);
             (void)applyPointPatchFile(file, SmallGeometry, dir / "p.bnp");
         };
         s.lastBlock = SmallGrid.blockCount();
         return s;
     }},
    {"Painter",
     [](const std::filesystem::path& dir, bool container) {
         Scenario s;
         s.map = std::make_unique<MapForm>(dir, "map0.mul", SmallGrid.blockCount() * B, container);
         const auto path = s.map->path();
         s.run = [path] {
             MapFile file(path, File::Mode::ReadWrite);
             UndoList undo;
             RandomSource random(3);
             Painter painter(file, SmallGeometry, undo, random);
             (void)painter.paintFootprint({8, 0, 17, 23}, DrawingMode::selectedTile(0x123),
                                          AltitudeRule({AltitudeMode::Set, 9, false, "1"}));
         };
         s.lastBlock = SmallGrid.blockCount();
         return s;
     }},
};

class InPlaceWriters : public ::testing::TestWithParam<std::tuple<InPlaceWriter, bool>> {};

TEST_P(InPlaceWriters, LeaveEveryCellWholeWhereverAWriteStops) {
    const auto& [writer, container] = GetParam();
    test::TempDir dir;
    const Scenario scenario = writer.prepare(dir.path(), container);
    const MapForm* map = scenario.map.get();
    const auto& run = scenario.run;
    const std::uint64_t first = scenario.firstBlock;
    const std::uint64_t last = scenario.lastBlock;

    const auto before = blockBytes(*map, first, last);
    run();
    const auto after = blockBytes(*map, first, last);
    ASSERT_NE(before, after);

    // Every byte the first write to the map can stop at, within its first
    // three blocks.
    std::size_t length = 3 * B;
    for (std::size_t stop = 0; stop < length; ++stop) {
        putBlockBytes(*map, first, before);
        test::ShortWrite device(map->path(), stop);
        {
            ScopedFaultInjector guard(device);
            EXPECT_THROW(run(), IoError) << "stopping at byte " << stop;
        }
        ASSERT_TRUE(device.failed());
        length = std::min(length, device.requested());
        const auto now = blockBytes(*map, first, last);
        // A block's header and each of its cells are units of their own.
        for (std::size_t at = 0; at < now.size();) {
            const std::size_t unit = at % B == 0 ? MapLayout::BlockHeaderSize : MapLayout::CellSize;
            const auto same = [&](const std::vector<std::uint8_t>& v) {
                return std::equal(now.begin() + static_cast<std::ptrdiff_t>(at),
                                  now.begin() + static_cast<std::ptrdiff_t>(at + unit),
                                  v.begin() + static_cast<std::ptrdiff_t>(at));
            };
            ASSERT_TRUE(same(before) || same(after))
                << "plain byte " << first * B + at << " torn, the write stopping at byte " << stop;
            at += unit;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Each, InPlaceWriters, ::testing::Combine(::testing::ValuesIn(writers), ::testing::Bool()),
                         [](const auto& param) {
                             return std::string(std::get<0>(param.param).name) +
                                    (std::get<1>(param.param) ? "InAContainer" : "InAMul");
                         });

// Applying a patch to a map that is too short lengthens it; when the disk
// cannot give it that length, the map stays exactly as it was.
TEST(MapBytes, AMapThatCannotBeLengthenedIsLeftAsItWas) {
    test::TempDir dir;
    test::StaticsSet original(SmallGrid);
    original.fillAllBlocks(1);
    test::StaticsSet modified = original;
    modified.map[7] ^= 1;
    const auto origFiles = original.write(dir / "orig");
    const auto modFiles = modified.write(dir / "mod");
    generateDiffPatch({origFiles, modFiles, dir / "p.bsr", true, true, SmallGrid}, {});
    std::filesystem::create_directories(dir / "out");
    test::writePatternFile(dir / "out/map0.mul", 5 * B + 17);
    const auto shortMap = test::readBytes(dir / "out/map0.mul");
    const DiffFileSet out{dir / "out/staidx0.mul", dir / "out/statics0.mul", dir / "out/map0.mul"};

    test::FailingDevice noRoom(0, ENOSPC, {IoOperation::Resize});
    {
        ScopedFaultInjector guard(noRoom);
        EXPECT_THROW((void)applyDiffPatch({origFiles, out, dir / "p.bsr", SmallGrid}, {}), IoError);
    }
    EXPECT_TRUE(noRoom.failed());
    EXPECT_EQ(test::readBytes(dir / "out/map0.mul"), shortMap);

    ASSERT_TRUE(applyDiffPatch({origFiles, out, dir / "p.bsr", SmallGrid}, {}).applied);
    EXPECT_EQ(test::readBytes(dir / "out/map0.mul"), modified.map);
}

// A container's entries cannot grow: a write past them, or a patch for more
// blocks than they hold, is refused before anything is written.
TEST(MapBytes, NothingIsWrittenPastAContainersEntries) {
    test::TempDir dir;
    MapForm form(dir.path(), "map0.mul", 10 * B, true);
    const auto before = test::readBytes(form.path());
    MapFile map(form.path(), File::Mode::ReadWrite);
    std::vector<std::uint8_t> bytes(2 * B, 0x11);
    EXPECT_THROW(map.writeAt(9 * B, bytes), IoError);
    EXPECT_THROW(map.reserve(12 * B), IoError);
    EXPECT_NO_THROW(map.reserve(10 * B));
    EXPECT_EQ(test::readBytes(form.path()), before);
}

} // namespace
} // namespace stonereach
