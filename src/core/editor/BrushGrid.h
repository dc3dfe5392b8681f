#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace stonereach {

// One cell of a brush: a land tile id, or nothing for NODRAW (stamping
// leaves that map cell as it is).
using BrushCell = std::optional<std::uint16_t>;

inline constexpr std::string_view kNoDrawText = "NODRAW";

// "NODRAW", or "$" and four upper-case hexadecimal digits (tile 0x011A gives
// "$011A"): how a brush cell is shown and written.
std::string brushCellText(BrushCell cell);

// What loading a brush file into the grid skipped: lines that are not three
// integers, tile ids outside 0..65535, and columns or rows that are negative
// or beyond kMaxBrushOffset. Blank lines are not counted.
struct BrushLoadReport {
    std::vector<std::size_t> skippedLines;  // 1-based line numbers, in file order
    bool clean() const { return skippedLines.empty(); }
};

// A cell of the grid that holds a tile.
struct PaintedBrushCell {
    int col = 0;
    int row = 0;
    std::uint16_t tile = 0;
    friend bool operator==(const PaintedBrushCell&, const PaintedBrushCell&) = default;
};

// The one message for a brush file with skipped lines, naming the brush and
// the lines (the first few of them when there are many).
std::string brushLoadMessage(std::string_view brushName, const BrushLoadReport& report);

// The brush editor's grid: the cells and the grid's current column and row
// counts. Cells outside the counts keep their contents, so shrinking and
// growing the grid back gives them back, but they are neither shown nor
// written.
class BrushGrid {
public:
    // The editor's start: 5 x 5, every cell NODRAW.
    static constexpr int kStartSide = 5;
    // The highest column or row offset a brush may have: no map is wider
    // than 7168 cells, so a larger offset could never be painted.
    static constexpr int kMaxBrushOffset = 7167;

    BrushGrid();

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    // The Cols and Rows controls: the new count, 1 .. kMaxBrushOffset + 1
    // (RangeError otherwise).
    void setColumns(int columns);
    void setRows(int rows);

    // The cell at (col, row); NODRAW where nothing was put.
    BrushCell cell(int col, int row) const;
    // brushCellText of the cell at (col, row).
    std::string cellText(int col, int row) const;
    // Selecting a cell in the editor puts the current tile there (nothing for
    // NODRAW). RangeError outside 0 .. kMaxBrushOffset.
    void setCell(int col, int row, BrushCell tile);

    // Every cell NODRAW and the grid 1 x 1: the first step of loading.
    void clearForLoading();

    // Loads a brush file's text: clearForLoading, then for each line (column
    // i, row j, tile t) cell (i, j) becomes t and the grid grows to i + 1
    // columns and j + 1 rows when smaller. Lines that cannot be a brush cell
    // are skipped and reported.
    BrushLoadReport loadText(std::string_view text);

    // loadText of the file's contents. When the file cannot be read the grid
    // stays cleared at 1 x 1 and IoError is thrown.
    BrushLoadReport load(const std::filesystem::path& file);

    // The cells that are not NODRAW, by column and then row, inside the
    // current counts.
    std::vector<PaintedBrushCell> paintedCells() const;

private:
    int columns_ = kStartSide;
    int rows_ = kStartSide;
    std::map<std::pair<int, int>, std::uint16_t> tiles_;  // (col, row) -> tile; absent is NODRAW
};

} // namespace stonereach
