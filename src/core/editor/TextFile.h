#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stonereach {

// The program's own small text files (tile lists, groups, brushes) are 8-bit
// text: every byte is kept as it stands (Latin-1), none is ever refused.

// Reads a whole file as bytes. Throws IoError when it cannot be read, or when
// it is larger than any such file can sensibly be (64 MiB), before reading.
std::string readTextFile(const std::filesystem::path& path);

// Splits text into lines at CR LF, LF or a lone CR. A line break at the very
// end does not start another line; an empty text has no lines.
std::vector<std::string> splitLines(std::string_view text);

// Latin-1 bytes as UTF-8, for putting a file's text into a message (which
// the windows show as UTF-8).
std::string latin1ToUtf8(std::string_view text);

// Writes a whole file atomically under a temporary name, renamed into place
// when complete, creating its folder when missing. Throws IoError.
void writeTextFile(const std::filesystem::path& path, std::string_view text);

} // namespace stonereach
