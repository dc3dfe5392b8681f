#include "patches/MapComparison.h"

#include <random>

#include <gtest/gtest.h>

#include "mapdata/Errors.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapLayout.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

// Two threads share out chunks of a few block columns and mark changed blocks
// in shared 64-bit words. On this grid a chunk holds 5,100 blocks, so chunks
// end inside words: every flag and the checksum must still come out as a
// plain walk over the maps gives them.
TEST(MapComparison, FlagsAndChecksumMatchAPlainWalkWhateverThreadDidWhich) {
    test::TempDir dir;
    const DiffGrid grid{41, 300};
    std::vector<std::uint8_t> original(grid.blockCount() * MapLayout::BlockSize);
    std::mt19937 random(7);
    for (auto& b : original)
        b = static_cast<std::uint8_t>(random());
    auto modified = original;
    for (std::size_t k = 0; k < grid.blockCount(); ++k)
        if (random() % 5 == 0)
            modified[k * MapLayout::BlockSize + random() % MapLayout::BlockSize] ^= 0x10;
    test::writeBytes(dir / "a.mul", original);
    test::writeBytes(dir / "b.mul", modified);

    for (int round = 0; round < 5; ++round) {
        MapComparison comparison(dir / "a.mul", dir / "b.mul", grid);
        int lastReport = -1;
        const std::uint32_t checksum = comparison.finish("Checking", [&](const ProgressReport& r) {
            EXPECT_EQ(r.text, "Checking");
            EXPECT_GE(r.position, lastReport);
            lastReport = static_cast<int>(r.position);
        });
        EXPECT_EQ(lastReport, 100);
        std::uint32_t expected = 0;
        for (std::size_t i = 0; i < grid.checksummedMapBlocks() * MapLayout::BlockSize; i += 4)
            expected ^= le::u32(&modified[i]);
        EXPECT_EQ(checksum, expected);
        for (std::size_t k = 0; k < grid.blockCount(); ++k) {
            const bool differs = !std::equal(original.begin() + static_cast<std::ptrdiff_t>(k * MapLayout::BlockSize),
                                             original.begin() + static_cast<std::ptrdiff_t>((k + 1) * MapLayout::BlockSize),
                                             modified.begin() + static_cast<std::ptrdiff_t>(k * MapLayout::BlockSize));
            ASSERT_EQ(comparison.changed()[k], differs) << "block " << k << " in round " << round;
        }
    }
}

TEST(MapComparison, AMapShorterThanTheGridIsAnIoErrorAtOnce) {
    test::TempDir dir;
    const DiffGrid grid{4, 3};
    test::writeBytes(dir / "a.mul", std::vector<std::uint8_t>(grid.blockCount() * MapLayout::BlockSize));
    test::writeBytes(dir / "b.mul", std::vector<std::uint8_t>(grid.blockCount() * MapLayout::BlockSize - 1));
    EXPECT_THROW(MapComparison(dir / "a.mul", dir / "b.mul", grid), IoError);
}

} // namespace
} // namespace stonereach
