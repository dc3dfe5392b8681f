#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mapdata/Errors.h"
#include "mapdata/MapFile.h"
#include "mapdata/Progress.h"

namespace stonereach {

// One single-cell change of a point patch, as the texts the user entered:
// X, Y and Z in decimal, the tile id as two spaced hexadecimal bytes ("01 1A")
// or empty to keep the cell's tile. The texts are only parsed when applied.
struct PointPatchEntry {
    std::string x;
    std::string y;
    std::string z;
    std::string id;
    friend bool operator==(const PointPatchEntry&, const PointPatchEntry&) = default;
};

// A .bnp file read as the list of its entries: the entry count is the number
// of section lines, and entry i is section "i" with the keys X, Y, Z and ID.
// Slot i is empty when the file has no section i (its numbering has a gap).
// A file that does not exist reads as no entries.
std::vector<std::optional<PointPatchEntry>> readPointPatchFile(const std::filesystem::path& path);
// The same for the text of a .bnp file held in memory.
std::vector<std::optional<PointPatchEntry>> parsePointPatch(std::string_view text);

// Writes the entries as sections 0 to n-1, replacing the whole file, so the
// file holds exactly these entries afterwards (written atomically).
void writePointPatchFile(const std::filesystem::path& path, const std::vector<PointPatchEntry>& entries);
// The text such a file holds.
std::string pointPatchText(const std::vector<PointPatchEntry>& entries);

// An entry's text that cannot be applied: the key it stands under ("X",
// "Y", "Z" or "ID") and why, with the conversion's own message ("'abc' is not
// a valid integer value", "Input not SpacedHex"). what() names the key first:
// "X: 'abc' is not a valid integer value".
class PointPatchFieldError : public FormatError {
public:
    PointPatchFieldError(std::string key, std::string why)
        : FormatError(key + ": " + why), key_(std::move(key)), why_(std::move(why)) {}
    const std::string& key() const { return key_; }
    const std::string& why() const { return why_; }

private:
    std::string key_;
    std::string why_;
};

// Why an entry's texts cannot be applied: the first field that does not read
// as applying reads it; nothing when every one does. Whether the cell lies on
// the map is not asked: that depends on the map.
std::optional<PointPatchFieldError> pointPatchEntryProblem(const PointPatchEntry& entry);

struct PointPatchResult {
    std::size_t applied = 0;
    std::size_t skippedOutsideMap = 0;   // never written: the cell lies outside the map
    std::size_t skippedMissing = 0;      // gaps in the section numbering
};

// Applies the entries in order: for each, reads the cell, sets its altitude
// to Z and, when ID is given, its tile id, and writes the cell back. A text
// that does not parse stops the run with the entries before it applied, by a
// FormatError whose message is the conversion's, then the entry's section
// and key: "Input not SpacedHex (entry [1], ID)". Reports "Patching (X, Y):
// X, Y" after each entry.
PointPatchResult applyPointPatch(MapFile& map, const MapGeometry& geometry,
                                 const std::vector<std::optional<PointPatchEntry>>& entries,
                                 const ProgressCallback& progress = {});

// Reads a .bnp file and applies it; a file without entries is refused with
// "File is empty or corupted!".
PointPatchResult applyPointPatchFile(MapFile& map, const MapGeometry& geometry, const std::filesystem::path& patch,
                                     const ProgressCallback& progress = {});

} // namespace stonereach
