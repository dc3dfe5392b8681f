#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace stonereach {

// The four client files a client directory must hold to be used, in the
// order they are looked for: texidx.mul, texmaps.mul, artidx.mul, art.mul.
std::vector<std::string_view> missingClientFiles(const std::filesystem::path& clientDir);

// What a user is told when the files cannot be used because some are
// missing: "texmaps.mul is missing", "texidx.mul and art.mul are missing";
// empty when none is.
std::string missingFilesText(const std::vector<std::string_view>& names);

} // namespace stonereach
