#include <gtest/gtest.h>

#include <fstream>

#include "editor/TileLists.h"
#include "mapdata/Errors.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

void writeText(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

TEST(TileListFile, EachLineGivesARowFromTheValueAfterTheFirstEquals) {
    test::TempDir dir;
    // CR LF, LF and a lone CR all end lines; the key is ignored, also when it
    // holds 8-bit bytes; a line without "=" is all value.
    writeText(dir / "t.lst", "textureid=3\r\ntextureid=$01A4\ncl\xE9=$1a\r=42\r\n65535\r\n");
    EXPECT_EQ(readTileList(dir / "t.lst"), (std::vector<TileListRow>{
                                                 {"0003", 3}, {"01A4", 0x1A4}, {"001A", 0x1A}, {"002A", 42}, {"FFFF", 65535}}));
    // Values outside the tile range keep the texts the palette shows for
    // them: the tile id is read from the first four digits.
    EXPECT_EQ(parseTileList("a=$12345\r\na=-1\r\n", "t.lst"),
              (std::vector<TileListRow>{{"12345", 0x1234}, {"FFFFFFFF", 0xFFFF}}));
    EXPECT_TRUE(parseTileList("", "t.lst").empty());
}

TEST(TileListFile, ALineThatDoesNotConvertNamesTheFileAndTheLine) {
    test::TempDir dir;
    writeText(dir / "textures" / "bad.lst", "textureid=$0003\r\ntextureid=$0004\r\n\r\ntextureid=5\r\n");
    try {
        readTileList(dir / "textures" / "bad.lst");
        FAIL();
    } catch (const FormatError& e) {
        EXPECT_EQ(std::string(e.what()), "Line 3 of the tile list '" + (dir / "textures" / "bad.lst").string() +
                                             "': '' is not a valid integer value");
    }
    EXPECT_THROW(parseTileList("textureid= 3", "t.lst"), FormatError);
    EXPECT_THROW(parseTileList("textureid=$", "t.lst"), FormatError);
    EXPECT_THROW(parseTileList("textureid=$1A=", "t.lst"), FormatError) << "only the first = separates";
}

TEST(TileListFile, AMissingListIsToldApartFromAnUnreadableOne) {
    test::TempDir dir;
    EXPECT_FALSE(readTileListIfPresent(dir / "textures" / "tileids.lst"));
    EXPECT_THROW(readTileList(dir / "textures" / "tileids.lst"), IoError);
    std::filesystem::create_directories(dir / "textures" / "tileids.lst");  // a folder, not a file
    EXPECT_THROW(readTileListIfPresent(dir / "textures" / "tileids.lst"), IoError);
}

TEST(TileListFile, IsWrittenAsTextureIdLinesAndReadBack) {
    test::TempDir dir;
    const std::vector<std::string> items = {"$0003", "$01A4", "$FFFF"};
    writeTileList(dir / "textures" / "mine.lst", items);
    EXPECT_EQ(test::readBytes(dir / "textures" / "mine.lst"),
              test::readBytes([&] {
                  writeText(dir / "expected", "textureid=$0003\r\ntextureid=$01A4\r\ntextureid=$FFFF\r\n");
                  return dir / "expected";
              }()));
    const auto rows = readTileList(dir / "textures" / "mine.lst");
    EXPECT_EQ(findPaletteRow(rows, 0x1A4), 1);
    EXPECT_EQ(findPaletteRow(rows, 0x1A5), -1);
    writeTileList(dir / "textures" / "mine.lst", {});
    EXPECT_TRUE(readTileList(dir / "textures" / "mine.lst").empty());
}

TEST(TileListFile, ListsAreFoundByExtensionAndSortedWithoutRegardToCase) {
    test::TempDir dir;
    for (const char* name : {"tileids.lst", "Coast.lst", "b.LST", "notes.txt", "a.lst.bak", "zz.lst"})
        writeText(dir / "textures" / name, "x=1\r\n");
    std::filesystem::create_directories(dir / "textures" / "folder.lst");
    EXPECT_EQ(listTileListFiles(dir / "textures"),
              (std::vector<std::string>{"b.LST", "Coast.lst", "tileids.lst", "zz.lst"}));
    EXPECT_TRUE(listTileListFiles(dir / "missing").empty());
}

} // namespace
} // namespace stonereach
