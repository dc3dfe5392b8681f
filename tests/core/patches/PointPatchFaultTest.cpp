// Point patches on a failing disk. Applying writes each cell into the map as
// it goes, so a failure keeps the entries before it; nothing else of the map
// may change. Saving a list replaces its file whole, so a failure leaves the
// earlier file as it was.
#include <gtest/gtest.h>

#include "mapdata/Errors.h"
#include "mapdata/MapFile.h"
#include "mapdata/MapLayout.h"
#include "patches/PointPatch.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

constexpr MapGeometry geometry{32, 24, 3};

std::vector<PointPatchEntry> entries() {
    return {{"0", "0", "5", "01 1A"}, {"31", "23", "-7", ""}, {"9", "17", "100", "FF 00"}, {"4", "4", "0", "00 03"}};
}

TEST(PointPatchFaults, AFailingCellAccessStopsTheRunAndTouchesNoOtherBytes) {
    test::TempDir dir;
    const auto mapPath = dir / "map0.mul";
    test::writePatternFile(mapPath, 4 * 3 * MapLayout::BlockSize);
    const auto before = test::readBytes(mapPath);
    writePointPatchFile(dir / "p.bnp", entries());
    // Bytes of the cells the patch names; no other byte may ever change.
    std::vector<bool> patched(before.size());
    for (const auto& e : entries())
        for (std::uint64_t i = 0; i < 3; ++i)
            patched[cellOffset(std::stoi(e.x), std::stoi(e.y), 3) + i] = true;

    const auto apply = [&] {
        MapFile map(mapPath, File::Mode::ReadWrite);
        applyPointPatchFile(map, geometry, dir / "p.bnp");
    };
    const std::size_t total = test::countFileOperations(apply);
    for (std::size_t step = 0; step < total; ++step) {
        test::writeBytes(mapPath, before);
        test::FailingDevice device(step, EIO);
        {
            ScopedFaultInjector guard(device);
            try {
                apply();
                ADD_FAILURE() << "no error at step " << step;
            } catch (const IoError& e) {
                EXPECT_NE(e.cause().find("Input/output error"), std::string::npos) << e.what();
                EXPECT_EQ(e.path(), device.failedPath().string());
            }
        }
        const auto after = test::readBytes(mapPath);
        ASSERT_EQ(after.size(), before.size());
        for (std::size_t i = 0; i < after.size(); ++i) {
            if (!patched[i]) {
                ASSERT_EQ(after[i], before[i]) << "byte " << i << " after a failing "
                                               << ioOperationName(device.failedOperation());
            }
        }
    }
}

TEST(PointPatchFaults, SavingAListLeavesTheEarlierFileAtEveryFailure) {
    test::TempDir dir;
    writePointPatchFile(dir / "p.bnp", {{"1", "2", "3", ""}});
    test::expectCleanFailureAtEveryStep(dir.path(), [&] { writePointPatchFile(dir / "p.bnp", entries()); });
}

} // namespace
} // namespace stonereach
