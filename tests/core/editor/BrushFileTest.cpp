#include <gtest/gtest.h>

#include <fstream>

#include "editor/BrushFile.h"
#include "editor/BrushGrid.h"
#include "editor/TypedFileName.h"
#include "mapdata/Errors.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

namespace fs = std::filesystem;

void writeText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string readText(const fs::path& path) {
    const auto bytes = test::readBytes(path);
    return {bytes.begin(), bytes.end()};
}

std::vector<std::string> gridTexts(const BrushGrid& grid) {
    std::vector<std::string> rows;
    for (int row = 0; row < grid.rows(); ++row) {
        std::string line;
        for (int col = 0; col < grid.columns(); ++col)
            line += (col ? " " : "") + grid.cellText(col, row);
        rows.push_back(line);
    }
    return rows;
}

TEST(BrushWriting, WritesPaintedCellsColumnByColumnInsideTheGridOnly) {
    BrushGrid grid;
    EXPECT_EQ(grid.columns(), 5);
    EXPECT_EQ(grid.rows(), 5);
    EXPECT_EQ(brushFileText(grid), "") << "a grid of NODRAW cells is an empty file";
    grid.setCell(2, 0, 3);
    grid.setCell(0, 4, 0x011A);
    grid.setCell(0, 1, 0xFFFF);
    grid.setCell(1, 1, 0);
    grid.setCell(3, 3, 7);
    grid.setCell(3, 3, std::nullopt);  // put NODRAW back
    EXPECT_EQ(brushFileText(grid), "0,1,$FFFF\r\n0,4,$011A\r\n1,1,$0000\r\n2,0,$0003\r\n");

    // Shrinking to 2 x 2 writes only columns and rows 0..1; growing back
    // shows the cells again.
    grid.setColumns(2);
    grid.setRows(2);
    EXPECT_EQ(brushFileText(grid), "0,1,$FFFF\r\n1,1,$0000\r\n");
    EXPECT_EQ(gridTexts(grid), (std::vector<std::string>{"NODRAW NODRAW", "$FFFF $0000"}));
    grid.setColumns(3);
    grid.setRows(5);
    EXPECT_EQ(brushFileText(grid), "0,1,$FFFF\r\n0,4,$011A\r\n1,1,$0000\r\n2,0,$0003\r\n");

    EXPECT_THROW(grid.setColumns(0), RangeError);
    EXPECT_THROW(grid.setCell(-1, 0, 1), RangeError);
    EXPECT_EQ(grid.columns(), 3);
}

TEST(BrushLoading, GrowsTheGridToTheFurthestEntryAndHoldsIdsAsFourHexDigits) {
    BrushGrid grid;
    grid.setCell(4, 4, 9);
    // Any earlier size and cells are gone; 3 and $3 are both $0003.
    EXPECT_TRUE(grid.loadText("3,6,$1a\r\n0,0,3\r\n1,2,$3  \n").clean());
    EXPECT_EQ(grid.columns(), 4);
    EXPECT_EQ(grid.rows(), 7);
    EXPECT_EQ(grid.cellText(0, 0), "$0003");
    EXPECT_EQ(grid.cellText(1, 2), "$0003");
    EXPECT_EQ(grid.cellText(4, 4), "NODRAW");
    EXPECT_EQ(brushFileText(grid), "0,0,$0003\r\n1,2,$0003\r\n3,6,$001A\r\n");

    EXPECT_TRUE(grid.loadText("12,0,5\r\n0,10,6\r\n").clean()) << "a hand-written file may pass 10";
    EXPECT_EQ(grid.columns(), 13);
    EXPECT_EQ(grid.rows(), 11);

    EXPECT_TRUE(grid.loadText("").clean());
    EXPECT_EQ(gridTexts(grid), std::vector<std::string>{"NODRAW"});
}

TEST(BrushLoading, SkipsLinesThatCannotBeACellAndNamesThemInOneMessage) {
    BrushGrid grid;
    const auto report = grid.loadText(
        "0,0,$0003\r\n"
        "x,1,2\r\n"       // not an integer
        "1,2\r\n"         // two fields
        "\r\n"            // blank lines are not counted
        "1,1,70000\r\n"   // tile id above 65535
        "-1,0,5\r\n"      // negative column
        "0,7168,5\r\n"    // beyond any map
        "2,9,4,$0004\r\n" // four fields: the last row field wins
        "1,2,-1\r\n");
    EXPECT_EQ(report.skippedLines, (std::vector<std::size_t>{2, 3, 5, 6, 7, 9}));
    EXPECT_EQ(brushFileText(grid), "0,0,$0003\r\n2,4,$0004\r\n");
    EXPECT_EQ(brushLoadMessage("Hill", report),
              "Brush \"Hill\": 6 lines were skipped (lines 2, 3, 5, 6, 7, 9). Each line must be column,row,tile: "
              "a column and a row from 0 to 7167 and a tile id from 0 to $FFFF.");
    EXPECT_EQ(brushLoadMessage("Hill", {{4}}).substr(0, 42), "Brush \"Hill\": 1 line was skipped (line 4).");
}

TEST(BrushLoading, AFileThatCannotBeReadLeavesTheGridClearedAtOneByOne) {
    test::TempDir dir;
    BrushGrid grid;
    grid.setCell(1, 1, 5);
    EXPECT_THROW(grid.load(dir / "gone.brs"), IoError);
    EXPECT_EQ(gridTexts(grid), std::vector<std::string>{"NODRAW"});
}

TEST(BrushNames, RefusesNamesThatLeaveTheFolderOrThatAFileSystemRefuses) {
    for (const std::string& name : std::vector<std::string>{"", "   ", ".", "..", "..\\..\\x", "a/b", "a\\b", "a:b", "a<b", "a>b", "a\"b",
                                   "a|b", "a?b", "a*b", "tab\there", std::string("x\x01", 2), "con", "Con.brs",
                                   " nul ", "LPT1", "Hill.", std::string(241, 'a')}) {
        EXPECT_TRUE(typedFileNameProblem(name).has_value()) << '"' << name << '"';
        EXPECT_THROW(checkBrushName(name), Refusal) << '"' << name << '"';
    }
    for (const std::string& name : std::vector<std::string>{"Hill", "Sand dune", " Path ", "a.b", "console", "com10", "\xE9t\xE9",
                                   std::string(240, 'a')})
        EXPECT_FALSE(typedFileNameProblem(name).has_value()) << '"' << name << '"';
    try {
        checkBrushName("..\\..\\x");
        FAIL();
    } catch (const Refusal& e) {
        EXPECT_STREQ(e.what(), "\"..\\..\\x\" cannot be used as a brush name: a name must not contain a folder "
                               "separator (/ or \\).");
    }
}

TEST(BrushFolder, ListsBrushNamesSortedWithoutRegardToCase) {
    test::TempDir dir;
    const fs::path brushes = dir / "brushes";
    EXPECT_TRUE(listBrushNames(brushes).empty()) << "no folder yet";
    fs::create_directories(brushes / "folder.brs");
    for (const char* name : {"hill.brs", "Alpha.BRS", "beta.brs", "notes.txt", ".brs", "Zed.brs.bak", "hill 2.brs"})
        writeText(brushes / name, "");
    EXPECT_EQ(listBrushNames(brushes), (std::vector<std::string>{"Alpha", "beta", "hill", "hill 2"}));
}

TEST(BrushFolder, SavingCreatesTheFolderAndReplacesABrushOfTheSameNameInAnyCase) {
    test::TempDir dir;
    const fs::path brushes = dir / "brushes";
    BrushGrid grid;
    grid.setCell(0, 0, 3);
    EXPECT_EQ(saveBrush(brushes, " Hill ", grid), brushes / "Hill.brs");
    EXPECT_EQ(readText(brushes / "Hill.brs"), "0,0,$0003\r\n");

    grid.setCell(1, 0, 4);
    EXPECT_EQ(saveBrush(brushes, "HILL", grid), brushes / "Hill.brs") << "no twin differing in case";
    EXPECT_EQ(listBrushNames(brushes), std::vector<std::string>{"Hill"});
    EXPECT_EQ(readText(brushes / "Hill.brs"), "0,0,$0003\r\n1,0,$0004\r\n");

    BrushGrid loaded;
    loaded.load(brushFilePath(brushes, "hill"));
    EXPECT_EQ(brushFileText(loaded), brushFileText(grid)) << "loading and saving unchanged writes the same lines";

    EXPECT_THROW(saveBrush(dir / "other", "../escape", grid), Refusal);
    EXPECT_FALSE(fs::exists(dir / "other")) << "a refused name writes nothing";
    EXPECT_FALSE(fs::exists(dir / "escape.brs"));

    test::expectCleanFailureAtEveryStep(dir.path(), [&] { saveBrush(brushes, "Hill", BrushGrid{}); });
}

} // namespace
} // namespace stonereach
