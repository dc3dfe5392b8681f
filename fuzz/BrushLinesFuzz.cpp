// Custom brush files (.brs) read line by line and stamped on a small map held
// in memory:
// a line either gives an entry that reads back the same when written in the
// brush layout, or is skipped; stamping writes only the three bytes of cells
// inside the map and stops only at a tile id outside 0..65535.
//
// Input: two bytes for the cell stamped at (column, row), then the file.
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "SmallMap.h"
#include "editor/BrushLines.h"
#include "editor/Painter.h"
#include "editor/RandomSource.h"
#include "editor/TextFile.h"
#include "mapdata/Errors.h"

namespace {

using namespace stonereach;

constexpr MapGeometry geometry = fuzz::smallMapGeometry;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> input(data, size);
    const int col = fuzz::take<std::uint8_t>(input) % 40 - 4;
    const int row = fuzz::take<std::uint8_t>(input) % 30 - 3;
    const auto mapPath = fuzz::memoryFolder() / "map0.mul";
    const auto& before = fuzz::smallPatternMap();
    fuzz::writeFile(mapPath, before);

    const std::vector<std::string> lines = splitLines({reinterpret_cast<const char*>(input.data()), input.size()});
    const std::vector<BrushEntry> entries = parseBrushLines(lines);
    FUZZ_CHECK(entries.size() <= lines.size());
    for (const BrushEntry& e : entries) {
        const auto again = parseBrushLine(std::to_string(e.dx) + "," + std::to_string(e.dy) + "," + std::to_string(e.tile));
        FUZZ_CHECK(again && *again == e);
    }

    // Stamp, and find which entries the stamp reached.
    std::size_t stopAt = entries.size();
    std::vector<CellPoint> written;
    {
        MapFile map(mapPath, File::Mode::ReadWrite);
        UndoList undo;
        RandomSource random(1);
        Painter painter(map, geometry, undo, random);
        try {
            painter.stamp(col, row, entries, AltitudeRule({AltitudeMode::Add, 1, false, "1"}));
        } catch (const RangeError&) {
            const auto insideAndOutOfRange = [&](const BrushEntry& e) {
                const std::int64_t x = std::int64_t{col} + e.dx, y = std::int64_t{row} + e.dy;
                return x >= 0 && y >= 0 && x < geometry.width && y < geometry.height && (e.tile < 0 || e.tile > 0xFFFF);
            };
            stopAt = 0;
            while (stopAt < entries.size() && !insideAndOutOfRange(entries[stopAt]))
                ++stopAt;
            FUZZ_CHECK(stopAt < entries.size());
        }
        written = painter.changedCells().toVector();
        FUZZ_CHECK(undo.empty());
    }

    // The cells written are the entries inside the map before the stop, and
    // each holds the last tile id written to it; nothing else changed.
    auto expected = before;
    std::size_t inside = 0;
    for (std::size_t i = 0; i < stopAt; ++i) {
        const std::int64_t x = std::int64_t{col} + entries[i].dx, y = std::int64_t{row} + entries[i].dy;
        if (x < 0 || y < 0 || x >= geometry.width || y >= geometry.height)
            continue;
        FUZZ_CHECK(entries[i].tile >= 0 && entries[i].tile <= 0xFFFF);
        FUZZ_CHECK(written.at(inside++) == (CellPoint{static_cast<int>(x), static_cast<int>(y)}));
        std::uint8_t* cell = &expected[cellOffset(static_cast<int>(x), static_cast<int>(y), geometry.blockHeight)];
        const MapCell old = decodeCell(cell);
        encodeCell(cell, MapCell{static_cast<std::uint16_t>(entries[i].tile), clampAltitude(old.z + 1)});
    }
    FUZZ_CHECK(inside == written.size());
    FUZZ_CHECK(fuzz::readFile(mapPath) == expected);
    return 0;
}
