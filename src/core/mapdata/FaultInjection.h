#pragma once

#include <cstddef>
#include <filesystem>

namespace stonereach {

// The file operations that can be made to fail on purpose.
enum class IoOperation {
    Open,
    Read,
    Write,
    Size,
    Resize,
    Sync,
    Close,
    Rename,
};

// Text naming an operation, for test output.
const char* ioOperationName(IoOperation operation);

// A test's stand-in for a failing device: File and renameReplacing ask the
// installed injector before each operation whether it should fail, and with
// which errno value. Nothing in the program installs one; the tests do, to
// prove that every engine reports a failed read, write, open or rename as an
// IoError and leaves the user's files as they were.
class FaultInjector {
public:
    virtual ~FaultInjector() = default;
    // 0 lets the operation run; an errno value (ENOSPC, EIO, EACCES...) makes
    // it fail with that error. A failing write stores the first half of its
    // data before it fails, as a disk that fills up part-way does.
    virtual int failureFor(IoOperation operation, const std::filesystem::path& path) = 0;
    // How many of the `requested` bytes a write that failureFor made fail
    // stores before it fails: half of them unless a test chooses.
    virtual std::size_t bytesStoredByFailingWrite(std::size_t requested) { return requested / 2; }
};

// The installed injector or null. This is the one piece of process-wide
// mutable state in the file layer: threading a "file system" object through
// every engine's signature only so that tests can make the disk fail would
// burden every caller, while a single hook that is null outside tests costs
// one pointer load per operation.
FaultInjector* installedFaultInjector() noexcept;

// Installs an injector for the lifetime of the guard and restores the
// previous one afterwards. For tests only; not thread-safe against file
// operations running on other threads while it is installed or removed.
class ScopedFaultInjector {
public:
    explicit ScopedFaultInjector(FaultInjector& injector);
    ScopedFaultInjector(const ScopedFaultInjector&) = delete;
    ScopedFaultInjector& operator=(const ScopedFaultInjector&) = delete;
    ~ScopedFaultInjector();

private:
    FaultInjector* previous_;
};

// The errno value the installed injector chooses for an operation, or 0.
inline int injectedFailure(IoOperation operation, const std::filesystem::path& path) {
    FaultInjector* injector = installedFaultInjector();
    return injector != nullptr ? injector->failureFor(operation, path) : 0;
}

} // namespace stonereach
