#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/MapFile.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

using test::FailingDevice;

// Runs `run` with the first operation of `kind` failing with `error` and
// returns the IoError it raised.
template <class Run>
IoError failureOf(IoOperation kind, int error, Run run) {
    FailingDevice device(0, error, {kind});
    ScopedFaultInjector guard(device);
    try {
        run();
    } catch (const IoError& e) {
        EXPECT_TRUE(device.failed());
        return e;
    }
    ADD_FAILURE() << "no IoError for a failing " << ioOperationName(kind);
    return IoError("", "");
}

class FaultInjection : public ::testing::Test {
protected:
    test::TempDir dir;
    std::filesystem::path path = dir / "data.bin";
    void SetUp() override { test::writePatternFile(path, 1000); }
};

TEST_F(FaultInjection, EachFileOperationReportsTheInjectedCauseAndThePath) {
    const struct {
        IoOperation kind;
        int error;
        std::function<void()> run;
    } cases[] = {
        {IoOperation::Open, EACCES, [&] { File f(path, File::Mode::Read); }},
        {IoOperation::Read, EIO,
         [&] {
             std::uint8_t b[4];
             File(path, File::Mode::Read).readAt(10, b);
         }},
        {IoOperation::Write, ENOSPC,
         [&] {
             const std::uint8_t b[4] = {};
             File(path, File::Mode::ReadWrite).writeAt(10, b);
         }},
        {IoOperation::Size, EIO, [&] { (void)File(path, File::Mode::Read).size(); }},
        {IoOperation::Resize, ENOSPC, [&] { File(path, File::Mode::ReadWrite).resize(5000); }},
        {IoOperation::Sync, EIO, [&] { File(path, File::Mode::ReadWrite).sync(); }},
        {IoOperation::Close, EIO, [&] { File(path, File::Mode::ReadWrite).close(); }},
        {IoOperation::Rename, EACCES, [&] { renameReplacing(path, dir / "other.bin"); }},
    };
    for (const auto& c : cases) {
        const IoError e = failureOf(c.kind, c.error, c.run);
        const std::string expectedPath = (c.kind == IoOperation::Rename ? dir / "other.bin" : path).string();
        EXPECT_EQ(e.path(), expectedPath) << ioOperationName(c.kind);
        EXPECT_NE(e.cause().find(std::strerror(c.error)), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(expectedPath), std::string::npos) << e.what();
    }
    EXPECT_EQ(test::readBytes(path).size(), 1000u) << "only the half-done write may touch the file";
}

TEST_F(FaultInjection, OnlyTheChosenOperationFailsAndTheDeviceIsRemovedWithItsGuard) {
    MapFile map(path, File::Mode::Read);
    const MapGeometry geometry{8, 8, 1};
    {
        FailingDevice device(2, EIO, {IoOperation::Read});
        ScopedFaultInjector guard(device);
        EXPECT_NO_THROW(map.readCell(0, 0, geometry));
        EXPECT_NO_THROW(map.readCell(1, 0, geometry));
        EXPECT_THROW(map.readCell(2, 0, geometry), IoError);
        EXPECT_NO_THROW(map.readCell(3, 0, geometry)) << "the program carries on after a failed read";
        EXPECT_EQ(device.count(), 4u);
    }
    EXPECT_EQ(installedFaultInjector(), nullptr);
    EXPECT_NO_THROW(map.readCell(2, 0, geometry));
}

TEST_F(FaultInjection, AFailingWriteStoresAtMostItsFirstHalf) {
    File file(path, File::Mode::ReadWrite);
    const std::vector<std::uint8_t> data(10, 0xAA);
    FailingDevice device(0, ENOSPC, {IoOperation::Write});
    ScopedFaultInjector guard(device);
    EXPECT_THROW(file.writeAt(100, data), IoError);
    const auto bytes = test::readBytes(path);
    EXPECT_EQ(bytes[104], 0xAA);
    EXPECT_NE(bytes[105], 0xAA);
}

// A file written anew through PendingFile: a failure at any step leaves the
// old file as it was and no temporary file behind.
TEST_F(FaultInjection, PendingFileLeavesTheOldFileAndNoTemporaryAtEveryFailure) {
    const auto before = test::snapshotFiles(dir.path());
    const auto write = [&] {
        PendingFile pending(path);
        const std::vector<std::uint8_t> data(300, 0x55);
        pending.file().writeAt(0, data);
        pending.file().writeAt(300, data);
        pending.commit();
    };
    const std::size_t steps = test::countFileOperations([&] {
        write();
        test::writePatternFile(path, 1000);
    });
    EXPECT_EQ(steps, 6u) << "open, two writes, sync, close, rename";
    for (const int error : {ENOSPC, EIO, EACCES}) {
        for (std::size_t step = 0; step < steps; ++step) {
            FailingDevice device(step, error);
            ScopedFaultInjector guard(device);
            try {
                write();
                ADD_FAILURE() << "no error at step " << step;
            } catch (const IoError& e) {
                EXPECT_NE(e.cause().find(std::strerror(error)), std::string::npos) << e.what();
                // The file the caller named, never the temporary one.
                EXPECT_EQ(e.path(), path.string()) << e.what();
            }
            EXPECT_EQ(test::snapshotFiles(dir.path()), before)
                << "after a failing " << ioOperationName(device.failedOperation()) << " at step " << step;
        }
    }
}

// A new file is forced to the disk only when it replaces one; a picture never.
TEST_F(FaultInjection, PendingFileSyncsOnlyWhatReplacesAnExistingFile) {
    const auto syncs = [&](const std::filesystem::path& target, PendingFile::Durability durability) {
        FailingDevice counter(std::nullopt, 0, {IoOperation::Sync});
        ScopedFaultInjector guard(counter);
        PendingFile pending(target, durability);
        pending.file().writeAt(0, std::vector<std::uint8_t>(10, 1));
        pending.commit();
        return counter.count();
    };
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(syncs(path, PendingFile::Durability::WhenReplacing), 1u);
    EXPECT_EQ(syncs(dir / "new.mul", PendingFile::Durability::WhenReplacing), 0u);
    EXPECT_EQ(syncs(dir / "new.mul", PendingFile::Durability::Never), 0u);
    EXPECT_EQ(test::readBytes(dir / "new.mul"), std::vector<std::uint8_t>(10, 1));
}

} // namespace
} // namespace stonereach

namespace stonereach {
namespace {

// Three files published together over two older files and one new name.
class CommitTogether : public ::testing::Test {
protected:
    test::TempDir dir;
    void SetUp() override {
        test::writeBytes(dir / "a", {1});
        test::writeBytes(dir / "b", {2});
    }
    void publish() {
        PendingFile a(dir / "a");
        PendingFile b(dir / "b");
        PendingFile c(dir / "c");
        for (PendingFile* file : {&a, &b, &c}) {
            const std::uint8_t data[] = {9, 9};
            file->file().writeAt(0, data);
        }
        commitTogether({&a, &b, &c});
    }
};

TEST_F(CommitTogether, ReplacesEveryTargetAndLeavesNothingElse) {
    publish();
    EXPECT_EQ(test::fileNames(dir.path()), (std::set<std::string>{"a", "b", "c"}));
    for (const char* name : {"a", "b", "c"})
        EXPECT_EQ(test::readBytes(dir / name), (std::vector<std::uint8_t>{9, 9}));
}

TEST_F(CommitTogether, AFailureAtAnyStepLeavesEveryEarlierFileAndNoNewOne) {
    const auto before = test::snapshotFiles(dir.path());
    const std::size_t steps = test::countFileOperations([&] {
        publish();
        std::filesystem::remove(dir / "c");
        SetUp();
    });
    for (std::size_t step = 0; step < steps; ++step) {
        test::FailingDevice device(step, EIO);
        try {
            ScopedFaultInjector guard(device);
            publish();
            ADD_FAILURE() << "no error at step " << step;
        } catch (const IoError& e) {
            EXPECT_EQ(e.path().find(".tmp-"), std::string::npos) << e.what();
        }
        EXPECT_EQ(test::snapshotFiles(dir.path()), before)
            << "after a failing " << ioOperationName(device.failedOperation()) << " of " << device.failedPath();
    }
}

} // namespace
} // namespace stonereach
