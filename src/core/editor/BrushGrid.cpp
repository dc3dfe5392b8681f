#include "editor/BrushGrid.h"

#include "editor/BrushLines.h"
#include "editor/TextFile.h"
#include "mapdata/Errors.h"
#include "mapdata/IntegerText.h"
#include "mapdata/MapLayout.h"

namespace stonereach {

namespace {

// A message listing a few hundred line numbers helps nobody.
constexpr std::size_t kListedLines = 10;

bool isBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

bool fitsGrid(const BrushEntry& entry) {
    return entry.dx >= 0 && entry.dx <= BrushGrid::kMaxBrushOffset && entry.dy >= 0 &&
           entry.dy <= BrushGrid::kMaxBrushOffset && isTileId(entry.tile);
}

void checkCell(int col, int row) {
    if (col < 0 || col > BrushGrid::kMaxBrushOffset || row < 0 || row > BrushGrid::kMaxBrushOffset)
        throw RangeError("Brush cell (" + std::to_string(col) + ", " + std::to_string(row) + ") is outside 0.." +
                         std::to_string(BrushGrid::kMaxBrushOffset));
}

void checkCount(int count) {
    if (count < 1 || count > BrushGrid::kMaxBrushOffset + 1)
        throw RangeError("A brush grid has 1 to " + std::to_string(BrushGrid::kMaxBrushOffset + 1) +
                         " columns and rows, not " + std::to_string(count));
}

} // namespace

std::string brushCellText(BrushCell cell) {
    return cell ? tileIdToDollarHex(*cell) : std::string(kNoDrawText);
}

std::string brushLoadMessage(std::string_view brushName, const BrushLoadReport& report) {
    const std::size_t count = report.skippedLines.size();
    std::string message = "Brush \"" + std::string(brushName) + "\": " + std::to_string(count) +
                          (count == 1 ? " line was" : " lines were") + " skipped (line";
    if (count > 1)
        message += 's';
    for (std::size_t i = 0; i < count && i < kListedLines; ++i)
        message += (i == 0 ? " " : ", ") + std::to_string(report.skippedLines[i]);
    if (count > kListedLines)
        message += ", ...";
    message += "). Each line must be column,row,tile: a column and a row from 0 to " +
               std::to_string(BrushGrid::kMaxBrushOffset) + " and a tile id from 0 to $FFFF.";
    return message;
}

BrushGrid::BrushGrid() = default;

void BrushGrid::setColumns(int columns) {
    checkCount(columns);
    columns_ = columns;
}

void BrushGrid::setRows(int rows) {
    checkCount(rows);
    rows_ = rows;
}

BrushCell BrushGrid::cell(int col, int row) const {
    const auto it = tiles_.find({col, row});
    return it == tiles_.end() ? BrushCell{} : BrushCell{it->second};
}

std::string BrushGrid::cellText(int col, int row) const { return brushCellText(cell(col, row)); }

void BrushGrid::setCell(int col, int row, BrushCell tile) {
    checkCell(col, row);
    if (tile)
        tiles_[{col, row}] = *tile;
    else
        tiles_.erase({col, row});
}

void BrushGrid::clearForLoading() {
    tiles_.clear();
    columns_ = 1;
    rows_ = 1;
}

BrushLoadReport BrushGrid::loadText(std::string_view text) {
    clearForLoading();
    BrushLoadReport report;
    const std::vector<std::string> lines = splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (isBlankLine(lines[i]))
            continue;
        const std::optional<BrushEntry> entry = parseBrushLine(lines[i]);
        if (!entry || !fitsGrid(*entry)) {
            report.skippedLines.push_back(i + 1);
            continue;
        }
        tiles_[{entry->dx, entry->dy}] = static_cast<std::uint16_t>(entry->tile);
        columns_ = std::max(columns_, entry->dx + 1);
        rows_ = std::max(rows_, entry->dy + 1);
    }
    return report;
}

BrushLoadReport BrushGrid::load(const std::filesystem::path& file) {
    clearForLoading();
    return loadText(readTextFile(file));
}

std::vector<PaintedBrushCell> BrushGrid::paintedCells() const {
    // The map is ordered by column and then row: the order brush files are
    // written in.
    std::vector<PaintedBrushCell> cells;
    for (const auto& [position, tile] : tiles_)
        if (position.first < columns_ && position.second < rows_)
            cells.push_back({position.first, position.second, tile});
    return cells;
}

} // namespace stonereach
