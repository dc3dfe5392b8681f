// The brush editor's grid loading a hand-written .brs file: any text loads
// into a grid as large as its furthest entry, the lines it cannot use are
// reported in order, and the grid written out reads back as the same grid
// with nothing skipped, each written line parsing to the cell it came from.
//
// Input: the .brs file's text.
#include <algorithm>
#include <string_view>

#include "FuzzSupport.h"
#include "editor/BrushFile.h"
#include "editor/BrushGrid.h"
#include "editor/BrushLines.h"
#include "editor/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace stonereach;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    BrushGrid grid;
    grid.setCell(9, 9, 1);  // whatever was shown before goes
    const BrushLoadReport report = grid.loadText(text);
    const std::size_t lineCount = splitLines(text).size();
    for (std::size_t i = 0; i < report.skippedLines.size(); ++i) {
        FUZZ_CHECK(report.skippedLines[i] >= 1 && report.skippedLines[i] <= lineCount);
        FUZZ_CHECK(i == 0 || report.skippedLines[i - 1] < report.skippedLines[i]);
    }

    const auto cells = grid.paintedCells();
    int columns = 1;
    int rows = 1;
    for (const PaintedBrushCell& cell : cells) {
        columns = std::max(columns, cell.col + 1);
        rows = std::max(rows, cell.row + 1);
    }
    FUZZ_CHECK(grid.columns() == columns && grid.rows() == rows);
    FUZZ_CHECK(cells.size() + report.skippedLines.size() <= lineCount);

    const std::string written = brushFileText(grid);
    const auto lines = splitLines(written);
    FUZZ_CHECK(lines.size() == cells.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto entry = parseBrushLine(lines[i]);
        FUZZ_CHECK(entry && entry->dx == cells[i].col && entry->dy == cells[i].row && entry->tile == cells[i].tile);
    }
    BrushGrid reread;
    FUZZ_CHECK(reread.loadText(written).clean());
    FUZZ_CHECK(reread.paintedCells() == cells);
    FUZZ_CHECK(reread.columns() == grid.columns() && reread.rows() == grid.rows());
    return 0;
}
