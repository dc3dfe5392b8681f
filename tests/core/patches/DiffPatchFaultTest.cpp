// Diff patch generation and application on a failing disk: a failure injected
// at every file operation in turn must reach the caller as an IoError naming
// the file and the cause, leave every file that existed before byte for byte
// as it was, and leave no temporary file behind.
#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

#include "core/patches/DiffFileSet.h"
#include "mapdata/Errors.h"
#include "patches/DiffPatchApplier.h"
#include "patches/DiffPatchGenerator.h"
#include "support/FailingDevice.h"

namespace stonereach {
namespace {

using test::StaticsSet;

constexpr DiffGrid SmallGrid{4, 3};

class DiffPatchFaults : public ::testing::Test {
protected:
    test::TempDir dir;
    DiffFileSet origFiles;
    DiffFileSet modFiles;
    DiffFileSet outFiles;
    std::filesystem::path patch = dir / "p.bsr";

    void SetUp() override {
        StaticsSet original(SmallGrid);
        original.fillAllBlocks(1);
        StaticsSet modified = original;
        modified.index[0] = StaticPointer{DiffPatchLayout::NoStatics, 0, 55};
        modified.setRecords(4, 3, 9, 4444);
        modified.setRecords(7, 1, 2, 7);
        modified.map[5 * 196 + 50] ^= 0x5A;
        modified.map[11 * 196 + 3] ^= 0x11;
        origFiles = original.write(dir / "orig");
        modFiles = modified.write(dir / "mod");
        // The set a patch is applied to holds older files, all to be replaced.
        StaticsSet older(SmallGrid);
        older.fillAllBlocks(40);
        outFiles = older.write(dir / "out");
    }

    void generate() { generateDiffPatch({origFiles, modFiles, patch, true, true, SmallGrid}, {}); }
    DiffApplyResult apply() { return applyDiffPatch({origFiles, outFiles, patch, SmallGrid}, {}); }

    // Runs `operation` with each of its file operations failing in turn and
    // checks what the user is left with after each failure.
    template <class Operation>
    void failEachStep(Operation operation) {
        const auto before = test::snapshotFiles(dir.path());
        const std::size_t total = test::countFileOperations([&] { operation(); });
        // Put back what the counting run changed.
        for (const auto& name : test::fileNames(dir.path()))
            if (!before.contains(name))
                std::filesystem::remove(dir / name);
        for (const auto& [name, bytes] : before)
            test::writeBytes(dir / name, bytes);
        ASSERT_GT(total, 10u);
        const int errors[] = {ENOSPC, EIO, EACCES};
        for (const std::size_t step : test::stepsToFail(total)) {
            const int error = errors[step % 3];
            test::FailingDevice device(step, error);
            {
                ScopedFaultInjector guard(device);
                try {
                    operation();
                    ADD_FAILURE() << "no error with operation " << step << " failing";
                } catch (const IoError& e) {
                    EXPECT_FALSE(e.path().empty());
                    EXPECT_NE(e.cause().find(std::strerror(error)), std::string::npos) << e.what();
                    EXPECT_NE(std::string(e.what()).find(e.path()), std::string::npos) << e.what();
                }
            }
            ASSERT_TRUE(device.failed());
            const auto after = test::snapshotFiles(dir.path());
            for (const auto& [name, bytes] : before) {
                const auto it = after.find(name);
                ASSERT_NE(it, after.end()) << name << " is gone after a failing "
                                           << ioOperationName(device.failedOperation()) << " at step " << step;
                EXPECT_TRUE(it->second == bytes) << name << " changed after a failing "
                                                 << ioOperationName(device.failedOperation()) << " of "
                                                 << device.failedPath() << " at step " << step;
            }
            for (const auto& [name, bytes] : after)
                EXPECT_TRUE(before.contains(name)) << name << " left behind after a failing "
                                                   << ioOperationName(device.failedOperation()) << " at step "
                                                   << step;
            if (HasFailure())
                return;
        }
    }
};

TEST_F(DiffPatchFaults, GenerationLeavesAnEarlierPatchAndNoPartialFile) {
    test::writeBytes(patch, {1, 2, 3, 4});
    failEachStep([&] { generate(); });
}

TEST_F(DiffPatchFaults, GenerationOfANewPatchLeavesNothingBehind) {
    failEachStep([&] { generate(); });
}

TEST_F(DiffPatchFaults, ApplicationLeavesTheModifiedSetAsItWas) {
    generate();
    failEachStep([&] { ASSERT_TRUE(apply().applied); });
}

} // namespace
} // namespace stonereach
