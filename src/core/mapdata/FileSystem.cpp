#include "mapdata/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <system_error>

#include "mapdata/Errors.h"
#include "mapdata/FaultInjection.h"

namespace stonereach {

namespace fs = std::filesystem;

bool fileExists(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::optional<std::uint64_t> fileSize(const fs::path& path) {
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

void renameReplacing(const fs::path& from, const fs::path& to) {
    if (const int fault = injectedFailure(IoOperation::Rename, to))
        throw IoError(to.string(), "Cannot replace the file with '" + from.string() + "': " + std::strerror(fault));
    if (std::rename(from.c_str(), to.c_str()) != 0)
        throw IoError(to.string(), "Cannot replace the file with '" + from.string() + "': " + std::strerror(errno));
}

void removeFileQuietly(const fs::path& path) noexcept {
    std::error_code ec;
    fs::remove(path, ec);
}

namespace {

fs::path temporaryNameBeside(const fs::path& target) {
    std::random_device seed;
    std::mt19937 random(seed());
    static constexpr char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string suffix = ".tmp-";
    for (int i = 0; i < 8; ++i)
        suffix += digits[random() % 36];
    fs::path temp = target;
    temp += suffix;
    return temp;
}

} // namespace

PendingFile::PendingFile(fs::path target) : target_(std::move(target)) {
    // A few tries in case a leftover temporary file has the same name.
    for (int attempt = 0;; ++attempt) {
        temp_ = temporaryNameBeside(target_);
        if (fileExists(temp_) && attempt < 8)
            continue;
        file_ = File(temp_, File::Mode::Create);
        return;
    }
}

PendingFile::~PendingFile() {
    if (!committed_) {
        file_ = File();
        removeFileQuietly(temp_);
    }
}

void PendingFile::commit() {
    file_.sync();
    file_.close();
    renameReplacing(temp_, target_);
    committed_ = true;
}

} // namespace stonereach
