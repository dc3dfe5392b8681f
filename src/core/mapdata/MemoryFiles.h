#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace stonereach {

// The bytes of one file held in memory, kept in pages that exist only where
// something was written: like a sparse file on the disk, a file made long by
// setting its size holds zeros that take no memory (a map file of 90 MB with
// a few cells written takes a few pages).
class MemoryFile {
public:
    std::uint64_t size() const { return size_; }
    // Reads up to out.size() bytes at offset; returns how many the file held.
    std::size_t read(std::uint64_t offset, std::span<std::uint8_t> out) const;
    // Writes data at offset, lengthening the file as needed.
    void write(std::uint64_t offset, std::span<const std::uint8_t> data);
    // Cuts the file short or lengthens it with zeros.
    void resize(std::uint64_t size);

private:
    static constexpr std::size_t PageSize = 4096;
    // The bytes of a page up to the last one written; the rest of the page
    // reads as zeros. A small file takes only its own bytes, not a page.
    using Page = std::vector<std::uint8_t>;

    std::uint64_t size_ = 0;
    std::unordered_map<std::uint64_t, Page> pages_;
};

// Shared between the folder that lists a file and the handles open on it, so
// a handle keeps working on a file that was renamed or removed meanwhile, as
// on the disk.
using MemoryFileBytes = std::shared_ptr<MemoryFile>;

// Files held in memory in place of the disk, below one folder (paths are
// compared as written: "a/../b" is not "b"). The fuzz
// programs feed the parsers and engines thousands of inputs a second; through
// the disk they would spend that time creating, truncating and renaming files
// rather than parsing. While a MemoryFiles is installed, File, PendingFile and
// the functions of FileSystem.h work in it for every path below its folder,
// and on the disk for any other path. Nothing in the program installs one: it
// is the fuzz programs' way to reach the parsers from memory, while the file
// layer itself is tested on the disk.
class MemoryFiles {
public:
    explicit MemoryFiles(std::filesystem::path folder);

    // Whether the path lies below the folder.
    bool holds(const std::filesystem::path& path) const;

    // The file at path, or null when there is none.
    MemoryFileBytes find(const std::filesystem::path& path) const;
    // A new empty file at path, in place of any file there.
    MemoryFileBytes create(const std::filesystem::path& path);
    // False when there is no file at `from`.
    bool rename(const std::filesystem::path& from, const std::filesystem::path& to);
    void remove(const std::filesystem::path& path);
    // Removes every file below the folder given (a path below this one).
    void removeAllBelow(const std::filesystem::path& folder);
    // The names of the files directly in the folder given, in order.
    std::vector<std::string> namesIn(const std::filesystem::path& folder) const;

private:
    static const std::string& key(const std::filesystem::path& path);

    std::string folder_;  // ending in a separator
    std::map<std::string, MemoryFileBytes> files_;
};

// The installed MemoryFiles or null. Like the fault injector (see
// FaultInjection.h), a single hook that is null outside the fuzz programs:
// threading a file system object through every engine only so that fuzzing
// can run in memory would burden every caller.
MemoryFiles* installedMemoryFiles() noexcept;

// The installed MemoryFiles when it holds the path, else null.
inline MemoryFiles* memoryFilesHolding(const std::filesystem::path& path) {
    MemoryFiles* files = installedMemoryFiles();
    return files != nullptr && files->holds(path) ? files : nullptr;
}

// Installs a MemoryFiles for the lifetime of the guard and restores the
// previous one afterwards. Not thread-safe against file operations running
// meanwhile.
class ScopedMemoryFiles {
public:
    explicit ScopedMemoryFiles(MemoryFiles& files);
    ScopedMemoryFiles(const ScopedMemoryFiles&) = delete;
    ScopedMemoryFiles& operator=(const ScopedMemoryFiles&) = delete;
    ~ScopedMemoryFiles();

private:
    MemoryFiles* previous_;
};

} // namespace stonereach
