#include "editor/TextFile.h"

#include <cstdint>

#include "mapdata/Errors.h"
#include "mapdata/File.h"
#include "mapdata/FileSystem.h"

namespace stonereach {

namespace {

// Far above any tile list, group file or brush a user makes (a list of every
// land tile is some 300 KB), yet small enough to read into memory at once.
constexpr std::uint64_t kMaxTextFileSize = std::uint64_t{64} * 1024 * 1024;

} // namespace

std::string readTextFile(const std::filesystem::path& path) {
    const File file(path, File::Mode::Read);
    const std::uint64_t size = file.size();
    if (size > kMaxTextFileSize)
        throw IoError(path.string(), "File is too large to be a text file of the editor");
    std::string text(static_cast<std::size_t>(size), '\0');
    const std::size_t got =
        file.readUpTo(0, std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(text.data()), text.size()));
    text.resize(got);
    return text;
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

std::string latin1ToUtf8(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

void writeTextFile(const std::filesystem::path& path, std::string_view text) {
    if (path.has_parent_path()) {
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
        if (ec)
            throw IoError(path.string(), "Cannot create the folder '" + path.parent_path().string() + "': " + ec.message());
    }
    PendingFile pending(path);
    pending.file().writeAt(
        0, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    pending.commit();
}

} // namespace stonereach
