#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>

#include "mapdata/File.h"

namespace stonereach {

// True when a regular file (or a link to one) exists at path.
bool fileExists(const std::filesystem::path& path);

// The file's size in bytes, or nothing when there is no such file.
std::optional<std::uint64_t> fileSize(const std::filesystem::path& path);

// The file's name without directory, as it is stored on disk (on
// case-insensitive file systems this may differ in case from the path typed).
std::string storedFileName(const std::filesystem::path& path);

// Renames from over to, replacing to atomically; throws IoError on failure.
void renameReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Removes a file if it is there; never throws (used for clean-up).
void removeFileQuietly(const std::filesystem::path& path) noexcept;

// A file that is written under a temporary name beside its target and takes
// the target's name only on commit(), so a failed run leaves any previous
// file at the target untouched and no partial file behind.
class PendingFile {
public:
    explicit PendingFile(std::filesystem::path target);
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile();

    File& file() { return file_; }
    const std::filesystem::path& target() const { return target_; }
    const std::filesystem::path& temporaryPath() const { return temp_; }

    // Flushes, closes and renames the temporary file onto the target.
    void commit();

    // Flushes and closes the temporary file; commit() then only renames.
    // Used to finish every file of a set before the first one is published.
    void finishWriting();

private:
    friend void commitTogether(std::initializer_list<PendingFile*> files);

    std::filesystem::path target_;
    std::filesystem::path temp_;
    File file_;
    bool committed_ = false;
};

// Publishes files that belong together (a statics index and its data, say) so
// that a failure leaves either all of their targets replaced or none: every
// file is written out first, each existing target is moved aside before its
// new file takes its place, and when a later rename fails the earlier targets
// are put back. Throws the IoError of the step that failed.
void commitTogether(std::initializer_list<PendingFile*> files);

} // namespace stonereach
