#include "mapdata/ClientFiles.h"

#include <string>

namespace stonereach {

std::filesystem::path clientFilePath(const std::filesystem::path& clientDir, std::string_view fileName) {
    std::filesystem::path::string_type text = clientDir.native();
    text += std::filesystem::path::preferred_separator;
    text += std::filesystem::path(fileName).native();
    return std::filesystem::path(std::move(text));
}

} // namespace stonereach
