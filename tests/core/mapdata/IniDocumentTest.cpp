#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mapdata/IniDocument.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

TEST(IniDocumentRead, FindsKeysWithoutRegardToCaseOrBlanks) {
    const auto doc = IniDocument::parse("[0]\r\nX = 12\r\ny=7\r\n[Section Two]\nID=01 1A\n");
    EXPECT_EQ(doc.read("0", "x", "0"), "12");
    EXPECT_EQ(doc.read("0", "Y", "0"), "7");
    EXPECT_EQ(doc.read("section two", "id", ""), "01 1A");
}

TEST(IniDocumentRead, MissingSectionsAndKeysGiveTheDefault) {
    const auto doc = IniDocument::parse("[0]\nX=1\n");
    EXPECT_EQ(doc.read("0", "Z", "0"), "0");
    EXPECT_EQ(doc.read("1", "X", "0"), "0");
    EXPECT_EQ(doc.read("0", "ID", ""), "");
}

TEST(IniDocumentRead, FirstOfDuplicateNamesWinsAndStrayLinesAreIgnored) {
    const auto doc = IniDocument::parse("X=before any section\n; comment\n[a]\nk=1\nk=2\nnot a pair\n[A]\nk=3\nj=4\n");
    EXPECT_EQ(doc.read("a", "k", ""), "1");
    EXPECT_EQ(doc.read("a", "j", ""), "4") << "a repeated section continues the first";
}

TEST(IniDocumentSections, CountsLinesThatStartWithBracketAndEndWithBracketAsTheyStand) {
    const auto doc = IniDocument::parse("[0]\r\nX=1\r\n[1]\r\n [2]\r\n[3] \r\n[x]\r\n[unclosed\r\n");
    // " [2]" and "[3] " do not count; "[x]" does, whatever its name.
    EXPECT_EQ(doc.sectionLineCount(), 3u);
    EXPECT_EQ(IniDocument::parse("").sectionLineCount(), 0u);
    EXPECT_EQ(IniDocument::parse("no sections here\n").sectionLineCount(), 0u);
}

TEST(IniDocumentWrite, UpdatesInPlaceAndAppendsNewSectionsAndKeys) {
    auto doc = IniDocument::parse("[0]\r\nX=1\r\nY=2\r\n");
    doc.write("0", "y", "5");
    doc.write("1", "X", "9");
    EXPECT_EQ(doc.text(), "[0]\r\nX=1\r\nY=5\r\n[1]\r\nX=9\r\n");
    EXPECT_EQ(doc.sectionLineCount(), 2u);
}

// Twenty sections, so the names are found through the index as in a long list.
TEST(IniDocumentKeys, ReadAndWriteSeveralKeysOfASectionAsSingleCallsDo) {
    std::string text;
    for (int i = 0; i < 20; ++i)
        text += "[S" + std::to_string(i) + "]\r\nX=" + std::to_string(i) + "\r\nY=y" + std::to_string(i) + "\r\n";
    auto doc = IniDocument::parse(text);
    const IniDocument::KeyValue keys[] = {{"x", "-"}, {"Z", "-"}, {"y", "-"}};
    EXPECT_EQ(doc.read("s17", keys), (std::vector<std::string>{"17", "-", "y17"}));
    EXPECT_FALSE(doc.read("S20", keys).has_value());

    const IniDocument::KeyValue values[] = {{"x", "new"}, {"W", "w"}};
    doc.write("s3", values);
    doc.write("T", values);
    EXPECT_EQ(doc.read("S3", "X", ""), "new");
    EXPECT_EQ(doc.read("S3", "w", ""), "w");
    EXPECT_EQ(doc.sectionLineCount(), 21u) << "one new section";
    EXPECT_TRUE(doc.text().ends_with("[S19]\r\nX=19\r\nY=y19\r\n[T]\r\nx=new\r\nW=w\r\n"));
}

TEST(IniDocumentFile, SavesTheWholeDocumentSoOnlyItsSectionsRemain) {
    test::TempDir dir;
    const auto path = dir / "list.bnp";
    IniDocument big;
    for (int i = 0; i < 5; ++i)
        big.write(std::to_string(i), "X", std::to_string(i));
    big.save(path);
    IniDocument small;
    small.write("0", "X", "42");
    small.save(path);

    const auto loaded = IniDocument::load(path);
    EXPECT_EQ(loaded.sectionLineCount(), 1u);
    EXPECT_EQ(loaded.read("0", "X", ""), "42");
    EXPECT_EQ(loaded.read("4", "X", "gone"), "gone");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary left";
}

TEST(IniDocumentFile, AMissingFileIsEmpty) {
    test::TempDir dir;
    EXPECT_EQ(IniDocument::load(dir / "none.def").sectionLineCount(), 0u);
}

} // namespace
} // namespace stonereach
