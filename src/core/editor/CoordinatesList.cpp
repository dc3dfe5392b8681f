#include "editor/CoordinatesList.h"

#include <system_error>

#include "mapdata/Errors.h"
#include "mapdata/NumberedSections.h"

namespace stonereach {

namespace {

constexpr NumberedSectionKey kEntryKeys[] = {{"X", "0"}, {"Y", "0"}};

} // namespace

CoordinateList readCoordinatesFile(const std::filesystem::path& path) {
    const auto rows = readNumberedSections(IniDocument::load(path), kEntryKeys);
    CoordinateList entries;
    entries.reserve(rows.size());
    for (const auto& row : rows) {
        // A section number the file skips reads as every key missing: a
        // place at "0", "0", which the user sees and can remove.
        if (row)
            entries.push_back({(*row)[0], (*row)[1]});
        else
            entries.push_back({std::string(kEntryKeys[0].missingValue), std::string(kEntryKeys[1].missingValue)});
    }
    return entries;
}

CoordinateList importCoordinatesFile(const std::filesystem::path& path) {
    CoordinateList entries = readCoordinatesFile(path);
    if (entries.empty())
        throw Refusal("Empty file!");
    return entries;
}

void writeCoordinatesFile(const std::filesystem::path& path, const CoordinateList& entries) {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(entries.size());
    for (const CoordinateEntry& e : entries)
        rows.push_back({e.x, e.y});
    // coords.def lies in the program directory, which for a new user may not
    // exist yet; a failure to make it shows as the failure to write the file.
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    writeNumberedSections(path, kEntryKeys, rows);
}

} // namespace stonereach
