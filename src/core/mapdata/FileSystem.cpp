#include "mapdata/FileSystem.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>
#include <system_error>

#include "mapdata/Errors.h"
#include "mapdata/FaultInjection.h"
#include "mapdata/MemoryFiles.h"

namespace stonereach {

namespace fs = std::filesystem;

std::string utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path pathFromUtf8(std::string_view text) { return fs::path(std::u8string(text.begin(), text.end())); }

bool fileExists(const fs::path& path) {
    if (const MemoryFiles* files = memoryFilesHolding(path))
        return files->find(path) != nullptr;
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::optional<std::uint64_t> fileSize(const fs::path& path) {
    if (const MemoryFiles* files = memoryFilesHolding(path)) {
        const MemoryFileBytes bytes = files->find(path);
        return bytes ? std::optional<std::uint64_t>(bytes->size()) : std::nullopt;
    }
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return std::nullopt;
    const auto size = fs::file_size(path, ec);
    if (ec)
        return std::nullopt;
    return static_cast<std::uint64_t>(size);
}

std::string storedFileName(const fs::path& path) {
    // POSIX file systems store the name exactly as it is opened.
    return path.filename().string();
}

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (fs::equivalent(a, b, ec))
        return true;
    return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

namespace {

// Renames from over to; a failure is reported as an IoError naming `shown`
// (the file the user knows of) with `failure` and the cause.
void renameNaming(const fs::path& from, const fs::path& to, const fs::path& shown, const std::string& failure) {
    if (const int fault = injectedFailure(IoOperation::Rename, to))
        throw IoError(shown.string(), failure + ": " + std::strerror(fault));
    if (MemoryFiles* files = memoryFilesHolding(from)) {
        if (!files->holds(to) || !files->rename(from, to))
            throw IoError(shown.string(), failure + ": " + std::strerror(files->holds(to) ? ENOENT : EXDEV));
        return;
    }
    if (std::rename(from.c_str(), to.c_str()) != 0)
        throw IoError(shown.string(), failure + ": " + std::strerror(errno));
}

} // namespace

void renameReplacing(const fs::path& from, const fs::path& to) {
    renameNaming(from, to, to, "Cannot replace the file with '" + from.string() + "'");
}

void removeFileQuietly(const fs::path& path) noexcept {
    if (MemoryFiles* files = memoryFilesHolding(path))
        return files->remove(path);
    std::error_code ec;
    fs::remove(path, ec);
}

namespace {

fs::path temporaryNameBeside(const fs::path& target) {
    // Seeded from the clock and the target rather than from the system's
    // entropy, which costs a system call: the name only has to differ from
    // files that are there, and a name that is taken is tried again.
    // The bits are spread by one step of splitmix64: a full generator's
    // seeding would cost more than the few bits taken.
    const auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::uint64_t random = (now ^ std::hash<std::string>{}(target.native())) + 0x9E3779B97F4A7C15ULL;
    random = (random ^ (random >> 30)) * 0xBF58476D1CE4E5B9ULL;
    random = (random ^ (random >> 27)) * 0x94D049BB133111EBULL;
    random ^= random >> 31;
    static constexpr char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string suffix = ".tmp-";
    for (int i = 0; i < 8; ++i, random /= 36)
        suffix += digits[random % 36];
    fs::path temp = target;
    temp += suffix;
    return temp;
}

} // namespace

PendingFile::PendingFile(fs::path target, Durability durability)
    : target_(std::move(target)), durability_(durability) {
    // A few tries in case a leftover temporary file has the same name.
    for (int attempt = 0;; ++attempt) {
        temp_ = temporaryNameBeside(target_);
        if (fileExists(temp_) && attempt < 8)
            continue;
        // Errors name the target: the temporary name means nothing to the
        // user, and the file is gone again after a failure.
        file_ = File(temp_, File::Mode::Create, target_);
        return;
    }
}

PendingFile::~PendingFile() {
    if (!committed_) {
        file_ = File();
        removeFileQuietly(temp_);
    }
}

void PendingFile::finishWriting() {
    if (file_.isOpen()) {
        if (durability_ == Durability::WhenReplacing && fileExists(target_))
            file_.sync();
        file_.close();
    }
}

namespace {

constexpr const char* PublishFailure = "Cannot put the new file in place";

} // namespace

void PendingFile::commit() {
    finishWriting();
    renameNaming(temp_, target_, target_, PublishFailure);
    committed_ = true;
}

void commitTogether(std::initializer_list<PendingFile*> files) {
    for (PendingFile* file : files)
        file->finishWriting();

    // What has been done to each target so far, so that a failure can be
    // undone in reverse order.
    struct Step {
        PendingFile* file;
        std::optional<fs::path> aside;  // where the earlier target was moved
        bool published = false;
    };
    std::vector<Step> steps;
    try {
        for (PendingFile* file : files) {
            Step& step = steps.emplace_back(Step{file, std::nullopt});
            if (fileExists(file->target_)) {
                const fs::path aside = temporaryNameBeside(file->target_);
                renameNaming(file->target_, aside, file->target_, "Cannot move the file aside to replace it");
                step.aside = aside;
            }
            renameNaming(file->temp_, file->target_, file->target_, PublishFailure);
            step.published = true;
            file->committed_ = true;
        }
    } catch (const IoError&) {
        for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
            try {
                if (it->published && !it->aside)
                    removeFileQuietly(it->file->target_);
                if (it->aside)
                    renameReplacing(*it->aside, it->file->target_);
            } catch (const IoError&) {
                // The earlier file stays under its temporary name beside the
                // target; the first error is the one to report.
            }
            it->file->committed_ = false;
        }
        throw;
    }
    for (const Step& step : steps)
        if (step.aside)
            removeFileQuietly(*step.aside);
}

} // namespace stonereach
