#include "mapdata/BufferedFileIO.h"

#include <gtest/gtest.h>

#include "mapdata/Errors.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

constexpr std::size_t Window = 4096;

class ReadAheadReading : public ::testing::Test {
protected:
    test::TempDir dir;
    std::vector<std::uint8_t> bytes;

    void SetUp() override {
        test::writePatternFile(dir / "data", 64 * 1024);
        bytes = test::readBytes(dir / "data");
    }

    // Reads (offset, length) in turn, checks every byte against the file and
    // returns how many reads reached the file.
    std::size_t readAll(const std::vector<std::pair<std::uint64_t, std::size_t>>& requests) {
        const File file(dir / "data", File::Mode::Read);
        ReadAheadReader reader(file, Window);
        test::FailingDevice counter(std::nullopt, 0, {IoOperation::Read});
        ScopedFaultInjector guard(counter);
        for (const auto& [offset, length] : requests) {
            std::vector<std::uint8_t> out(length);
            reader.read(offset, out);
            EXPECT_TRUE(std::equal(out.begin(), out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset)))
                << "bytes at " << offset;
        }
        return counter.count();
    }
};

TEST_F(ReadAheadReading, AWalkThatSkipsSomeRecordsReadsWholeWindows) {
    // 500 records of 30 bytes, every third one passed over.
    std::vector<std::pair<std::uint64_t, std::size_t>> walk;
    for (std::uint64_t i = 0; i < 1500; i += 3)
        walk.emplace_back(i * 30, 30);
    EXPECT_LE(readAll(walk), 1500u * 30 / Window + 2);
}

TEST_F(ReadAheadReading, ScatteredReadsAreReadAloneAndBackwardsReadsStillServed) {
    const std::vector<std::pair<std::uint64_t, std::size_t>> scattered = {
        {60000, 10}, {20000, 10}, {40000, 10}, {100, 10}, {30000, 7000}, {5, 1}};
    EXPECT_EQ(readAll(scattered), scattered.size());
}

// Views are served from the window without a copy; a long run appended
// from a reader is read straight into the writer's buffer, in one read.
TEST_F(ReadAheadReading, ViewsComeFromTheWindowAndLongRunsAreReadStraightIn) {
    const File file(dir / "data", File::Mode::Read);
    ReadAheadReader reader(file, Window);
    test::FailingDevice counter(std::nullopt, 0, {IoOperation::Read});
    ScopedFaultInjector guard(counter);
    const auto first = reader.view(100, 50);  // nothing to follow on from: read alone
    EXPECT_TRUE(std::equal(first.begin(), first.end(), bytes.begin() + 100));
    const auto next = reader.view(150, 200);  // follows on: fills the window
    EXPECT_TRUE(std::equal(next.begin(), next.end(), bytes.begin() + 150));
    const auto inside = reader.view(400, 100);
    EXPECT_TRUE(std::equal(inside.begin(), inside.end(), bytes.begin() + 400));
    EXPECT_EQ(counter.count(), 2u) << "the third view lies in the window the second one filled";
    const auto far = reader.view(50000, 10);
    EXPECT_TRUE(std::equal(far.begin(), far.end(), bytes.begin() + 50000));
    EXPECT_EQ(counter.count(), 3u);
    EXPECT_THROW(reader.view(0, Window + 1), RangeError);

    const auto outPath = dir / "out";
    File out(outPath, File::Mode::Create);
    {
        AppendWriter writer(out, 0, 3 * Window);
        writer.appendFrom(reader, 1000, 2 * Window);   // long: read straight into the buffer
        writer.appendFrom(reader, 20000, 30);          // short: through the window
        writer.flush();
    }
    EXPECT_EQ(counter.count(), 5u);
    const auto written = test::readBytes(outPath);
    ASSERT_EQ(written.size(), 2 * Window + 30);
    EXPECT_TRUE(std::equal(written.begin(), written.begin() + 2 * Window, bytes.begin() + 1000));
    EXPECT_TRUE(std::equal(written.begin() + 2 * Window, written.end(), bytes.begin() + 20000));
}

TEST_F(ReadAheadReading, AReadPastTheEndIsAnIoError) {
    const File file(dir / "data", File::Mode::Read);
    ReadAheadReader reader(file, Window);
    std::vector<std::uint8_t> out(20);
    reader.read(64 * 1024 - 40, out);
    EXPECT_THROW(reader.read(64 * 1024 - 10, out), IoError);
}

} // namespace
} // namespace stonereach
