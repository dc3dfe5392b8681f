#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace stonereach {

// How the map copy dialog sees one map file. It has a recognition table of its
// own: the same files as the main window, but a Mondain's Legacy size map1.mul
// reads "Mondains Legacy" here, and an unrecognised file "Unknown".
struct MapCopySide {
    std::string_view mapName = "Unknown";
    std::string_view sizeText = "Unknown";
    int maxX = 0;
    int maxY = 0;
    bool recognised() const { return sizeText != "Unknown"; }
};

inline constexpr std::string_view MapCopyUnknown = "Unknown";

// The row of the dialog's table that the file's lower-case name and exact
// size match (for a map container, the plain map's name and the length of
// its plain form; see plainMapIdentity); "Unknown", 0, 0 when none does or
// the file does not exist.
MapCopySide recogniseForMapCopy(const std::filesystem::path& path);
// The same by name and size, for callers that already know them.
MapCopySide recogniseForMapCopy(std::string_view fileName, std::uint64_t sizeBytes);

// Block height by the map name the dialog shows; nothing for "Unknown".
std::optional<int> mapCopyBlockHeightOf(std::string_view mapName);

} // namespace stonereach
