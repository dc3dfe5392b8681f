#pragma once

#include <filesystem>
#include <string_view>

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

} // namespace stonereach
