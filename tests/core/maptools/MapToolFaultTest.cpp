// The whole-map tools on a failing disk: each file operation fails in turn
// (a spread of them for the big files) and the tool must report the file and
// the cause, leave the source and any earlier output as they were, and leave
// no temporary file behind.
#include <algorithm>

#include <gtest/gtest.h>

#include "mapdata/Errors.h"
#include "mapdata/MapLayout.h"
#include "mapdata/MapVariant.h"
#include "mapdata/RadarColours.h"
#include "maptools/MapCopy.h"
#include "maptools/MapEnlarger.h"
#include "maptools/OverviewPicture.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

constexpr std::uint64_t TokunoSize = 6421156;

TEST(MapToolFaults, OverviewReportsAFailingReadAndWritesNothing) {
    test::TempDir dir;
    test::writePatternFile(dir / "map4.mul", TokunoSize);
    const MapGeometry tokuno{1448, 1448, 181};
    const RadarColours radar;
    test::expectCleanFailureAtEveryStep(dir.path(), [&] { (void)buildOverview(dir / "map4.mul", tokuno, radar); });
}

// A copy writes the destination where it stands, column by column, so a
// failure keeps the columns before it; no byte outside the target cells may
// change and the source stays as it was.
TEST(MapToolFaults, CopyTouchesNothingOutsideTheTargetCells) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "src");
    std::filesystem::create_directories(dir / "dst");
    test::writePatternFile(dir / "src/map4.mul", TokunoSize);
    test::writePatternFile(dir / "dst/map4.mul", TokunoSize);
    const MapCopyRequest request{dir / "src/map4.mul", dir / "dst/map4.mul", 8, 8, 100, 60, 200, 300};
    constexpr int blockHeight = 1448 / 8;

    std::vector<bool> target(TokunoSize);
    for (int x = request.dx; x <= request.dx + request.x2 - request.x1; ++x)
        for (int y = request.dy; y <= request.dy + request.y2 - request.y1; ++y)
            for (std::uint64_t i = 0; i < MapLayout::CellSize; ++i)
                target[cellOffset(x, y, blockHeight) + i] = true;
    const auto check = [&](const test::FileSnapshot& before, const test::FileSnapshot& after, const std::string& what) {
        const auto& old = before.at("dst/map4.mul");
        const auto& now = after.at("dst/map4.mul");
        ASSERT_EQ(now.size(), old.size()) << what;
        for (auto at = std::mismatch(now.begin(), now.end(), old.begin()); at.first != now.end();
             at = std::mismatch(at.first + 1, now.end(), at.second + 1)) {
            const auto i = static_cast<std::size_t>(at.first - now.begin());
            if (!target[i])
                FAIL() << "byte " << i << " outside the target changed after " << what;
        }
    };
    test::expectCleanFailureAtEveryStep(dir.path(), [&] { (void)copyMapRectangle(request, {}); }, 40,
                                        {"dst/map4.mul"}, check);
}

// The enlarged map is 90 MB; a spread of steps (with the first and last few,
// where the file is opened, sized and published) keeps the run short.
TEST(MapToolFaults, EnlargementLeavesAnEarlierOutputAndNoPartialFile) {
    test::TempDir dir;
    test::writePatternFile(dir / "map4.mul", TokunoSize);
    test::writeBytes(dir / "big.mul", {7, 7, 7});
    test::expectCleanFailureAtEveryStep(dir.path(), [&] { enlargeMap(dir / "map4.mul", dir / "big.mul"); }, 20);
}

} // namespace
} // namespace stonereach
