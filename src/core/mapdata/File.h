#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

#include "mapdata/ByteSource.h"

namespace stonereach {

class MemoryFile;

// What the file system tells of a file: which file it is (device and inode),
// how long it is, how many names it has, and when its content and its
// metadata last changed. Two looks at a file that compare equal saw it
// unchanged, as far as the file system's clock can tell.
struct FileStatus {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::uint64_t links = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    bool sameFileAs(const FileStatus& other) const { return device == other.device && inode == other.inode; }
    friend bool operator==(const FileStatus&, const FileStatus&) = default;
};

// One open file with positioned reads and writes. Every failure throws an
// IoError naming the path and the cause. Files are opened shared: other
// handles (the program's own tools, other programs) may read and write them
// meanwhile, which is why nothing here maps or caches file contents. A path
// that an installed MemoryFiles holds (see MemoryFiles.h) opens its file in
// memory instead of on the disk.
class File final : public ByteSource {
public:
    enum class Mode {
        Read,       // existing file, read only
        ReadWrite,  // existing file, read and write
        Create,     // created or truncated, read and write
    };

    File() = default;
    File(const std::filesystem::path& path, Mode mode);
    // Opens `path` but names `shownAs` in this and every later error: a file
    // written under a temporary name reports the file the user asked for,
    // whose name is the one that means something to them.
    File(const std::filesystem::path& path, Mode mode, std::filesystem::path shownAs);
    // A handle that is not open but remembers its path, so that a later use
    // reports which file it was meant to be.
    static File unopened(std::filesystem::path path);
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() override;

    bool isOpen() const { return fd_ >= 0 || memory_ != nullptr; }
    // The path that errors name (see the constructor with shownAs).
    const std::filesystem::path& path() const { return path_; }

    // Reads exactly buffer.size() bytes at offset; a short read is an error.
    void readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const override;
    // Reads up to buffer.size() bytes at offset; returns how many were there.
    std::size_t readUpTo(std::uint64_t offset, std::span<std::uint8_t> buffer) const override;
    // Writes all of data at offset. A failure is a WriteError that tells how
    // many bytes were stored before it.
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> data);

    std::uint64_t size() const override;
    std::string sourceName() const override { return path_.string(); }
    // The open file's status (it may have lost its name meanwhile: links 0).
    FileStatus status() const;
    void resize(std::uint64_t size);
    // Makes the file at least `size` bytes long, the new bytes zero, with the
    // disk space taken now: a full disk shows here rather than at a later
    // write, and no zeros need writing.
    void allocate(std::uint64_t size);
    // Forces written data to the disk, so a later rename publishes whole files.
    void sync();
    // Closes the handle and reports a failed close; the destructor closes
    // silently.
    void close();

private:
    int fd_ = -1;
    std::shared_ptr<MemoryFile> memory_;  // a file held in memory
    std::filesystem::path path_;
};

} // namespace stonereach
