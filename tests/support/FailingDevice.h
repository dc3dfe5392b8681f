#pragma once

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "mapdata/Errors.h"
#include "mapdata/FaultInjection.h"
#include "support/TempDir.h"

namespace stonereach::test {

// A fault injector that numbers the file operations it sees (of the chosen
// kinds, from 0) and fails the one numbered `failAt` with `error`. Without a
// failAt it only counts, which tells a test how many steps an operation has.
class FailingDevice : public FaultInjector {
public:
    static constexpr std::initializer_list<IoOperation> everyOperation = {
        IoOperation::Open,   IoOperation::Read, IoOperation::Write, IoOperation::Size,
        IoOperation::Resize, IoOperation::Sync, IoOperation::Close, IoOperation::Rename};

    explicit FailingDevice(std::optional<std::size_t> failAt = std::nullopt, int error = 0,
                           std::initializer_list<IoOperation> kinds = everyOperation)
        : failAt_(failAt), error_(error), kinds_(kinds) {}

    int failureFor(IoOperation operation, const std::filesystem::path& path) override {
        // Some engines read with two threads at once.
        const std::lock_guard lock(mutex_);
        if (!kinds_.contains(operation))
            return 0;
        const std::size_t number = count_++;
        if (!failAt_ || number != *failAt_)
            return 0;
        failedOperation_ = operation;
        failedPath_ = path;
        return error_;
    }

    std::size_t count() const {
        const std::lock_guard lock(mutex_);
        return count_;
    }
    bool failed() const { return failedOperation_.has_value(); }
    IoOperation failedOperation() const { return *failedOperation_; }
    const std::filesystem::path& failedPath() const { return failedPath_; }

private:
    std::optional<std::size_t> failAt_;
    int error_;
    std::set<IoOperation> kinds_;
    std::size_t count_ = 0;
    std::optional<IoOperation> failedOperation_;
    std::filesystem::path failedPath_;
    mutable std::mutex mutex_;
};

// A disk that fills up in the middle of a write: the first write to `path`
// stores only its first `stored` bytes and then fails with `error`. It tells
// how long that write was, so a test knows every place a write can stop.
class ShortWrite : public FaultInjector {
public:
    ShortWrite(std::filesystem::path path, std::size_t stored, int error = ENOSPC)
        : path_(std::move(path)), stored_(stored), error_(error) {}

    int failureFor(IoOperation operation, const std::filesystem::path& path) override {
        if (operation != IoOperation::Write || path != path_ || failed_)
            return 0;
        failed_ = true;
        return error_;
    }
    std::size_t bytesStoredByFailingWrite(std::size_t requested) override {
        requested_ = requested;
        return std::min(stored_, requested);
    }
    bool failed() const { return failed_; }
    // The length of the write that failed.
    std::size_t requested() const { return requested_; }

private:
    std::filesystem::path path_;
    std::size_t stored_;
    int error_;
    bool failed_ = false;
    std::size_t requested_ = 0;
};

// How many file operations `run` performs (it runs once with a counting
// device installed).
inline std::size_t countFileOperations(const std::function<void()>& run) {
    FailingDevice counter;
    ScopedFaultInjector guard(counter);
    run();
    return counter.count();
}

// The operation numbers to fail in turn: all of them when there are at most
// `limit`, else `limit` of them spread evenly, always with the first and the
// last few (where files are opened, committed and closed).
inline std::vector<std::size_t> stepsToFail(std::size_t total, std::size_t limit = 400) {
    std::vector<std::size_t> steps;
    if (total <= limit) {
        for (std::size_t i = 0; i < total; ++i)
            steps.push_back(i);
        return steps;
    }
    std::set<std::size_t> chosen;
    const std::size_t ends = std::min<std::size_t>(16, limit / 4);
    for (std::size_t i = 0; i < ends; ++i) {
        chosen.insert(i);
        chosen.insert(total - 1 - i);
    }
    const std::size_t spread = limit - 2 * ends;
    for (std::size_t i = 0; i < spread; ++i)
        chosen.insert(i * total / spread);
    return {chosen.begin(), chosen.end()};
}

using FileSnapshot = std::map<std::string, std::vector<std::uint8_t>>;

// Every regular file below a directory with its bytes, by path relative to it.
inline FileSnapshot snapshotFiles(const std::filesystem::path& dir) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        if (entry.is_regular_file())
            files[std::filesystem::relative(entry.path(), dir).string()] = readBytes(entry.path());
    return files;
}

// The names of the regular files below a directory.
inline std::set<std::string> fileNames(const std::filesystem::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        if (entry.is_regular_file())
            names.insert(std::filesystem::relative(entry.path(), dir).string());
    return names;
}

// Runs `operation` with each of its file operations failing in turn (a spread
// of `limit` of them when there are more) with disk full, I/O error and
// permission denied by turns, and checks after each failure: the operation
// raised an IoError naming a file and the cause; every file below `dir` that
// was there before is byte for byte as it was (except those named in
// `mayChange`, which `checkChanged` may look at, given the files before and
// after and a description of the failure); no file was added. What a run
// changed is put back before the next.
using ChangedFilesCheck =
    std::function<void(const FileSnapshot& before, const FileSnapshot& after, const std::string& what)>;

template <class Operation>
void expectCleanFailureAtEveryStep(const std::filesystem::path& dir, Operation operation, std::size_t limit = 400,
                                   const std::set<std::string>& mayChange = {},
                                   const ChangedFilesCheck& checkChanged = {}) {
    const auto before = snapshotFiles(dir);
    const auto putBack = [&] {
        for (const auto& name : fileNames(dir))
            if (!before.contains(name))
                std::filesystem::remove(dir / name);
        for (const auto& [name, bytes] : before)
            if (readBytes(dir / name) != bytes)
                writeBytes(dir / name, bytes);
    };
    const std::size_t total = countFileOperations([&] { operation(); });
    putBack();
    ASSERT_GT(total, 0u);
    const int errors[] = {ENOSPC, EIO, EACCES};
    for (const std::size_t step : stepsToFail(total, limit)) {
        const int error = errors[step % 3];
        FailingDevice device(step, error);
        {
            ScopedFaultInjector guard(device);
            try {
                operation();
                ADD_FAILURE() << "no error with file operation " << step << " of " << total << " failing";
            } catch (const IoError& e) {
                EXPECT_FALSE(e.path().empty()) << e.what();
                EXPECT_NE(e.cause().find(std::strerror(error)), std::string::npos) << e.what();
                EXPECT_NE(std::string(e.what()).find(e.path()), std::string::npos) << e.what();
                // Temporary files are the program's own business: an error
                // names a file the user knows of.
                EXPECT_EQ(e.path().find(".tmp-"), std::string::npos) << e.what();
            }
        }
        ASSERT_TRUE(device.failed());
        const std::string what = std::string("a failing ") + ioOperationName(device.failedOperation()) + " of " +
                                 device.failedPath().string() + " (operation " + std::to_string(step) + ")";
        const auto after = snapshotFiles(dir);
        for (const auto& [name, bytes] : before) {
            const auto it = after.find(name);
            ASSERT_NE(it, after.end()) << name << " is gone after " << what;
            if (!mayChange.contains(name)) {
                EXPECT_TRUE(it->second == bytes) << name << " changed after " << what;
            }
        }
        for (const auto& [name, bytes] : after)
            EXPECT_TRUE(before.contains(name)) << name << " left behind after " << what;
        if (checkChanged)
            checkChanged(before, after, what);
        if (::testing::Test::HasFailure())
            return;
        putBack();
    }
}

} // namespace stonereach::test
