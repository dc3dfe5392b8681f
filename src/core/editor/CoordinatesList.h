#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace stonereach {

// One place of the coordinates index: the X and Y texts as typed. Nothing
// checks that they are numbers until the main window's Go uses them.
struct CoordinateEntry {
    std::string x;
    std::string y;
    friend bool operator==(const CoordinateEntry&, const CoordinateEntry&) = default;
};

using CoordinateList = std::vector<CoordinateEntry>;

// Reads a coordinates file (coords.def or an exported .def): as many entries
// as the file has section lines, entry n from section "n", a missing section
// or key reading as "0". A missing file reads as no entries.
CoordinateList readCoordinatesFile(const std::filesystem::path& path);

// Reads a file chosen for Import; a file without section lines is refused
// (Refusal "Empty file!") so the caller keeps its list.
CoordinateList importCoordinatesFile(const std::filesystem::path& path);

// Writes entry n as section "n" with the keys X and Y, replacing the whole
// file atomically, so exactly these entries remain (a shorter list leaves no
// old sections behind to come back at the next load), creating its folder
// when missing.
void writeCoordinatesFile(const std::filesystem::path& path, const CoordinateList& entries);

} // namespace stonereach
