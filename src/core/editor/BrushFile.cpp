#include "editor/BrushFile.h"

#include <algorithm>

#include "editor/BrushGrid.h"
#include "editor/FolderListing.h"
#include "editor/TextFile.h"
#include "editor/TypedFileName.h"
#include "mapdata/Errors.h"
#include "mapdata/IntegerText.h"
#include "mapdata/MapVariant.h"

namespace stonereach {

namespace fs = std::filesystem;

namespace {

// The brush files of the folder as (name, path), in listing order.
std::vector<std::pair<std::string, fs::path>> brushFiles(const fs::path& brushesDir) {
    std::vector<std::pair<std::string, fs::path>> files;
    for (const std::string& fileName : filesWithExtension(brushesDir, kBrushFileExtension))
        files.emplace_back(fileName.substr(0, fileName.size() - kBrushFileExtension.size()), brushesDir / fileName);
    return files;
}

} // namespace

std::optional<std::string> brushNameProblem(std::string_view name) {
    if (const auto problem = typedFileNameProblem(name))
        return "\"" + std::string(name) + "\" cannot be used as a brush name: " + *problem + ".";
    return std::nullopt;
}

void checkBrushName(std::string_view name) {
    if (auto problem = brushNameProblem(name))
        throw Refusal(std::move(*problem));
}

std::vector<std::string> listBrushNames(const fs::path& brushesDir) {
    std::vector<std::string> names;
    for (auto& [name, path] : brushFiles(brushesDir))
        names.push_back(std::move(name));
    // By the names shown: "Hill" before "Hill 2", although "Hill.brs" sorts
    // after "Hill 2.brs".
    std::sort(names.begin(), names.end(), lessWithoutCase);
    return names;
}

fs::path brushFilePath(const fs::path& brushesDir, std::string_view name) {
    checkBrushName(name);
    const std::string trimmed = trimTypedName(name);
    const std::string wanted = asciiLower(trimmed);
    // Names match without regard to case, as they do on Windows, so "hill"
    // finds Hill.brs and saving "hill" replaces it instead of adding a twin.
    std::vector<fs::path> matches;
    for (const auto& [fileName, path] : brushFiles(brushesDir))
        if (asciiLower(fileName) == wanted)
            matches.push_back(path);
    if (matches.empty())
        return brushesDir / (trimmed + std::string(kBrushFileExtension));
    // Of several files differing only in case, the one spelt as asked, else
    // the first by byte order, so the choice never depends on listing order.
    const fs::path exact = brushesDir / (trimmed + std::string(kBrushFileExtension));
    if (std::find(matches.begin(), matches.end(), exact) != matches.end())
        return exact;
    return *std::min_element(matches.begin(), matches.end());
}

std::string brushFileText(const BrushGrid& grid) {
    std::string text;
    for (const PaintedBrushCell& cell : grid.paintedCells()) {
        text += std::to_string(cell.col);
        text += ',';
        text += std::to_string(cell.row);
        text += ',';
        text += tileIdToDollarHex(cell.tile);
        text += "\r\n";
    }
    return text;
}

fs::path saveBrush(const fs::path& brushesDir, std::string_view name, const BrushGrid& grid) {
    const fs::path path = brushFilePath(brushesDir, name);
    writeTextFile(path, brushFileText(grid));
    return path;
}

} // namespace stonereach
