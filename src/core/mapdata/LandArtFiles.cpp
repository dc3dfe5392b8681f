#include "mapdata/LandArtFiles.h"

#include <system_error>

#include "mapdata/ClientFiles.h"
#include "mapdata/FileSystem.h"
#include "mapdata/LandArtImage.h"
#include "mapdata/MapVariant.h"

namespace stonereach {

std::filesystem::path artContainerPath(const std::filesystem::path& clientDir) {
    const auto exact = clientFilePath(clientDir, ClientFile::ArtContainer);
    if (fileExists(exact))
        return exact;
    // Copied from another system, the name may have lost its case.
    const std::string wanted = asciiLower(ClientFile::ArtContainer);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(clientDir, ec), end; !ec && it != end; it.increment(ec))
        if (asciiLower(it->path().filename().string()) == wanted && fileExists(it->path()))
            return clientFilePath(clientDir, it->path().filename().string());
    return exact;
}

LandArtKind landArtKindIn(const std::filesystem::path& clientDir) {
    if (fileExists(clientFilePath(clientDir, ClientFile::ArtIndex)) && fileExists(clientFilePath(clientDir, ClientFile::Art)))
        return LandArtKind::MulPair;
    if (fileExists(artContainerPath(clientDir)))
        return LandArtKind::Container;
    return LandArtKind::None;
}

LandArtFiles::LandArtFiles(const std::filesystem::path& clientDir) {
    if (landArtKindIn(clientDir) == LandArtKind::Container) {
        container_ = std::make_unique<ArtContainer>(File(artContainerPath(clientDir), File::Mode::Read));
        return;
    }
    index_ = File(clientFilePath(clientDir, ClientFile::ArtIndex), File::Mode::Read);
    data_ = File(clientFilePath(clientDir, ClientFile::Art), File::Mode::Read);
}

bool LandArtFiles::load(std::uint16_t id, TileImage& image) const {
    return container_ ? loadLandArtImage(*container_, id, image) : loadLandArtImage(index_, data_, id, image);
}

std::optional<std::string> LandArtFiles::takeNotice() {
    return container_ ? container_->takeNotice() : std::nullopt;
}

} // namespace stonereach
