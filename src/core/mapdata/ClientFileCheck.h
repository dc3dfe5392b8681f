#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace stonereach {

// The client files a client directory lacks to be used, in the order they
// are looked for: texidx.mul, texmaps.mul, then artidx.mul and art.mul
// unless the art container stands in for them.
std::vector<std::string_view> missingClientFiles(const std::filesystem::path& clientDir);

// What a user is told when the files cannot be used because some are
// missing: "texmaps.mul is missing", "texidx.mul and art.mul are missing";
// empty when none is.
std::string missingFilesText(const std::vector<std::string_view>& names);

} // namespace stonereach
