// The whole-map tools on a failing disk: each file operation fails in turn
// (a spread of them for the big files) and the tool must report the file and
// the cause, leave the source and any earlier output as they were, and leave
// no temporary file behind.
#include <gtest/gtest.h>

#include "mapdata/Errors.h"
#include "mapdata/MapVariant.h"
#include "mapdata/RadarColours.h"
#include "maptools/OverviewPicture.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

constexpr std::uint64_t TokunoSize = 6421156;

TEST(MapToolFaults, OverviewReportsAFailingReadAndWritesNothing) {
    test::TempDir dir;
    test::writePatternFile(dir / "map4.mul", TokunoSize);
    const auto geometry = overviewGeometryFor("1448x1448");
    ASSERT_TRUE(geometry);
    const RadarColours radar;
    test::expectCleanFailureAtEveryStep(dir.path(), [&] { (void)buildOverview(dir / "map4.mul", *geometry, radar); });
}

} // namespace
} // namespace stonereach
