#include "patches/PointPatch.h"

#include <utility>

#include "mapdata/Errors.h"
#include "mapdata/IntegerText.h"
#include "mapdata/NumberedSections.h"
#include "mapdata/MapLayout.h"

namespace stonereach {

namespace {

// The keys of a point patch entry in file order; a missing ID keeps the tile.
constexpr NumberedSectionKey kEntryKeys[] = {{"X", "0"}, {"Y", "0"}, {"Z", "0"}, {"ID", ""}};

std::vector<std::optional<PointPatchEntry>> entriesOf(const IniDocument& doc) {
    auto rows = readNumberedSections(doc, kEntryKeys);
    std::vector<std::optional<PointPatchEntry>> entries(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (auto& row = rows[i])
            entries[i] = PointPatchEntry{std::move((*row)[0]), std::move((*row)[1]), std::move((*row)[2]),
                                         std::move((*row)[3])};
    return entries;
}

IniDocument documentOf(const std::vector<PointPatchEntry>& entries) {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(entries.size());
    for (const PointPatchEntry& e : entries)
        rows.push_back({e.x, e.y, e.z, e.id});
    return numberedSectionsDocument(kEntryKeys, rows);
}

} // namespace

std::vector<std::optional<PointPatchEntry>> readPointPatchFile(const std::filesystem::path& path) {
    return entriesOf(IniDocument::load(path));
}

std::vector<std::optional<PointPatchEntry>> parsePointPatch(std::string_view text) {
    return entriesOf(IniDocument::parse(text));
}

void writePointPatchFile(const std::filesystem::path& path, const std::vector<PointPatchEntry>& entries) {
    documentOf(entries).save(path);
}

std::string pointPatchText(const std::vector<PointPatchEntry>& entries) { return documentOf(entries).text(); }

namespace {

// Each text read as applying reads it; a failure names its key.
template <typename Parse>
auto field(const char* key, Parse&& parse) {
    try {
        return parse();
    } catch (const PointPatchFieldError&) {
        throw;
    } catch (const Error& e) {
        throw PointPatchFieldError(key, e.what());
    }
}

int coordinateOf(const char* key, const std::string& text) {
    return field(key, [&] { return parseInteger(text); });
}

std::int8_t altitudeOf(const std::string& text) {
    return field("Z", [&] {
        const int z = parseInteger(text);
        if (!isAltitude(z))
            throw RangeError("Altitude " + text + " is outside -128..127");
        return static_cast<std::int8_t>(z);
    });
}

std::optional<std::uint16_t> tileOf(const std::string& text) {
    return field("ID", [&]() -> std::optional<std::uint16_t> {
        if (text.empty())
            return std::nullopt;
        return static_cast<std::uint16_t>(spacedHexToInt(text, 2));
    });
}

} // namespace

std::optional<PointPatchFieldError> pointPatchEntryProblem(const PointPatchEntry& entry) {
    try {
        coordinateOf("X", entry.x);
        coordinateOf("Y", entry.y);
        altitudeOf(entry.z);
        tileOf(entry.id);
    } catch (const PointPatchFieldError& e) {
        return e;
    }
    return std::nullopt;
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
        try {
            const int x = coordinateOf("X", entry.x);
            const int y = coordinateOf("Y", entry.y);
            if (!geometry.contains(x, y)) {
                ++result.skippedOutsideMap;
                continue;
            }
            MapCell cell = map.readCell(x, y, geometry);
            cell.z = altitudeOf(entry.z);
            if (const auto tile = tileOf(entry.id))
                cell.tile = *tile;
            map.writeCell(x, y, cell, geometry);
            ++result.applied;
            if (progress)  // the text is made only for someone to show it
                report(progress, "Patching (X, Y): " + std::to_string(x) + ", " + std::to_string(y),
                       static_cast<std::int64_t>(i), last);
        } catch (const PointPatchFieldError& e) {
            // The file holds the entry as section [i]: the user finds it there.
            throw FormatError(e.why() + " (entry [" + std::to_string(i) + "], " + e.key() + ")");
        }
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
