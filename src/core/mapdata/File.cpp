#include "mapdata/File.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cstring>
#include <utility>

#include "mapdata/Errors.h"
#include "mapdata/FaultInjection.h"
#include "mapdata/MemoryFiles.h"
#include "mapdata/FileSystem.h"

namespace stonereach {

namespace {

std::string describe(int error) { return std::strerror(error); }

int openFlags(File::Mode mode) {
    switch (mode) {
    case File::Mode::Read: return O_RDONLY;
    case File::Mode::ReadWrite: return O_RDWR;
    case File::Mode::Create: return O_RDWR | O_CREAT | O_TRUNC;
    }
    return O_RDONLY;
}

std::string at(std::size_t count, std::uint64_t offset) {
    return std::to_string(count) + " bytes at offset " + std::to_string(offset);
}

// Why opening failed, in the words of what was being done. A file created in
// a folder that is not there says so: "No such file or directory" alone
// reads as if the new file itself were missing.
std::string openFailure(const std::filesystem::path& path, File::Mode mode, int error) {
    if (mode != File::Mode::Create)
        return "Cannot open file: " + describe(error);
    std::error_code ec;
    const std::filesystem::path folder = path.parent_path();
    if (error == ENOENT && !folder.empty() && !std::filesystem::is_directory(folder, ec))
        return "Cannot create file: the folder '" + folder.string() + "' does not exist";
    return "Cannot create file: " + describe(error);
}

// Made apart from readAt, which throws it for every read past the end (a map
// probed beyond a short file): readAt then holds nothing to destroy while the
// exception leaves it.
IoError readPastEnd(const std::filesystem::path& path, std::size_t count, std::uint64_t offset) {
    return IoError(path.string(), "Cannot read " + at(count, offset) + ": the file ends before that");
}

} // namespace

File::File(const std::filesystem::path& path, Mode mode) : File(path, mode, path) {}

File::File(const std::filesystem::path& path, Mode mode, std::filesystem::path shownAs) : path_(std::move(shownAs)) {
    if (const int fault = injectedFailure(IoOperation::Open, path_))
        throw IoError(path_.string(), openFailure(path, mode, fault));
    if (MemoryFiles* files = memoryFilesHolding(path)) {
        memory_ = mode == Mode::Create ? files->create(path) : files->find(path);
        if (!memory_)
            throw IoError(path_.string(), openFailure(path, mode, ENOENT));
        return;
    }
    int fd;
    do {
        fd = ::open(path.c_str(), openFlags(mode) | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw IoError(path_.string(), openFailure(path, mode, errno));
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        throw IoError(path_.string(), "Cannot open file: it is a directory");
    }
    fd_ = fd;
}

File File::unopened(std::filesystem::path path) {
    File file;
    file.path_ = std::move(path);
    return file;
}

File::File(File&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), memory_(std::move(other.memory_)), path_(std::move(other.path_)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        memory_ = std::move(other.memory_);
        path_ = std::move(other.path_);
    }
    return *this;
}

File::~File() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::size_t File::readUpTo(std::uint64_t offset, std::span<std::uint8_t> buffer) const {
    if (!isOpen())
        throw IoError(path_.string(), "File is not open");
    if (const int fault = injectedFailure(IoOperation::Read, path_))
        throw IoError(path_.string(), "Cannot read " + at(buffer.size(), offset) + ": " + describe(fault));
    if (memory_)
        return memory_->read(offset, buffer);
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t n = ::pread(fd_, buffer.data() + done, buffer.size() - done,
                                  static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw IoError(path_.string(), "Cannot read " + at(buffer.size(), offset) + ": " + describe(errno));
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

void File::readAt(std::uint64_t offset, std::span<std::uint8_t> buffer) const {
    if (readUpTo(offset, buffer) != buffer.size())
        throw readPastEnd(path_, buffer.size(), offset);
}

void File::writeAt(std::uint64_t offset, std::span<const std::uint8_t> data) {
    if (!isOpen())
        throw IoError(path_.string(), "File is not open");
    if (const int fault = injectedFailure(IoOperation::Write, path_)) {
        // A disk that fills up part-way stores the start of the data first.
        const std::size_t part = std::min(installedFaultInjector()->bytesStoredByFailingWrite(data.size()), data.size());
        std::size_t stored = 0;
        if (memory_) {
            memory_->write(offset, data.first(part));
            stored = part;
        } else if (const ssize_t n = ::pwrite(fd_, data.data(), part, static_cast<off_t>(offset)); n > 0) {
            stored = static_cast<std::size_t>(n);
        }
        throw WriteError(path_.string(), "Cannot write " + at(data.size(), offset) + ": " + describe(fault), stored);
    }
    if (memory_)
        return memory_->write(offset, data);
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::pwrite(fd_, data.data() + done, data.size() - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw WriteError(path_.string(), "Cannot write " + at(data.size(), offset) + ": " + describe(errno),
                             done);
        }
        done += static_cast<std::size_t>(n);
    }
}

std::uint64_t File::size() const {
    if (const int fault = isOpen() ? injectedFailure(IoOperation::Size, path_) : 0)
        throw IoError(path_.string(), "Cannot read the file size: " + describe(fault));
    if (memory_)
        return memory_->size();
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0)
        throw IoError(path_.string(), "Cannot read the file size: " + describe(fd_ < 0 ? EBADF : errno));
    return static_cast<std::uint64_t>(info.st_size);
}

namespace {

FileStatus fileStatusOf(const struct stat& info) {
    FileStatus status;
    status.device = static_cast<std::uint64_t>(info.st_dev);
    status.inode = static_cast<std::uint64_t>(info.st_ino);
    status.size = static_cast<std::uint64_t>(info.st_size);
    status.links = static_cast<std::uint64_t>(info.st_nlink);
    status.modifiedNs = std::int64_t{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec;
    status.changedNs = std::int64_t{info.st_ctim.tv_sec} * 1'000'000'000 + info.st_ctim.tv_nsec;
    return status;
}

// A file held in memory is told apart by its bytes' address, as a file on
// the disk by its inode; it has no clock, so its times stay zero.
FileStatus memoryFileStatus(const MemoryFile& file) {
    FileStatus status;
    status.inode = reinterpret_cast<std::uintptr_t>(&file);
    status.size = file.size();
    status.links = 1;
    return status;
}

} // namespace

// Declared with the other path functions; here beside the file calls of the
// platform.
std::optional<FileStatus> fileStatus(const std::filesystem::path& path) {
    if (const MemoryFiles* files = memoryFilesHolding(path)) {
        const MemoryFileBytes file = files->find(path);
        return file ? std::optional(memoryFileStatus(*file)) : std::nullopt;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return fileStatusOf(info);
}

FileStatus File::status() const {
    if (memory_)
        return memoryFileStatus(*memory_);
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0)
        throw IoError(path_.string(), "Cannot read the file's status: " + describe(fd_ < 0 ? EBADF : errno));
    return fileStatusOf(info);
}

void File::resize(std::uint64_t size) {
    if (const int fault = isOpen() ? injectedFailure(IoOperation::Resize, path_) : 0)
        throw IoError(path_.string(), "Cannot set the file size to " + std::to_string(size) + ": " + describe(fault));
    if (memory_)
        return memory_->resize(size);
    if (fd_ < 0 || ::ftruncate(fd_, static_cast<off_t>(size)) != 0)
        throw IoError(path_.string(), "Cannot set the file size to " + std::to_string(size) + ": " +
                                          describe(fd_ < 0 ? EBADF : errno));
}

void File::allocate(std::uint64_t size) {
    if (const int fault = isOpen() ? injectedFailure(IoOperation::Resize, path_) : 0)
        throw IoError(path_.string(), "Cannot make room for " + std::to_string(size) + " bytes: " + describe(fault));
    if (memory_) {
        if (size > memory_->size())
            memory_->resize(size);
        return;
    }
    // posix_fallocate reports its error as its result, not in errno.
    const int error = fd_ < 0 ? EBADF : ::posix_fallocate(fd_, 0, static_cast<off_t>(size));
    if (error != 0)
        throw IoError(path_.string(), "Cannot make room for " + std::to_string(size) + " bytes: " + describe(error));
}

void File::sync() {
    if (const int fault = isOpen() ? injectedFailure(IoOperation::Sync, path_) : 0)
        throw IoError(path_.string(), "Cannot flush the file to disk: " + describe(fault));
    if (memory_)
        return;
    if (fd_ < 0 || ::fsync(fd_) != 0)
        throw IoError(path_.string(), "Cannot flush the file to disk: " + describe(fd_ < 0 ? EBADF : errno));
}

void File::close() {
    if (memory_) {
        memory_.reset();
        if (const int fault = injectedFailure(IoOperation::Close, path_))
            throw IoError(path_.string(), "Cannot close file: " + describe(fault));
        return;
    }
    if (fd_ < 0)
        return;
    const int fd = std::exchange(fd_, -1);
    // The handle is released even when close reports an error (as on Linux).
    const int fault = injectedFailure(IoOperation::Close, path_);
    if (::close(fd) != 0)
        throw IoError(path_.string(), "Cannot close file: " + describe(errno));
    if (fault != 0)
        throw IoError(path_.string(), "Cannot close file: " + describe(fault));
}

} // namespace stonereach
