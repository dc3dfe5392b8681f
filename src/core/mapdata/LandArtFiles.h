#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "mapdata/ArtContainer.h"
#include "mapdata/File.h"
#include "mapdata/TileImage.h"

namespace stonereach {

// Where a client directory keeps its land art.
enum class LandArtKind {
    None,
    MulPair,    // artidx.mul and art.mul
    Container,  // artLegacyMUL.uop, used only when the pair is not there
};

// Which land art the directory has; the .mul pair wins when both are there.
LandArtKind landArtKindIn(const std::filesystem::path& clientDir);

// The path of the directory's art container: artLegacyMUL.uop, or a file of
// that name in another case when there is one.
std::filesystem::path artContainerPath(const std::filesystem::path& clientDir);

// The land art of a client directory, opened by path for reading: the .mul
// pair, or the art container in its place. Used where there is no editor
// window (the command-line tool) and by the dialogs.
class LandArtFiles {
public:
    // Opens what landArtKindIn finds; IoError naming the first file that
    // cannot be opened (artidx.mul when there is neither), ContainerError for
    // a container that cannot be read.
    explicit LandArtFiles(const std::filesystem::path& clientDir);

    // As loadLandArtImage, from whichever files are open.
    bool load(std::uint16_t id, TileImage& image) const;
    // An unreadable container entry met so far, told once (see
    // ArtContainer::takeNotice).
    std::optional<std::string> takeNotice();

private:
    File index_;
    File data_;
    std::unique_ptr<ArtContainer> container_;
};

} // namespace stonereach
