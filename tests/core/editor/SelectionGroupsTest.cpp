#include <gtest/gtest.h>

#include <cerrno>

#include "editor/SelectionGroups.h"
#include "mapdata/Errors.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

std::string fileText(const std::filesystem::path& path) {
    const auto bytes = test::readBytes(path);
    return {bytes.begin(), bytes.end()};
}

std::vector<TTileNamed> parse(std::string_view xml) {
    const auto read = parseSelectionGroups(xml, "tilelist.xml");
    EXPECT_FALSE(read.problem) << *read.problem;
    return read.groups;
}

TEST(SelectionGroupFile, IsWrittenLineByLineInTheFixedLayout) {
    test::TempDir dir;
    const std::vector<TTileNamed> groups = {{"Grass", {"$0003", "4"}}, {"Bare", {}}};
    writeSelectionGroups(dir / "tilelist.xml", groups);
    EXPECT_EQ(fileText(dir / "tilelist.xml"),
              "<?xml version=\"1.0\" ?>\r\n"
              "<TileList>\r\n"
              "  <Tile id=\"0\">\r\n"
              "    <Name id=\"0\">Grass</Name>\r\n"
              "    <TileId id=\"0\">$0003</TileId>\r\n"
              "    <TileId id=\"1\">4</TileId>\r\n"
              "  </Tile>\r\n"
              "  <Tile id=\"1\">\r\n"
              "    <Name id=\"1\">Bare</Name>\r\n"
              "  </Tile>\r\n"
              "</TileList>\r\n");
    EXPECT_EQ(readSelectionGroups(dir / "tilelist.xml").groups, groups);
}

TEST(SelectionGroupFile, NamesWithMarkupCharactersAndEightBitBytesSurviveTheRoundTrip) {
    test::TempDir dir;
    // Latin-1 bytes, the markup characters, and texts long enough that the
    // parser hands them over in several pieces.
    const std::string longName = std::string(5000, 'x') + "&" + std::string(70000, 'y') + "\xE9";
    const std::vector<TTileNamed> groups = {
        {"Sand & Rock", {"$0016", "<$17>"}},
        {"H\xF6hle <d\xE9j\xE0 vu> \xA9", {"1&2"}},
        {longName, {"$01A4"}},
        {"Sand & Rock", {"$0099"}},  // the same name twice: two groups
        {"tab\there \x80\x9F\xFF", {"3"}},
    };
    writeSelectionGroups(dir / "tilelist.xml", groups);
    EXPECT_NE(fileText(dir / "tilelist.xml").find("<Name id=\"0\">Sand &amp; Rock</Name>"), std::string::npos);
    EXPECT_NE(fileText(dir / "tilelist.xml").find("<TileId id=\"1\">&lt;$17&gt;</TileId>"), std::string::npos);
    const auto read = readSelectionGroups(dir / "tilelist.xml");
    EXPECT_FALSE(read.problem);
    EXPECT_EQ(read.groups, groups);

    // A line break or control character in a name cannot stand in the file
    // (it would break the layout or the XML); it is written as a blank.
    writeSelectionGroups(dir / "tilelist.xml", std::vector<TTileNamed>{{"a\r\nb\x01", {"1"}}});
    EXPECT_EQ(readSelectionGroups(dir / "tilelist.xml").groups, (std::vector<TTileNamed>{{"a  b ", {"1"}}}));
}

TEST(SelectionGroupFile, IsReadByItsTagsAndCharacterDataOnly) {
    // Another root, attributes, extra elements and blanks do not matter; a
    // group without a Name takes the name read last; a Name outside a group
    // counts for the next group; empty elements give no text at all.
    EXPECT_EQ(parse("<?xml version=\"1.0\"?>\n<Groups a='1'>\n"
                    " <Tile><Other>9</Other><Name>First</Name><TileId>1</TileId><TileId>$2</TileId></Tile>\n"
                    " <Tile x=\"y\"><TileId>3</TileId></Tile>\n"
                    " <Name>Third</Name><Tile><TileId></TileId><Name></Name></Tile>\n"
                    " <Tile><TileId> 7 </TileId><Name>A&amp;B &#x41;&#233;</Name></Tile>\n"
                    "</Groups>"),
              (std::vector<TTileNamed>{{"First", {"1", "$2"}},
                                       {"First", {"3"}},
                                       {"Third", {}},
                                       {"A&B A\xE9", {" 7 "}}}));
    // Tile ids outside a Tile element gather into the next group, as the
    // working list is cleared only at a Tile's start.
    EXPECT_EQ(parse("<L><Tile><Name>n</Name></Tile><TileId>5</TileId></L>"),
              (std::vector<TTileNamed>{{"n", {}}}));
    // A character beyond Latin-1 cannot be kept as a byte.
    EXPECT_EQ(parse("<L><Tile><Name>&#x263A;!</Name></Tile></L>").front().TileName, "?!");
}

TEST(SelectionGroupFile, AFileThatIsNotWellFormedKeepsTheGroupsBeforeTheFault) {
    const auto read = parseSelectionGroups("<TileList>\r\n"
                                           "  <Tile><Name>One</Name><TileId>1</TileId></Tile>\r\n"
                                           "  <Tile><Name>Sand & Rock</Name><TileId>2</TileId></Tile>\r\n"
                                           "  <Tile><Name>Three</Name></Tile>\r\n"
                                           "</TileList>\r\n",
                                           "/home/u/tilelist.xml");
    EXPECT_EQ(read.groups, (std::vector<TTileNamed>{{"One", {"1"}}}));
    ASSERT_TRUE(read.problem);
    EXPECT_EQ(*read.problem, "The selection groups in '/home/u/tilelist.xml' are not well-formed at line 3: not "
                             "well-formed (invalid token). The groups after that point were not read.");

    EXPECT_TRUE(parseSelectionGroups("", "t.xml").problem) << "an empty file is not XML";
    EXPECT_TRUE(parseSelectionGroups("<a><Tile></Tile>", "t.xml").problem) << "the end is missing";
    EXPECT_EQ(parseSelectionGroups("<a><Tile></Tile>", "t.xml").groups.size(), 1u);
}

TEST(SelectionGroupFile, AMissingFileGivesNoGroupsAndAFailedSaveKeepsTheOldFile) {
    test::TempDir dir;
    const auto missing = readSelectionGroups(dir / "tilelist.xml");
    EXPECT_TRUE(missing.groups.empty());
    EXPECT_FALSE(missing.problem);

    const std::vector<TTileNamed> old = {{"Old", {"1"}}};
    writeSelectionGroups(dir / "tilelist.xml", old);
    const std::vector<TTileNamed> changed = {{"New", {"2"}}};
    test::expectCleanFailureAtEveryStep(dir.path(), [&] { writeSelectionGroups(dir / "tilelist.xml", changed); });
    EXPECT_EQ(readSelectionGroups(dir / "tilelist.xml").groups, old);

    // The folder is made when missing.
    writeSelectionGroups(dir / "home" / "tilelist.xml", changed);
    EXPECT_EQ(readSelectionGroups(dir / "home" / "tilelist.xml").groups, changed);
}

} // namespace
} // namespace stonereach
