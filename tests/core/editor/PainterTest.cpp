#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <set>

#include "editor/Painter.h"
#include "editor/RandomSource.h"
#include "editor/SelectionGroups.h"
#include "editor/ShapeTables.h"
#include "mapdata/Errors.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

// A map of 4 x 3 blocks (32 x 24 cells), not square, so a mix-up of columns
// and rows shows; every byte differs from its neighbours.
constexpr MapGeometry kGeometry{32, 24, 3};
constexpr std::uint64_t kMapSize = 4 * 3 * MapLayout::BlockSize;

// Painting done the plain way, one read and one write per cell, column by
// column: what the painter's block-wise writes must match byte for byte.
void paintCellByCell(MapFile& map, const CellRect& rect, const DrawingMode& mode, const AltitudeRule& rule,
                     UndoList& undo, RandomSource& random, std::int64_t limit = LLONG_MAX) {
    for (int x = rect.left; x <= rect.right; ++x)
        for (int y = rect.top; y <= rect.bottom; ++y) {
            if (!kGeometry.contains(x, y))
                continue;
            if (limit-- <= 0)
                return;
            const MapCell old = map.readCell(x, y, kGeometry);
            undo.append(x, y, old.z, old.tile);
            const std::uint16_t tile = mode.tileFor(old.tile, random);
            map.writeCell(x, y, MapCell{tile, rule.apply(old.z, random)}, kGeometry);
        }
}

std::vector<UndoRow> rowsOf(const UndoList& undo) {
    std::vector<UndoRow> rows;
    for (std::size_t i = 0; i < undo.size(); ++i)
        rows.push_back(undo.at(i));
    return rows;
}

AltitudeRule rule(AltitudeMode mode, int z, bool addRandom = false, std::string noise = "1") {
    return AltitudeRule({mode, z, addRandom, std::move(noise)});
}

class PainterOnMap : public ::testing::Test {
protected:
    test::TempDir dir;
    std::filesystem::path mapPath = dir / "map0.mul";
    std::filesystem::path referencePath = dir / "reference.mul";
    UndoList undo;
    RandomSource random{7};

    void SetUp() override {
        test::writePatternFile(mapPath, kMapSize);
        test::writePatternFile(referencePath, kMapSize);
    }
    MapCell cellAt(int x, int y) const { return MapFile(mapPath, File::Mode::Read).readCell(x, y, kGeometry); }
    std::vector<std::uint8_t> mapBytes() const { return test::readBytes(mapPath); }
    std::vector<std::uint8_t> referenceBytes() const { return test::readBytes(referencePath); }
};

std::vector<CellPoint> columnByColumn(const CellRect& r) {
    std::vector<CellPoint> cells;
    for (int x = r.left; x <= r.right; ++x)
        for (int y = r.top; y <= r.bottom; ++y)
            cells.push_back({x, y});
    return cells;
}

TEST_F(PainterOnMap, FootprintsGiveTheBytesUndoRowsAndDrawsOfPaintingCellByCell) {
    const TTileNamed grass{"Grass", {"3", "$4", "5", "+6"}};
    // Rectangles inside one block, across block rows and columns, the whole
    // map, and reaching past every edge.
    const CellRect rects[] = {{3, 3, 3, 3},  {2, 5, 4, 6},   {0, 0, 31, 23}, {6, 6, 17, 20},
                              {7, 0, 8, 23}, {-3, -2, 40, 30}, {28, 20, 36, 27}};
    const DrawingMode modes[] = {DrawingMode::group(grass), DrawingMode::selectedTile(0x1234),
                                 DrawingMode::altitudeOnly(), DrawingMode::dontDraw()};
    int round = 0;
    for (const CellRect& rect : rects) {
        for (const DrawingMode& mode : modes) {
            const AltitudeRule altitude =
                rule(static_cast<AltitudeMode>(round % 4), round % 7 - 3, round % 3 != 0, std::to_string(round % 5));
            ++round;
            RandomSource reference(static_cast<std::uint64_t>(round));
            RandomSource painted(static_cast<std::uint64_t>(round));
            UndoList referenceUndo;
            MapFile referenceMap(referencePath, File::Mode::ReadWrite);
            paintCellByCell(referenceMap, rect, mode, altitude, referenceUndo, reference);

            MapFile map(mapPath, File::Mode::ReadWrite);
            const ChangedCells changed = Painter(map, kGeometry, undo, painted).paintFootprint(rect, mode, altitude);
            ASSERT_EQ(mapBytes(), referenceBytes()) << "round " << round;
            ASSERT_EQ(rowsOf(undo), rowsOf(referenceUndo)) << "round " << round;
            ASSERT_EQ(changed.toVector(), columnByColumn(clipToMap(rect, kGeometry))) << "round " << round;
            ASSERT_EQ(changed.bounds(), clipToMap(rect, kGeometry));
            ASSERT_EQ(reference.below(1000000), painted.below(1000000)) << "the same number of draws";
            undo.clear();
        }
    }
}

TEST_F(PainterOnMap, FillPaintsColumnByColumnAndAReversedFillPaintsNothing) {
    FillState fill;
    EXPECT_FALSE(fill.select(10, 10));
    EXPECT_TRUE(fill.pending());
    const auto rect = fill.select(12, 11);
    ASSERT_TRUE(rect);
    EXPECT_FALSE(fill.pending());

    MapFile map(mapPath, File::Mode::ReadWrite);
    const auto before = mapBytes();
    const auto changed = Painter(map, kGeometry, undo, random)
                             .paintFootprint(*rect, DrawingMode::altitudeOnly(), rule(AltitudeMode::Add, 1))
                             .toVector();
    const std::vector<CellPoint> order{{10, 10}, {10, 11}, {11, 10}, {11, 11}, {12, 10}, {12, 11}};
    EXPECT_EQ(changed, order);
    ASSERT_EQ(undo.size(), 6u);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto [x, y] = order[i];
        const MapCell old = decodeCell(&before[cellOffset(x, y, kGeometry.blockHeight)]);
        EXPECT_EQ(undo.at(i), (UndoRow{std::uint16_t(x), std::uint16_t(y), old.tile, old.z}));
        EXPECT_EQ(cellAt(x, y), (MapCell{old.tile, clampAltitude(old.z + 1)})) << "tile ids stay";
    }

    // Right of but above the first corner: the fill ends with nothing painted.
    EXPECT_FALSE(fill.select(12, 11));
    EXPECT_FALSE(fill.select(10, 10));
    EXPECT_FALSE(fill.pending());
    // The next selection starts a new fill.
    EXPECT_FALSE(fill.select(5, 5));
    EXPECT_EQ(fill.select(5, 6), (CellRect{5, 5, 5, 6}));
}

TEST_F(PainterOnMap, UndoAfterASquareBrushRestoresTheFileByteForByteTopLeftLast) {
    const auto before = mapBytes();
    MapFile map(mapPath, File::Mode::ReadWrite);
    Painter painter(map, kGeometry, undo, random);
    // Across a block corner, so the cells lie in four blocks.
    painter.paintFootprint(squareBrushFootprint(6, 7, 3), DrawingMode::selectedTile(0x0ABC),
                           rule(AltitudeMode::Add, 1, true, "3"));
    ASSERT_EQ(undo.size(), 9u);
    EXPECT_EQ(cellAt(8, 9).tile, 0x0ABC);

    std::vector<CellPoint> restored;
    for (int i = 0; i < 9; ++i) {
        const auto cell = painter.undoLastCell();
        ASSERT_TRUE(cell);
        EXPECT_EQ(painter.changedCells().toVector(), std::vector<CellPoint>{*cell});
        restored.push_back(*cell);
    }
    EXPECT_EQ(restored.back(), (CellPoint{6, 7}));
    EXPECT_EQ(restored.front(), (CellPoint{8, 9}));
    EXPECT_TRUE(undo.empty());
    EXPECT_EQ(mapBytes(), before);
    EXPECT_FALSE(painter.undoLastCell()) << "undo with an empty list does nothing";
    EXPECT_EQ(mapBytes(), before);
}

TEST_F(PainterOnMap, UndoDropsARowMadeOnALargerMapWithoutWriting) {
    undo.append(40, 3, 5, 0x111);   // past the right edge of this map
    undo.append(2, 30, 5, 0x111);   // past the bottom edge
    undo.append(1, 1, -9, 0x0203);
    const auto before = mapBytes();
    MapFile map(mapPath, File::Mode::ReadWrite);
    Painter painter(map, kGeometry, undo, random);
    EXPECT_EQ(painter.undoLastCell(), (CellPoint{1, 1}));
    EXPECT_EQ(cellAt(1, 1), (MapCell{0x0203, -9}));
    EXPECT_FALSE(painter.undoLastCell());
    EXPECT_FALSE(painter.undoLastCell());
    EXPECT_TRUE(undo.empty());
    auto expected = before;
    encodeCell(&expected[cellOffset(1, 1, kGeometry.blockHeight)], MapCell{0x0203, -9});
    EXPECT_EQ(mapBytes(), expected);
}

TEST_F(PainterOnMap, CellsPastTheEdgeAreNeverWrittenAndTheCellsInsideAre) {
    MapFile map(mapPath, File::Mode::ReadWrite);
    Painter painter(map, kGeometry, undo, random);
    const DrawingMode tile = DrawingMode::selectedTile(0x0777);
    const AltitudeRule set = rule(AltitudeMode::Set, 9);
    painter.paintFootprint(squareBrushFootprint(28, 20, 9), tile, set);  // bottom-right corner
    EXPECT_EQ(undo.size(), 16u);
    painter.paintFootprint({-5, 2, 1, 2}, tile, set);                    // fill reaching left
    EXPECT_EQ(undo.size(), 18u);
    painter.stamp(31, 0, shapePieces(5), set);                          // whole set at the right edge
    EXPECT_EQ(painter.changedCells().toVector(), (std::vector<CellPoint>{{31, 0}, {31, 1}, {31, 2}}));
    const BrushEntry wild[] = {{-1, 0, 0x10}, {0, -1, 0x11}, {INT_MAX, 0, 0x12}, {0, INT_MAX, 0x13},
                               {INT_MIN, INT_MIN, 0x14}, {2, 3, 0x15}};
    painter.stamp(0, 0, wild, set);
    EXPECT_EQ(painter.changedCells().toVector(), (std::vector<CellPoint>{{2, 3}}));

    // The expected file: the pattern with exactly the cells inside written.
    auto expected = referenceBytes();
    const auto put = [&](int x, int y, std::uint16_t t) {
        encodeCell(&expected[cellOffset(x, y, kGeometry.blockHeight)], MapCell{t, 9});
    };
    for (int x = 28; x < 32; ++x)
        for (int y = 20; y < 24; ++y)
            put(x, y, 0x0777);
    put(0, 2, 0x0777);
    put(1, 2, 0x0777);
    put(31, 0, 467);  // the set's left column; the rest lies past the edge
    put(31, 1, 474);
    put(31, 2, 473);
    put(2, 3, 0x15);
    EXPECT_EQ(mapBytes(), expected);
}

TEST_F(PainterOnMap, ShapesLayTheNineTileSetInReadingOrderWithoutUndoRows) {
    MapFile map(mapPath, File::Mode::ReadWrite);
    Painter painter(map, kGeometry, undo, random);
    const MapCell before = cellAt(11, 6);
    const auto changed = painter.stamp(10, 5, shapePieces(5), rule(AltitudeMode::OnlyChangeTile, 0));
    EXPECT_EQ(changed.toVector(), (std::vector<CellPoint>{
                                      {10, 5}, {11, 5}, {12, 5}, {10, 6}, {11, 6}, {12, 6}, {10, 7}, {11, 7}, {12, 7}}));
    const std::uint16_t set[3][3] = {{467, 468, 469}, {474, 475, 470}, {473, 472, 471}};
    for (int dy = 0; dy < 3; ++dy)
        for (int dx = 0; dx < 3; ++dx)
            EXPECT_EQ(cellAt(10 + dx, 5 + dy).tile, set[dy][dx]);
    EXPECT_EQ(cellAt(11, 6).z, before.z);
    EXPECT_TRUE(undo.empty());

    // Every shape is a piece of the set in reading order: the first five a
    // block of rows or columns at their place in the set, the rest one piece
    // each in toolbar order (btnHoehle7..10, 6, 11..14 read the set row by row).
    struct Place {
        int column, row, width, height;
    };
    const Place places[] = {{0, 0, 3, 2}, {1, 0, 2, 3}, {0, 1, 3, 2}, {0, 0, 2, 3}, {0, 0, 3, 3},
                            {1, 1, 1, 1}, {0, 0, 1, 1}, {1, 0, 1, 1}, {2, 0, 1, 1}, {0, 1, 1, 1},
                            {2, 1, 1, 1}, {0, 2, 1, 1}, {1, 2, 1, 1}, {2, 2, 1, 1}};
    for (int n = 1; n <= ShapeCount; ++n) {
        const Place& p = places[n - 1];
        std::vector<BrushEntry> expected;
        for (int dy = 0; dy < p.height; ++dy)
            for (int dx = 0; dx < p.width; ++dx)
                expected.push_back({dx, dy, set[p.row + dy][p.column + dx]});
        const auto pieces = shapePieces(n);
        EXPECT_EQ(std::vector<BrushEntry>(pieces.begin(), pieces.end()), expected) << "btnHoehle" << n;
        EXPECT_EQ(positionInNineTileSet(expected.front().tile), (CellPoint{p.column, p.row}));
    }
    EXPECT_THROW(shapePieces(15), RangeError);
    EXPECT_FALSE(positionInNineTileSet(466));
}

TEST_F(PainterOnMap, ABadNoiseTextLeavesTheFirstUndoRowAndWritesNothing) {
    const auto before = mapBytes();
    MapFile map(mapPath, File::Mode::ReadWrite);
    Painter painter(map, kGeometry, undo, random);
    EXPECT_THROW(painter.paintFootprint({6, 6, 9, 9}, DrawingMode::selectedTile(1), rule(AltitudeMode::Add, 1, true, "-")),
                 ConversionError);
    ASSERT_EQ(undo.size(), 1u);
    const MapCell old = decodeCell(&before[cellOffset(6, 6, kGeometry.blockHeight)]);
    EXPECT_EQ(undo.last(), (UndoRow{6, 6, old.tile, old.z}));
    EXPECT_TRUE(painter.changedCells().empty());
    EXPECT_THROW(painter.stamp(0, 0, shapePieces(1), rule(AltitudeMode::Add, 1, true, "")), ConversionError);
    EXPECT_EQ(mapBytes(), before);
    // With random altitude off the noise text is never looked at.
    painter.paintFootprint({6, 6, 6, 6}, DrawingMode::selectedTile(1), rule(AltitudeMode::Add, 1, false, "x"));
    EXPECT_EQ(cellAt(6, 6).tile, 1);
}

TEST_F(PainterOnMap, ABrushTileAboveTheRangeStopsTheStampAtItsCell) {
    MapFile map(mapPath, File::Mode::ReadWrite);
    Painter painter(map, kGeometry, undo, random);
    const BrushEntry brush[] = {{0, 0, 0x20}, {1, 0, 0x21}, {2, 0, 65536}, {3, 0, 0x23}};
    const auto before = mapBytes();
    EXPECT_THROW(painter.stamp(4, 4, brush, rule(AltitudeMode::Set, 0)), RangeError);
    EXPECT_EQ(painter.changedCells().toVector(), (std::vector<CellPoint>{{4, 4}, {5, 4}}));
    auto expected = before;
    encodeCell(&expected[cellOffset(4, 4, kGeometry.blockHeight)], MapCell{0x20, 0});
    encodeCell(&expected[cellOffset(5, 4, kGeometry.blockHeight)], MapCell{0x21, 0});
    EXPECT_EQ(mapBytes(), expected);
    EXPECT_TRUE(undo.empty());
}

TEST_F(PainterOnMap, AFailingReadOrWriteLeavesTheStateOfPaintingCellByCell) {
    // A fill over 3 x 3 blocks, with random altitude and a group, so every
    // cell draws from the generator.
    const CellRect rect{5, 3, 20, 18};
    const DrawingMode mode = DrawingMode::group({"Mix", {"1", "2", "3"}});
    const AltitudeRule altitude = rule(AltitudeMode::Add, 2, true, "4");
    const auto pattern = mapBytes();
    const auto run = [&](UndoList& rows) {
        RandomSource seeded(99);
        MapFile map(mapPath, File::Mode::ReadWrite);
        Painter painter(map, kGeometry, rows, seeded);
        try {
            painter.paintFootprint(rect, mode, altitude);
        } catch (const IoError&) {
            return std::optional<std::size_t>(painter.changedCells().size());
        }
        return std::optional<std::size_t>();
    };
    const std::size_t operations = test::countFileOperations([&] {
        UndoList rows;
        run(rows);
    });
    ASSERT_GT(operations, 4u);

    for (std::size_t step = 0; step < operations; ++step) {
        test::writeBytes(mapPath, pattern);
        UndoList rows;
        std::optional<std::size_t> written;
        test::FailingDevice device(step, step % 2 ? EIO : ENOSPC, {IoOperation::Read, IoOperation::Write});
        {
            ScopedFaultInjector guard(device);
            written = run(rows);
        }
        if (!device.failed())
            continue;  // an open or close
        ASSERT_TRUE(written) << "no error when operation " << step << " failed";

        // Painting cell by cell that stops after the same cells.
        test::writeBytes(referencePath, pattern);
        UndoList referenceRows;
        RandomSource seeded(99);
        MapFile reference(referencePath, File::Mode::ReadWrite);
        paintCellByCell(reference, rect, mode, altitude, referenceRows, seeded, static_cast<std::int64_t>(*written));
        EXPECT_EQ(mapBytes(), referenceBytes()) << "operation " << step;
        // The failing cell's row is there when its write failed, not when
        // its read did.
        auto expectedRows = rowsOf(referenceRows);
        if (device.failedOperation() == IoOperation::Write) {
            const CellPoint next = columnByColumn(rect)[*written];
            const MapCell old = decodeCell(&pattern[cellOffset(next.x, next.y, kGeometry.blockHeight)]);
            expectedRows.push_back({std::uint16_t(next.x), std::uint16_t(next.y), old.tile, old.z});
        }
        EXPECT_EQ(rowsOf(rows), expectedRows) << "operation " << step;
    }
}

TEST(AltitudeRule, ClampsEachModeToTheAltitudeRange) {
    RandomSource random(1);
    struct Case {
        AltitudeMode mode;
        int oldZ, z, expected;
    };
    for (const Case& c : {Case{AltitudeMode::Add, 120, 10, 127}, Case{AltitudeMode::Subtract, -125, 10, -128},
                          Case{AltitudeMode::Add, -128, -128, -128}, Case{AltitudeMode::Subtract, 127, -128, 127},
                          Case{AltitudeMode::Set, 40, -7, -7}, Case{AltitudeMode::OnlyChangeTile, -33, 100, -33},
                          Case{AltitudeMode::Add, 5, -6, -1}})
        EXPECT_EQ(rule(c.mode, c.z).apply(static_cast<std::int8_t>(c.oldZ), random), c.expected)
            << static_cast<int>(c.mode) << " " << c.oldZ << " " << c.z;
    EXPECT_EQ(altitudeModeAt(2), AltitudeMode::Set);
    EXPECT_FALSE(altitudeModeAt(4));
}

// Every altitude a rule gives over many cells.
std::set<int> altitudesSeen(const AltitudeRule& altitude, int oldZ, int cells = 4000) {
    RandomSource random(5);
    std::set<int> seen;
    for (int i = 0; i < cells; ++i)
        seen.insert(altitude.apply(static_cast<std::int8_t>(oldZ), random));
    return seen;
}

std::set<int> span(int from, int to) {
    std::set<int> all;
    for (int v = from; v <= to; ++v)
        all.insert(v);
    return all;
}

TEST(AltitudeRule, TheRandomOffsetCoversMinusNToNAndIsClampedAgain) {
    EXPECT_EQ(altitudesSeen(rule(AltitudeMode::Set, 5, true, "2"), 50), span(3, 7));
    EXPECT_EQ(altitudesSeen(rule(AltitudeMode::OnlyChangeTile, 0, true, "$3"), -20), span(-23, -17));
    EXPECT_EQ(altitudesSeen(rule(AltitudeMode::Set, 127, true, "10"), 0), span(117, 127));
    EXPECT_EQ(altitudesSeen(rule(AltitudeMode::Subtract, 100, true, "10"), -100), span(-128, -118));
    // A negative N = -k swaps the bounds: -(k - 1)..k - 1; -1 and 0 add nothing.
    EXPECT_EQ(altitudesSeen(rule(AltitudeMode::Set, 0, true, "-3"), 9), span(-2, 2));
    EXPECT_EQ(altitudesSeen(rule(AltitudeMode::Set, 0, true, "-1"), 9), span(0, 0));
    EXPECT_EQ(altitudesSeen(rule(AltitudeMode::Set, 0, true, "0"), 9), span(0, 0));
    // Offsets as large as the integers go neither overflow nor stick to one end.
    for (const char* huge : {"2147483647", "-2147483648", "$7FFFFFFF"}) {
        const auto seen = altitudesSeen(rule(AltitudeMode::Set, 0, true, huge), 0, 200);
        EXPECT_EQ(seen, (std::set<int>{-128, 127})) << huge;
    }
}

TEST(DrawingMode, PicksEveryGroupMemberAndRefusesABadGroupNamingIt) {
    RandomSource random(3);
    const DrawingMode group = DrawingMode::group({"Sand", {"22", "$17", "24"}});
    std::set<int> picked;
    for (int i = 0; i < 300; ++i)
        picked.insert(group.tileFor(9, random));
    EXPECT_EQ(picked, (std::set<int>{22, 23, 24}));
    EXPECT_EQ(DrawingMode::altitudeOnly().tileFor(9, random), 9);
    EXPECT_EQ(DrawingMode::dontDraw().tileFor(9, random), 9);
    EXPECT_EQ(DrawingMode::selectedTile(65535).tileFor(9, random), 65535);
    EXPECT_THROW(DrawingMode::selectedTile(65536), RangeError);

    const auto refusal = [](const TTileNamed& g) {
        try {
            DrawingMode::group(g);
        } catch (const Refusal& e) {
            return std::string(e.what());
        }
        return std::string("no refusal");
    };
    EXPECT_EQ(refusal({"Empty", {}}), "The selection group \"Empty\" holds no tile ids; nothing was painted.");
    EXPECT_EQ(refusal({"R\xF6" "ck", {"1", "two"}}),
              "The selection group \"R\xC3\xB6" "ck\" holds \"two\", which is not a tile id (0 to 65535); nothing was painted.");
    EXPECT_NE(refusal({"Big", {"65536"}}).find("holds \"65536\", which is not a tile id"), std::string::npos);
}

// The editor paints on its open map: at the map's own offsets when it knows
// the layout, and not at all when it does not.
TEST(PainterOverTheOpenMap, PaintsARecognisedMapAndNothingWithoutAKnownLayout) {
    test::TempDir dir;
    const auto tokuno = dir / "map4.mul";
    test::writeBytes(tokuno, std::vector<std::uint8_t>(6421156, 0));
    UndoList undo;
    RandomSource random{1};
    OpenMap map;
    EXPECT_FALSE(Painter::over(map, undo, random)) << "no map open";

    map.open(tokuno);
    std::optional<Painter> painter = Painter::over(map, undo, random);
    ASSERT_TRUE(painter);
    painter->paintFootprint({1440, 1440, 1447, 1447}, DrawingMode::selectedTile(0x0102), rule(AltitudeMode::Set, -3));
    const auto bytes = test::readBytes(tokuno);
    const auto at = cellOffset(1447, 1447, 181);
    EXPECT_EQ((std::vector<std::uint8_t>{bytes[at], bytes[at + 1], bytes[at + 2]}),
              (std::vector<std::uint8_t>{0x02, 0x01, 0xFD}));
    EXPECT_EQ(undo.size(), 64u);

    std::filesystem::resize_file(tokuno, 6421156 + 1);
    map.open(tokuno);
    EXPECT_FALSE(Painter::over(map, undo, random)) << "a file of no known size is not painted";
}

} // namespace
} // namespace stonereach
