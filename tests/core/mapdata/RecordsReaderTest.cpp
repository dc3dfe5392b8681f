#include "mapdata/RecordsReader.h"

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

class RecordsReading : public ::testing::Test {
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

// Scattered ranges from a reader that holds the file: one read of the whole
// file, then every range as the file holds it, valid for the reader's life.
// A reader that does not hold it gives the same bytes through the window.
TEST_F(RecordsReading, ScatteredRangesComeFromOneReadOfTheWholeFile) {
    const File file(dir / "data", File::Mode::Read);
    for (const bool whole : {true, false}) {
        test::FailingDevice reads(std::nullopt, 0, {IoOperation::Read});
        ScopedFaultInjector counting(reads);
        RecordsReader reader(file, whole);
        EXPECT_EQ(reader.readsWhole(), whole);
        std::vector<std::span<const std::uint8_t>> seen;
        for (std::size_t i = 0; i < walk.size(); ++i) {
            if (i + 16 < walk.size())
                reader.prefetch(walk[i + 16].offset);
            const auto got = reader.view(walk[i].offset, walk[i].size);
            ASSERT_TRUE(sameAsFile(got, walk[i])) << i;
            seen.push_back(got);
        }
        if (whole) {
            EXPECT_LE(reads.count(), 2u);
            for (std::size_t i = 0; i < walk.size(); ++i)
                ASSERT_TRUE(sameAsFile(seen[i], walk[i])) << i;
        } else {
            EXPECT_GT(reads.count(), walk.size() / 2);
        }
    }
}

// A file cut short after the walk looked at its index: the ranges before the
// cut still come back whole, and one past it is an IoError.
TEST_F(RecordsReading, AFileCutShortFailsAtTheFirstMissingRange) {
    File file(dir / "data", File::Mode::ReadWrite);
    file.resize(600000);
    RecordsReader reader(file, true);
    EXPECT_THROW(reader.view(900000, 70), IoError);
    EXPECT_TRUE(sameAsFile(reader.view(10, 14), {10, 14}));
    EXPECT_TRUE(sameAsFile(reader.view(599993, 7), {599993, 7}));
    EXPECT_THROW(reader.view(599995, 7), IoError);
}

TEST(RangeOrderSurvey, ReadingWholePaysOnlyForRangesOutOfTheFilesOrder) {
    RangeOrder inOrder;
    RangeOrder skipping;
    RangeOrder scattered;
    RangeOrder backwards;
    std::mt19937 random(3);
    for (std::uint64_t i = 0; i < 10000; ++i) {
        inOrder.add(i * 21, 21);
        inOrder.add(0xFFFFFFFF, 0);  // blocks without records lie nowhere
        skipping.add(i * 210, 21);   // nine in ten passed over
        scattered.add(random() % 200000 * 21, 21);
        backwards.add((10000 - i) * 21, 21);
    }
    EXPECT_FALSE(inOrder.worthReadingWhole(210000));
    EXPECT_FALSE(skipping.worthReadingWhole(2100000));
    EXPECT_TRUE(scattered.worthReadingWhole(4200000));
    EXPECT_TRUE(backwards.worthReadingWhole(210000));
}

} // namespace
} // namespace stonereach
