#include "mapdata/GatheredReader.h"

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "mapdata/Errors.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

struct Range {
    std::uint64_t offset;
    std::uint32_t size;
};

class GatheredReading : public ::testing::Test {
protected:
    test::TempDir dir;
    std::vector<std::uint8_t> bytes;
    std::vector<Range> walk;  // 20,000 ranges of 7 to 84 bytes, each at a random place in the file

    void SetUp() override {
        test::writePatternFile(dir / "data", 1 << 20);
        bytes = test::readBytes(dir / "data");
        std::mt19937 random(7);
        for (int i = 0; i < 20000; ++i) {
            const auto size = static_cast<std::uint32_t>(7 * (1 + random() % 12));
            walk.push_back({random() % (bytes.size() - size), size});
        }
    }

    bool sameAsFile(std::span<const std::uint8_t> got, const Range& r) const {
        return got.size() == r.size && std::equal(got.begin(), got.end(), bytes.begin() + static_cast<std::ptrdiff_t>(r.offset));
    }
};

// Scattered ranges, announced and asked for in stretches that a small budget
// sets: each range comes back as the file holds it, a stretch in a few reads.
TEST_F(GatheredReading, ScatteredRangesAreReadInFileOrderAStretchAtATime) {
    const File file(dir / "data", File::Mode::Read);
    GatherBudget budget(256 << 10);  // some 4,000 ranges a stretch
    GatheredReader reader(file, budget, true, 0);
    test::FailingDevice reads(std::nullopt, 0, {IoOperation::Read});
    ScopedFaultInjector counting(reads);
    std::size_t stretches = 0;
    for (std::size_t first = 0; first < walk.size(); ++stretches) {
        reader.clear();
        budget.resetExceeded();
        std::size_t end = first;
        for (; end < walk.size(); ++end) {
            reader.want(walk[end].offset, walk[end].size);
            if (budget.exceeded())
                break;  // the range refused is the next stretch's first
        }
        reader.load();
        for (std::size_t i = first; i < end; ++i) {
            const auto got = reader.view(walk[i].offset, walk[i].size);
            ASSERT_TRUE(sameAsFile(got, walk[i])) << i;
            EXPECT_TRUE(reader.holds(got));
        }
        first = end;
    }
    EXPECT_GE(stretches, 3u);
    // Each stretch reads the file once, 256 KB at a time at most.
    EXPECT_LE(reads.count(), stretches * ((1 << 20) / (192 << 10) + 2));
}

// The reader trusts nothing about the walk: a range asked for out of turn,
// one never announced, and a reader told not to gather all give the file's
// bytes, through the window.
TEST_F(GatheredReading, RangesAskedForOutOfTurnComeThroughTheWindow) {
    const File file(dir / "data", File::Mode::Read);
    GatherBudget budget(16 << 20);
    for (const bool gather : {true, false}) {
        GatheredReader reader(file, budget, gather, walk.size());
        reader.clear();
        for (std::size_t i = 0; i < 100; ++i)
            reader.want(walk[i].offset, walk[i].size);
        reader.load();
        const auto first = reader.view(walk[0].offset, walk[0].size);
        EXPECT_TRUE(sameAsFile(first, walk[0]));
        EXPECT_EQ(reader.holds(first), gather);
        EXPECT_TRUE(sameAsFile(reader.view(walk[5].offset, walk[5].size), walk[5]));       // skips 1 to 4
        EXPECT_TRUE(sameAsFile(reader.view(walk[500].offset, walk[500].size), walk[500]));  // never announced
        const auto bySize = reader.view(walk[1].offset, walk[1].size + 7);                   // a different range
        EXPECT_TRUE(std::equal(bySize.begin(), bySize.end(), bytes.begin() + static_cast<std::ptrdiff_t>(walk[1].offset)));
        EXPECT_FALSE(reader.holds(bySize));
    }
}

// A file cut short after the walk looked at its index: the ranges before the
// cut still come back whole, and the first one past it is an IoError.
TEST_F(GatheredReading, AFileCutShortAfterTheAnnouncementsFailsAtTheFirstMissingRange) {
    File file(dir / "data", File::Mode::ReadWrite);
    GatherBudget budget(16 << 20);
    GatheredReader reader(file, budget, true, 0);
    reader.clear();
    std::vector<Range> ranges = {{900000, 70}, {10, 14}, {500000, 7}, {999990, 10}, {20, 7}};
    for (const Range& r : ranges)
        reader.want(r.offset, r.size);
    reader.want(bytes.size() - 3, 7);  // past the end already: left to the window
    file.resize(600000);
    reader.load();
    EXPECT_THROW(reader.view(ranges[0].offset, ranges[0].size), IoError);
    EXPECT_TRUE(sameAsFile(reader.view(ranges[1].offset, ranges[1].size), ranges[1]));
    EXPECT_TRUE(sameAsFile(reader.view(ranges[2].offset, ranges[2].size), ranges[2]));
    EXPECT_THROW(reader.view(ranges[3].offset, ranges[3].size), IoError);
}

TEST(RangeOrderSurvey, GatheringPaysOnlyForRangesOutOfTheFilesOrder) {
    RangeOrder inOrder;
    RangeOrder skipping;
    RangeOrder scattered;
    std::mt19937 random(3);
    for (std::uint64_t i = 0; i < 10000; ++i) {
        inOrder.add(i * 21, 21);
        skipping.add(i * 210, 21);  // nine in ten passed over
        scattered.add(random() % 200000 * 21, 21);
    }
    EXPECT_FALSE(inOrder.worthGathering());
    EXPECT_FALSE(skipping.worthGathering());
    EXPECT_TRUE(scattered.worthGathering());
    EXPECT_EQ(scattered.ranges(), 10000u);
}

} // namespace
} // namespace stonereach
