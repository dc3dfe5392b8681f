// The stroke history over a real map file: strokes are painted through the
// painter as the window paints them, and every Undo Stroke and Redo is
// checked against the whole file's bytes.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <malloc.h>

#include "editor/Painter.h"
#include "editor/RandomSource.h"
#include "editor/ShapeTables.h"
#include "editor/StrokeHistory.h"
#include "mapdata/OpenMap.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

constexpr std::uint64_t kTokunoSize = 6421156; // 1448 x 1448 cells

using Bytes = std::vector<std::uint8_t>;

class StrokeHistoryTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::filesystem::path path = dir / "map4.mul";
    OpenMap map;
    UndoList undo;
    RandomSource random{11};
    StrokeHistory history{map, undo};

    void SetUp() override {
        test::writePatternFile(path, kTokunoSize);
        map.open(path);
    }

    Bytes bytes() const { return test::readBytes(path); }

    Painter painter() {
        std::optional<Painter> made = Painter::over(map, undo, random);
        if (!made)
            throw std::logic_error("nothing to paint on");
        made->recordingInto(history);
        return *made;
    }
    // One selection of a user action with the square brush or the fill:
    // "Add Z" 3 with a random offset, so no two strokes write alike.
    void paintSquare(const CellRect& square, StrokeTool tool = StrokeTool::Paint) {
        history.beginStroke(tool);
        painter().paintFootprint(square, DrawingMode::selectedTile(0x123),
                                 AltitudeRule({AltitudeMode::Add, 3, true, "2"}));
    }
    void stamp(int col, int row, std::span<const BrushEntry> pieces, StrokeTool tool) {
        history.beginStroke(tool);
        painter().stamp(col, row, pieces, AltitudeRule({AltitudeMode::Set, 9, false, "1"}));
    }
    void ctrlZ(int times = 1) {
        for (int i = 0; i < times; ++i)
            painter().undoLastCell();
    }
};

TEST_F(StrokeHistoryTest, EveryToolsStrokeIsUndoneAndRedoneByteForByteWithItsName) {
    std::vector<Bytes> states{bytes()};
    // A drag of the 3 x 3 brush over four cells: its squares overlap, so
    // cells are written more than once in one stroke.
    for (int step = 0; step < 4; ++step)
        paintSquare({100 + step, 200 + step / 2, 102 + step, 202 + step / 2});
    history.endStroke();
    states.push_back(bytes());
    paintSquare({90, 190, 129, 209}, StrokeTool::Fill); // 40 x 20, across block borders
    history.endStroke();
    states.push_back(bytes());
    stamp(101, 201, shapePieces(5), StrokeTool::Shape);
    history.endStroke();
    states.push_back(bytes());
    const BrushEntry brush[] = {{0, 0, 7}, {1, 0, 8}, {0, 0, 9}, {2000, 0, 1}}; // one cell twice, one off the map
    stamp(1446, 5, brush, StrokeTool::Brush);
    history.endStroke();
    states.push_back(bytes());

    const StrokeSummary expected[] = {{StrokeTool::Paint, 20}, {StrokeTool::Fill, 800}, {StrokeTool::Shape, 9},
                                      {StrokeTool::Brush, 2}};
    for (std::size_t i = 4; i-- > 0;) {
        EXPECT_EQ(history.nextUndo(), expected[i]) << i;
        const std::optional<CellRect> written = history.undoStroke();
        ASSERT_TRUE(written);
        EXPECT_TRUE(bytes() == states[i]) << "undo of stroke " << i;
        EXPECT_EQ(history.nextRedo(), expected[i]) << i;
    }
    EXPECT_FALSE(history.nextUndo());
    EXPECT_FALSE(history.undoStroke());
    EXPECT_TRUE(undo.empty()) << "the undo rows of the undone strokes are gone";
    for (std::size_t i = 0; i < 4; ++i) {
        ASSERT_TRUE(history.redoStroke());
        EXPECT_TRUE(bytes() == states[i + 1]) << "redo of stroke " << i;
    }
    EXPECT_FALSE(history.nextRedo());
    EXPECT_EQ(strokeToolName(history.nextUndo()->tool), "Brush");

    // The redone strokes have their undo rows again: Ctrl+Z restores the
    // fill's last cell, and undoing everything gives the first file back.
    EXPECT_EQ(undo.size(), std::size_t{4 * 9 + 800});
    history.undoStroke();
    history.undoStroke();
    ctrlZ();
    const std::uint64_t lastFilled = cellOffset(129, 209, map.geometry()->blockHeight);
    EXPECT_EQ(map.readCell(129, 209), decodeCell(&states[1][lastFilled]));
    history.undoStroke();
    history.undoStroke();
    EXPECT_TRUE(bytes() == states[0]);
}

TEST_F(StrokeHistoryTest, CtrlZAndUndoStrokeWorkOnOneHistory) {
    const Bytes before = bytes();
    paintSquare({10, 10, 12, 12});
    history.endStroke();
    const Bytes painted = bytes();

    // Ctrl+Z takes back four cells; Redo writes them again.
    ctrlZ(4);
    EXPECT_EQ(history.nextRedo(), (StrokeSummary{StrokeTool::Paint, 9}));
    history.redoStroke();
    EXPECT_TRUE(bytes() == painted);
    EXPECT_EQ(undo.size(), 9u);

    // Ctrl+Z, then Undo Stroke takes back the rest, then Redo all of it.
    ctrlZ(4);
    history.undoStroke();
    EXPECT_TRUE(bytes() == before);
    EXPECT_TRUE(undo.empty());
    history.redoStroke();
    EXPECT_TRUE(bytes() == painted);
    ctrlZ(9);
    EXPECT_TRUE(bytes() == before) << "Ctrl+Z restores the redone stroke cell by cell";
    EXPECT_FALSE(history.nextUndo()) << "a stroke Ctrl+Z took back whole is undone";
    EXPECT_EQ(history.nextRedo(), (StrokeSummary{StrokeTool::Paint, 9}));

    // A shape after a brush stroke: Ctrl+Z still takes the brush's last
    // cells, Undo Stroke takes the shape and then what is left of the brush,
    // and Redo writes both again in their order, without the two cells that
    // Ctrl+Z took back from below the shape.
    history.redoStroke();
    stamp(30, 30, shapePieces(5), StrokeTool::Shape);
    history.endStroke();
    Bytes expected = bytes();
    ctrlZ(2);
    EXPECT_EQ(history.nextUndo()->tool, StrokeTool::Shape);
    EXPECT_FALSE(history.nextRedo());
    history.undoStroke();
    EXPECT_EQ(history.nextUndo(), (StrokeSummary{StrokeTool::Paint, 7}));
    history.undoStroke();
    EXPECT_TRUE(bytes() == before);
    history.redoStroke();
    history.redoStroke();
    for (const CellPoint cell : {CellPoint{12, 11}, CellPoint{12, 12}}) {
        const std::uint64_t at = cellOffset(cell.x, cell.y, map.geometry()->blockHeight);
        std::copy_n(before.begin() + static_cast<std::ptrdiff_t>(at), 3, expected.begin() + static_cast<std::ptrdiff_t>(at));
    }
    EXPECT_TRUE(bytes() == expected);
}

TEST_F(StrokeHistoryTest, ANewStrokeEmptiesRedoAndAnotherFileStartsAnEmptyHistory) {
    paintSquare({5, 5, 6, 6});
    history.endStroke();
    paintSquare({20, 5, 21, 6});
    history.endStroke();
    history.undoStroke();
    ASSERT_TRUE(history.nextRedo());

    // An action that writes nothing (the first corner of a fill) keeps it.
    history.beginStroke(StrokeTool::Fill);
    history.endStroke();
    EXPECT_TRUE(history.nextRedo());
    stamp(40, 40, shapePieces(6), StrokeTool::Shape);
    history.endStroke();
    EXPECT_FALSE(history.nextRedo());
    EXPECT_FALSE(history.redoStroke());

    // Opening the same file again (every Go does) keeps the history; a new
    // file renamed over it, once opened, does not. The undo rows stay.
    map.open(path);
    EXPECT_EQ(history.nextUndo()->tool, StrokeTool::Shape);
    test::writePatternFile(dir / "new.mul", kTokunoSize);
    std::filesystem::rename(dir / "new.mul", path);
    map.open(path);
    EXPECT_FALSE(history.nextUndo());
    EXPECT_FALSE(history.undoStroke());
    EXPECT_EQ(undo.size(), 4u);
}

TEST_F(StrokeHistoryTest, NothingIsWrittenToAFileThatLostItsNameOrWasCutShort) {
    paintSquare({5, 5, 6, 6});
    history.endStroke();
    std::filesystem::remove(path);
    EXPECT_FALSE(Painter::over(map, undo, random));
    EXPECT_FALSE(history.undoStroke());
    EXPECT_TRUE(history.nextUndo()) << "the stroke waits for the file to come back";

    test::writePatternFile(path, kTokunoSize - 196);
    map.open(path);
    EXPECT_FALSE(Painter::over(map, undo, random)) << "a file of no known size is not painted";
    test::writePatternFile(path, kTokunoSize);
    map.open(path);
    std::filesystem::resize_file(path, kTokunoSize / 2);
    EXPECT_FALSE(Painter::over(map, undo, random));
    EXPECT_EQ(std::filesystem::file_size(path), kTokunoSize / 2);
}

TEST_F(StrokeHistoryTest, AFailedWriteLeavesTheFileAndTheHistoryAsTheyWere) {
    paintSquare({0, 0, 99, 99}, StrokeTool::Fill);
    history.endStroke();
    history.undoStroke();
    const Bytes undone = bytes();
    // The redo writes one run of cells a block; the 50th fails with the disk
    // full, after writing half of its bytes.
    test::FailingDevice device(50, ENOSPC, {IoOperation::Write});
    {
        ScopedFaultInjector failing(device);
        EXPECT_THROW(history.redoStroke(), IoError);
    }
    EXPECT_TRUE(bytes() == undone);
    EXPECT_TRUE(undo.empty());
    EXPECT_EQ(history.nextRedo(), (StrokeSummary{StrokeTool::Fill, 10000}));
    history.redoStroke();
    history.undoStroke();
    EXPECT_TRUE(bytes() == undone);
}

// The heap in use, as the C library counts it (a sanitizer's allocator
// counts nothing there).
std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

TEST_F(StrokeHistoryTest, AMillionCellFillKeepsAtMostSixteenBytesACellForUndoAndRedo) {
    constexpr std::size_t kCells = 1000 * 1000;
    {
        const std::size_t before = heapInUse();
        const std::vector<std::uint8_t> probe(1 << 20, 1);
        if (heapInUse() - before < probe.size())
            GTEST_SKIP() << "the C library does not count this heap";
    }
    const std::size_t start = heapInUse();
    paintSquare({200, 300, 1199, 1299}, StrokeTool::Fill);
    history.endStroke();
    EXPECT_LE(heapInUse() - start, 16 * kCells) << "painted: undo rows and the stroke";
    history.undoStroke();
    EXPECT_LE(heapInUse() - start, 16 * kCells) << "undone: the stroke to redo";
    history.redoStroke();
    EXPECT_LE(heapInUse() - start, 16 * kCells) << "redone";
    EXPECT_EQ(undo.size(), kCells);
}

} // namespace
} // namespace stonereach
