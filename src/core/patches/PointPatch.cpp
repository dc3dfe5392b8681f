#include "patches/PointPatch.h"

#include "mapdata/Errors.h"
#include "mapdata/IniDocument.h"
#include "mapdata/IntegerText.h"

namespace stonereach {

namespace {

constexpr const char* kX = "X";
constexpr const char* kY = "Y";
constexpr const char* kZ = "Z";
constexpr const char* kId = "ID";

} // namespace

std::vector<std::optional<PointPatchEntry>> readPointPatchFile(const std::filesystem::path& path) {
    const IniDocument doc = IniDocument::load(path);
    std::vector<std::optional<PointPatchEntry>> entries(doc.sectionLineCount());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string section = std::to_string(i);
        if (!doc.hasSection(section))
            continue;
        entries[i] = PointPatchEntry{doc.read(section, kX, "0"), doc.read(section, kY, "0"),
                                     doc.read(section, kZ, "0"), doc.read(section, kId, "")};
    }
    return entries;
}

void writePointPatchFile(const std::filesystem::path& path, const std::vector<PointPatchEntry>& entries) {
    IniDocument doc;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string section = std::to_string(i);
        doc.write(section, kX, entries[i].x);
        doc.write(section, kY, entries[i].y);
        doc.write(section, kZ, entries[i].z);
        doc.write(section, kId, entries[i].id);
    }
    doc.save(path);
}

PointPatchResult applyPointPatch(MapFile& map, const MapGeometry& geometry,
                                 const std::vector<std::optional<PointPatchEntry>>& entries,
                                 const ProgressCallback& progress) {
    PointPatchResult result;
    const auto last = static_cast<std::int64_t>(entries.size()) - 1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        // A section the file does not have would read as cell (0, 0) at
        // altitude 0; writing that would damage a cell nobody asked for.
        if (!entries[i]) {
            ++result.skippedMissing;
            continue;
        }
        const PointPatchEntry& entry = *entries[i];
        const int x = parseInteger(entry.x);
        const int y = parseInteger(entry.y);
        if (!geometry.contains(x, y)) {
            ++result.skippedOutsideMap;
            continue;
        }
        MapCell cell = map.readCell(x, y, geometry);
        const int z = parseInteger(entry.z);
        if (z < -128 || z > 127)
            throw RangeError("Altitude " + entry.z + " of the entry at (" + entry.x + ", " + entry.y +
                             ") is outside -128..127");
        cell.z = static_cast<std::int8_t>(z);
        if (!entry.id.empty())
            cell.tile = static_cast<std::uint16_t>(spacedHexToInt(entry.id, 2));
        map.writeCell(x, y, cell, geometry);
        ++result.applied;
        const std::string text = "Patching (X, Y): " + std::to_string(x) + ", " + std::to_string(y);
        report(progress, text, static_cast<std::int64_t>(i), last);
    }
    return result;
}

PointPatchResult applyPointPatchFile(MapFile& map, const MapGeometry& geometry, const std::filesystem::path& patch,
                                     const ProgressCallback& progress) {
    const auto entries = readPointPatchFile(patch);
    if (entries.empty())
        throw Refusal("File is empty or corupted!");
    return applyPointPatch(map, geometry, entries, progress);
}

} // namespace stonereach
