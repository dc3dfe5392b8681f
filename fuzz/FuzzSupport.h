#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <utility>
#include <vector>
#include <unistd.h>

#include "mapdata/File.h"
#include "mapdata/FileSystem.h"
#include "mapdata/MemoryFiles.h"

// Helpers shared by the fuzz programs.
namespace stonereach::fuzz {

// A directory of this fuzz process for the files an input is written to,
// removed when the process ends normally. Each input rewrites the files it
// needs, so nothing of an earlier input reaches the next one. It lies in
// memory (/dev/shm) where there is one: on a disk file system, truncating and
// rewriting the same files thousands of times a second waits for the disk.
class ScratchDirectory {
public:
    ScratchDirectory() : path_(base() / ("stonereach-fuzz-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    ~ScratchDirectory() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    static std::filesystem::path base() {
        std::error_code ec;
        if (std::filesystem::is_directory("/dev/shm", ec))
            return "/dev/shm";
        return std::filesystem::temp_directory_path();
    }

    std::filesystem::path path_;
};

inline const std::filesystem::path& scratchDirectory() {
    static const ScratchDirectory dir;
    return dir.path();
}

// The files of this fuzz process held in memory (see MemoryFiles), installed
// at first use for the whole run: the parsers and engines reach them by path
// as they would files on the disk, thousands of times a second, and nothing
// below this folder touches the disk. (The folder does not exist there.)
inline constexpr const char* MemoryFolderName = "/stonereach-fuzz-in-memory";

inline MemoryFiles& memoryFiles() {
    static MemoryFiles files(MemoryFolderName);
    static const ScopedMemoryFiles installed(files);
    return files;
}

inline std::filesystem::path memoryFolder() {
    memoryFiles();  // installed before any path below the folder is used
    return MemoryFolderName;
}

// Removes a file held in memory when it goes out of scope.
class RemovedAtEnd {
public:
    explicit RemovedAtEnd(std::filesystem::path path) : path_(std::move(path)) {}
    RemovedAtEnd(const RemovedAtEnd&) = delete;
    RemovedAtEnd& operator=(const RemovedAtEnd&) = delete;
    ~RemovedAtEnd() { memoryFiles().remove(path_); }

private:
    std::filesystem::path path_;
};

// Writes and reads whole files, on the disk or in memory; a file that is not
// there reads as no bytes.
inline void writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    File file(path, File::Mode::Create);
    file.writeAt(0, bytes);
}

inline std::vector<std::uint8_t> readFile(const std::filesystem::path& path) {
    if (!fileExists(path))
        return {};
    const File file(path, File::Mode::Read);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size()));
    file.readAt(0, bytes);
    return bytes;
}

// Reads a little-endian value from the front of an input and advances it;
// zero once the input is used up.
template <class T>
T take(std::span<const std::uint8_t>& input) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        if (!input.empty()) {
            value |= std::uint64_t{input.front()} << (8 * i);
            input = input.subspan(1);
        }
    }
    return static_cast<T>(value);
}

} // namespace stonereach::fuzz

// Stops the fuzz run with a finding when a property of the code does not hold
// (assert would vanish in a release build).
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
