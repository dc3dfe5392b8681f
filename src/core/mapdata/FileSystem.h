#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "mapdata/File.h"

namespace stonereach {

// A path as UTF-8 text (what the settings store keeps), and UTF-8 text as a
// path: both keep every path intact, also where the system's 8-bit code page
// cannot spell it.
std::string utf8Of(const std::filesystem::path& path);
std::filesystem::path pathFromUtf8(std::string_view text);

// True when a regular file (or a link to one) exists at path.
bool fileExists(const std::filesystem::path& path);

// The file's size in bytes, or nothing when there is no such file.
std::optional<std::uint64_t> fileSize(const std::filesystem::path& path);

// The status of the file a path names now, or nothing when there is none.
std::optional<FileStatus> fileStatus(const std::filesystem::path& path);

// The file's name without directory, as it is stored on disk (on
// case-insensitive file systems this may differ in case from the path typed).
std::string storedFileName(const std::filesystem::path& path);

// True when both paths name the same file, or would once the one that does
// not exist yet is made (a new file's path written another way).
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Renames from over to, replacing to atomically; throws IoError on failure.
void renameReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Removes a file if it is there; never throws (used for clean-up).
void removeFileQuietly(const std::filesystem::path& path) noexcept;

// A file that is written under a temporary name beside its target and takes
// the target's name only on commit(), so a failed run leaves any previous
// file at the target untouched and no partial file behind.
class PendingFile {
public:
    // When the new file is forced to the disk before it takes the target's
    // name.
    enum class Durability {
        // When it replaces an existing file: after a power cut the target
        // then holds the old file or the whole new one, never an empty or
        // half-written file in place of data that was there. A file that
        // replaces nothing is not waited for (as cp does not wait): a crash
        // can then cost only the run's own output, which the run can make
        // again from the files it read.
        WhenReplacing,
        // Never: pictures, which any run makes again in a moment.
        Never,
    };

    explicit PendingFile(std::filesystem::path target, Durability durability = Durability::WhenReplacing);
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile();

    File& file() { return file_; }
    const std::filesystem::path& target() const { return target_; }
    const std::filesystem::path& temporaryPath() const { return temp_; }

    // Flushes (as its Durability says), closes and renames the temporary file
    // onto the target.
    void commit();

    // Flushes and closes the temporary file; commit() then only renames.
    // Used to finish every file of a set before the first one is published.
    void finishWriting();

private:
    friend void commitTogether(std::initializer_list<PendingFile*> files);

    std::filesystem::path target_;
    std::filesystem::path temp_;
    File file_;
    Durability durability_;
    bool committed_ = false;
};

// Publishes files that belong together (a statics index and its data, say) so
// that a failure leaves either all of their targets replaced or none: every
// file is written out first, each existing target is moved aside before its
// new file takes its place, and when a later rename fails the earlier targets
// are put back. Throws the IoError of the step that failed.
void commitTogether(std::initializer_list<PendingFile*> files);

} // namespace stonereach
