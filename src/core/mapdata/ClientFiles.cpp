#include "mapdata/ClientFiles.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "mapdata/FileSystem.h"
#include "mapdata/MapVariant.h"

namespace stonereach {

std::filesystem::path clientFilePath(const std::filesystem::path& clientDir, std::string_view fileName) {
    std::filesystem::path::string_type text = clientDir.native();
    text += std::filesystem::path::preferred_separator;
    text += std::filesystem::path(fileName).native();
    return std::filesystem::path(std::move(text));
}

std::vector<ClientFileStatus> pictureFileStatuses(const std::filesystem::path& clientDir) {
    std::vector<ClientFileStatus> found;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(clientDir, error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        const std::string lower = asciiLower(name);
        if (!lower.starts_with("art") && !lower.starts_with("tex") && lower != ClientFile::RadarColours)
            continue;
        if (const auto status = fileStatus(it->path()))
            found.push_back({name, *status});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return found;
}

} // namespace stonereach
