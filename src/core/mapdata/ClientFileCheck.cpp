#include "mapdata/ClientFileCheck.h"

#include "mapdata/ClientFiles.h"
#include "mapdata/FileSystem.h"
#include "mapdata/LandArtFiles.h"

namespace stonereach {

std::vector<std::string_view> missingClientFiles(const std::filesystem::path& clientDir) {
    std::vector<std::string_view> missing;
    for (const std::string_view name : {ClientFile::TextureIndex, ClientFile::Textures})
        if (!fileExists(clientFilePath(clientDir, name)))
            missing.push_back(name);
    // The land art may also come from the art container in the pair's place.
    if (landArtKindIn(clientDir) == LandArtKind::None)
        for (const std::string_view name : {ClientFile::ArtIndex, ClientFile::Art})
            if (!fileExists(clientFilePath(clientDir, name)))
                missing.push_back(name);
    return missing;
}

std::string missingFilesText(const std::vector<std::string_view>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    if (!names.empty())
        text += names.size() == 1 ? " is missing" : " are missing";
    return text;
}

} // namespace stonereach
