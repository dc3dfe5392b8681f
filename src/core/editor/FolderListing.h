#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace stonereach {

// Name order without regard to case (ASCII letters), then byte by byte, so
// that sorting never depends on the platform or on listing order.
bool lessWithoutCase(std::string_view a, std::string_view b);

// The names of the regular files in folder that end in extension (".lst",
// ".brs"; compared without regard to case) and have a name before it, in
// lessWithoutCase order. A missing or unreadable folder lists nothing.
std::vector<std::string> filesWithExtension(const std::filesystem::path& folder, std::string_view extension);

} // namespace stonereach
