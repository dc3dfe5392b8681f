#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "editor/BookmarkFile.h"
#include "mapdata/FaultInjection.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

std::string text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

BookmarkTable sampleTable() {
    BookmarkTable table;
    table[0] = {120, 45, true};
    table[3] = {-7, -2147483647 - 1, false};
    table[9] = {7167, 4095, true};
    return table;
}

TEST(BookmarkFileWriting, WritesTheFiftyThreeLinesWithCrLfTrueFalseAndSignedValues) {
    test::TempDir dir;
    saveBookmarks(dir / "bookmarklist.xml", sampleTable());
    std::string expected = "<?xml version=\"1.0\" ?>\r\n<BookmarkList>\r\n";
    const std::vector<std::vector<std::string>> slots = {
        {"120", "45", "True"}, {"0", "0", "False"}, {"0", "0", "False"}, {"-7", "-2147483648", "False"},
        {"0", "0", "False"},   {"0", "0", "False"}, {"0", "0", "False"}, {"0", "0", "False"},
        {"0", "0", "False"},   {"7167", "4095", "True"}};
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const std::string id = std::to_string(i);
        expected += "  <Bookmark id=\"" + id + "\">\r\n";
        expected += "    <Col id=\"" + id + "\">" + slots[i][0] + "</Col>\r\n";
        expected += "    <Row id=\"" + id + "\">" + slots[i][1] + "</Row>\r\n";
        expected += "    <Enabled id=\"" + id + "\">" + slots[i][2] + "</Enabled>\r\n";
        expected += "  </Bookmark>\r\n";
    }
    expected += "</BookmarkList>\r\n";
    const std::string written = text(test::readBytes(dir / "bookmarklist.xml"));
    EXPECT_EQ(written, expected);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 53);
    EXPECT_NE(written.find("\r\n  </Bookmark>\r\n  <Bookmark id=\"3\">\r\n    <Col id=\"3\">-7</Col>\r\n"
                           "    <Row id=\"3\">-2147483648</Row>\r\n    <Enabled id=\"3\">False</Enabled>\r\n"),
              std::string::npos);
}

TEST(BookmarkFileWriting, ReadsBackWhatItWroteOverADifferentTable) {
    test::TempDir dir;
    saveBookmarks(dir / "bookmarklist.xml", sampleTable());
    BookmarkTable table;
    table.fill({5, 5, true});
    EXPECT_TRUE(loadBookmarks(dir / "bookmarklist.xml", table).clean());
    EXPECT_EQ(table, sampleTable());
}

TEST(BookmarkFileReading, GivesEachTextToTheTagReadLastBeforeIt) {
    BookmarkTable table;
    table[1] = {11, 12, true};
    const auto report = parseBookmarks(
        "<BookmarkList>\n"
        // Character references split one text into pieces; they are joined.
        "<Bookmark><Col>1&#50;3</Col><Row>\n  -4\n</Row><Enabled>True</Enabled></Bookmark>\n"
        // Nothing for slot 1: its fields keep their values.
        "<Bookmark/>\n"
        // Texts after an end tag belong to that tag; ids and other names are ignored.
        "<Bookmark id='9'><Col/>$1F<Other/>junk<Row></Row>17<Enabled>true</Enabled></Bookmark>"
        "<Bookmark><Enabled>True </Enabled></Bookmark>"
        "</BookmarkList>",
        table);
    EXPECT_TRUE(report.clean());
    EXPECT_EQ(table[0], (BookmarkSlot{123, -4, true}));
    EXPECT_EQ(table[1], (BookmarkSlot{11, 12, true}));
    EXPECT_EQ(table[2], (BookmarkSlot{31, 17, false})) << "\"true\" in lower case does not enable";
    EXPECT_EQ(table[3], (BookmarkSlot{0, 0, true})) << "blanks around a text do not count";
}

TEST(BookmarkFileReading, ANonIntegerFieldKeepsItsValueAndTheRestStillLoads) {
    BookmarkTable table;
    table[0] = {3, 4, false};
    const auto report = parseBookmarks(
        "<L><Bookmark><Col>x12</Col>\n<Row>\n  99999999999\n</Row><Enabled>True</Enabled></Bookmark>"
        "<Bookmark><Col>8</Col></Bookmark></L>",
        table);
    EXPECT_EQ(table[0], (BookmarkSlot{3, 4, true}));
    EXPECT_EQ(table[1].col, 8);
    ASSERT_EQ(report.problems.size(), 2u);
    EXPECT_EQ(report.problems[0], "line 1: 'x12' is not a valid integer value; Col of bookmark 0 was left as it was");
    EXPECT_EQ(report.problems[1],
              "line 3: '99999999999' is not a valid integer value; Row of bookmark 0 was left as it was");

    // Seven bad texts: five are listed, two counted.
    std::string many = "<L><Bookmark>";
    for (int i = 0; i < 7; ++i)
        many += "<Row>r" + std::to_string(i) + "</Row>";
    const auto longReport = parseBookmarks(many + "</Bookmark></L>", table);
    EXPECT_EQ(longReport.problems.size(), 5u);
    EXPECT_EQ(longReport.unlistedProblems, 2u);
}

TEST(BookmarkFileReading, AnEleventhBookmarkAndLaterOnesAreIgnored) {
    std::string xml = "<BookmarkList>";
    for (int i = 0; i < 13; ++i)
        xml += "<Bookmark><Col>" + std::to_string(100 + i) + "</Col><Enabled>True</Enabled></Bookmark>";
    xml += "</BookmarkList>";
    BookmarkTable table;
    EXPECT_TRUE(parseBookmarks(xml, table).clean());
    for (int i = 0; i < BookmarkCount; ++i)
        EXPECT_EQ(table[static_cast<std::size_t>(i)], (BookmarkSlot{100 + i, 0, true}));
}

TEST(BookmarkFileReading, ADamagedFileKeepsWhatWasReadBeforeTheDamage) {
    BookmarkTable table;
    const auto report = parseBookmarks(
        "<BookmarkList>\r\n<Bookmark><Col>5</Col><Row>6</Row><Enabled>True</Enabled></Bookmark>\r\n"
        "<Bookmark><Col>7</Col><Row>125</Rox></Bookmark>\r\n",
        table);
    EXPECT_EQ(table[0], (BookmarkSlot{5, 6, true}));
    EXPECT_EQ(table[1], (BookmarkSlot{7, 0, false})) << "the text cut off by the damage is not used";
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_EQ(report.problems[0],
              "line 3: the file is damaged (mismatched tag); the bookmarks before that point were loaded");
}

TEST(BookmarkFileReading, AMissingOrUnreadableFileLeavesTheTableAsItWas) {
    test::TempDir dir;
    const auto path = dir / "bookmarklist.xml";
    BookmarkTable table;
    EXPECT_TRUE(loadBookmarks(path, table).clean()) << "a first run has no file";
    EXPECT_EQ(table, BookmarkTable{});

    saveBookmarks(path, sampleTable());
    test::FailingDevice device(0, EACCES, {IoOperation::Read});
    const ScopedFaultInjector guard(device);
    const auto report = loadBookmarks(path, table);
    EXPECT_EQ(table, BookmarkTable{});
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_NE(report.problems[0].find(path.string()), std::string::npos) << report.problems[0];
    EXPECT_NE(report.problems[0].find("no bookmarks were loaded"), std::string::npos) << report.problems[0];
}

TEST(BookmarkFileWriting, AFailedSaveLeavesThePreviousFile) {
    test::TempDir dir;
    saveBookmarks(dir / "bookmarklist.xml", BookmarkTable{});
    test::expectCleanFailureAtEveryStep(dir.path(), [&] { saveBookmarks(dir / "bookmarklist.xml", sampleTable()); });
}

} // namespace
} // namespace stonereach
