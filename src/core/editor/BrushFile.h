#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stonereach {

class BrushGrid;

// The folder of the brush files inside the program directory.
inline constexpr std::string_view kBrushFolderName = "brushes";
inline constexpr std::string_view kBrushFileExtension = ".brs";

// Why name cannot be used as a brush name (see typedFileNameProblem), as the
// message that refuses it; nothing when it can.
std::optional<std::string> brushNameProblem(std::string_view name);

// Throws Refusal with brushNameProblem's message when the name cannot be
// used; nothing is written or read for such a name.
void checkBrushName(std::string_view name);

// The names of the brush files in brushesDir (file names ending in ".brs" in
// any case, less that ending), sorted without regard to case so every
// platform lists them alike. A missing folder lists nothing.
std::vector<std::string> listBrushNames(const std::filesystem::path& brushesDir);

// The file of the brush called name (trimmed) in brushesDir: an existing file
// whose name matches without regard to case, else name + ".brs". Throws
// Refusal for a name that checkBrushName refuses.
std::filesystem::path brushFilePath(const std::filesystem::path& brushesDir, std::string_view name);

// The brush file's text for grid: for each column from 0 and within it each
// row from 0, within the grid's current counts, one line "col,row,$XXXX"
// ending in CR LF per cell that is not NODRAW. A grid of NODRAW cells gives
// an empty text.
std::string brushFileText(const BrushGrid& grid);

// Writes grid as the brush called name into brushesDir, creating the folder
// when missing and replacing an existing brush of that name (matched without
// regard to case) atomically. Checks the name first: a refused name writes
// nothing. Returns the path written.
std::filesystem::path saveBrush(const std::filesystem::path& brushesDir, std::string_view name,
                                const BrushGrid& grid);

} // namespace stonereach
