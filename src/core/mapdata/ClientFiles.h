#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "mapdata/File.h"

namespace stonereach {

// The game client's files that the editor reads to draw land tiles.
namespace ClientFile {
inline constexpr std::string_view ArtIndex = "artidx.mul";
inline constexpr std::string_view Art = "art.mul";
inline constexpr std::string_view TextureIndex = "texidx.mul";
inline constexpr std::string_view Textures = "texmaps.mul";
inline constexpr std::string_view RadarColours = "radarcol.mul";
// Newer clients keep their art in this container instead of the two art files.
inline constexpr std::string_view ArtContainer = "artLegacyMUL.uop";
} // namespace ClientFile

// The path of a client file: the directory text as the user gave it, the
// platform's separator, then the name. A directory typed with a trailing
// separator therefore gets a doubled one, which every supported platform
// reads as a single separator.
std::filesystem::path clientFilePath(const std::filesystem::path& clientDir, std::string_view fileName);

// A file of the client directory that tile pictures or radar colours may
// come from, as it is now.
struct ClientFileStatus {
    std::string name;
    FileStatus status;
    friend bool operator==(const ClientFileStatus&, const ClientFileStatus&) = default;
};

// Every such file of the directory (names beginning with "art" or "tex", and
// radarcol.mul, in any case), ordered by name: two lists that differ tell
// that a picture file changed, appeared or went.
std::vector<ClientFileStatus> pictureFileStatuses(const std::filesystem::path& clientDir);

} // namespace stonereach
