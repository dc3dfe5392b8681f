#include <gtest/gtest.h>

#include <fstream>

#include "editor/OptionsModel.h"
#include "mapdata/Errors.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

namespace fs = std::filesystem;

void writeText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string readText(const fs::path& path) {
    const auto bytes = test::readBytes(path);
    return {bytes.begin(), bytes.end()};
}

class OptionsOnProgramDirectory : public ::testing::Test {
protected:
    test::TempDir home;
    fs::path groupFile = home / "tilelist.xml";
    fs::path textures = home / "textures";

    void SetUp() override {
        writeText(groupFile,
                  "<?xml version=\"1.0\" ?>\r\n<TileList>\r\n"
                  "  <Tile id=\"0\">\r\n    <Name id=\"0\">Grass</Name>\r\n"
                  "    <TileId id=\"0\">$0003</TileId>\r\n    <TileId id=\"1\">$011A</TileId>\r\n  </Tile>\r\n"
                  "  <Tile id=\"1\">\r\n    <Name id=\"1\">Odd</Name>\r\n"
                  "    <TileId id=\"0\"> 5</TileId>\r\n  </Tile>\r\n</TileList>\r\n");
        writeText(textures / "tileids.lst", "textureid=3\r\ntextureid=$01A4\r\nx=282\r\n");
        writeText(textures / "coast.lst", "textureid=$0016\r\n");
        writeText(textures / "Beach.LST", "");
    }
};

TEST_F(OptionsOnProgramDirectory, OpensOnTheGroupsTheStartListAndTheListNames) {
    const OptionsModel model = OptionsModel::open(home.path());
    EXPECT_EQ(model.groups().items(),
              (std::vector<SelectionGroupRow>{{"Grass", "$0003,$011A"}, {"Odd", "\" 5\""}}));
    EXPECT_EQ(model.textureEntries().items(), (std::vector<std::string>{"$0003", "$01A4", "$011A"}));
    EXPECT_EQ(model.textureListName(), "tileids.lst");
    EXPECT_EQ(model.textureListNames(), (std::vector<std::string>{"Beach.LST", "coast.lst", "tileids.lst"}));
    EXPECT_EQ(model.groupsNote(), "");
    EXPECT_EQ(model.texturesNote(), "");
    EXPECT_FALSE(model.groups().selected());
    EXPECT_FALSE(model.textureEntries().selected());
}

TEST_F(OptionsOnProgramDirectory, OkWritesTheGroupsAndTheListBeingEdited) {
    OptionsModel model = OptionsModel::open(home.path());
    model.groups().select(0);
    model.groups().replaceSelected({"Grass", "$0003,$0004,\r\n"});
    model.groups().moveSelectedDown();
    model.groups().append({"Sand & stone", "$0016,$00DC,"});
    auto& entries = model.textureEntries();
    entries.select(1);
    entries.insertBeforeSelected("$");      // typed texts stay as typed
    entries.replaceSelected("$1a4");
    model.write();
    EXPECT_EQ(readText(groupFile),
              "<?xml version=\"1.0\" ?>\r\n<TileList>\r\n"
              "  <Tile id=\"0\">\r\n    <Name id=\"0\">Odd</Name>\r\n"
              "    <TileId id=\"0\"> 5</TileId>\r\n  </Tile>\r\n"
              "  <Tile id=\"1\">\r\n    <Name id=\"1\">Grass</Name>\r\n"
              "    <TileId id=\"0\">$0003</TileId>\r\n    <TileId id=\"1\">$0004</TileId>\r\n  </Tile>\r\n"
              "  <Tile id=\"2\">\r\n    <Name id=\"2\">Sand &amp; stone</Name>\r\n"
              "    <TileId id=\"0\">$0016</TileId>\r\n    <TileId id=\"1\">$00DC</TileId>\r\n  </Tile>\r\n"
              "</TileList>\r\n");
    EXPECT_EQ(readText(textures / "tileids.lst"),
              "textureid=$0003\r\ntextureid=$\r\ntextureid=$1a4\r\ntextureid=$011A\r\n");

    // Opened again, everything reads back as written.
    const OptionsModel again = OptionsModel::open(home.path());
    EXPECT_EQ(again.groups().items(), (std::vector<SelectionGroupRow>{
                                          {"Odd", "\" 5\""}, {"Grass", "$0003,$0004"}, {"Sand & stone", "$0016,$00DC"}}));
}

TEST_F(OptionsOnProgramDirectory, ANewListIsWrittenAsAnEmptyFileOnlyByOk) {
    OptionsModel model = OptionsModel::open(home.path());
    model.addTextureList("fresh.lst");
    EXPECT_TRUE(model.textureEntries().items().empty());
    EXPECT_EQ(model.textureListName(), "fresh.lst");
    model.addTextureList("fresh.lst");
    EXPECT_EQ(model.textureListNames(),
              (std::vector<std::string>{"Beach.LST", "coast.lst", "tileids.lst", "fresh.lst"}));
    EXPECT_FALSE(fs::exists(textures / "fresh.lst")) << "nothing before OK";
    model.write();
    EXPECT_EQ(readText(textures / "fresh.lst"), "");
    EXPECT_EQ(readText(textures / "tileids.lst"), "textureid=3\r\ntextureid=$01A4\r\nx=282\r\n")
        << "only the list being edited is written";

    model.chooseTextureList("coast.lst");
    EXPECT_EQ(model.textureEntries().items(), std::vector<std::string>{"$0016"});
    EXPECT_THROW(model.addTextureList("..\\tilelist.xml"), Refusal);
    EXPECT_THROW(model.chooseTextureList("../tilelist.xml"), Refusal);
    EXPECT_EQ(model.textureListName(), "coast.lst");
}

TEST(OptionsOnFreshDirectory, MissingFilesLeaveEmptyListsWithANoteAndOkCreatesTheFolder) {
    test::TempDir home;
    OptionsModel model = OptionsModel::open(home.path());
    EXPECT_TRUE(model.groups().items().empty());
    EXPECT_TRUE(model.textureEntries().items().empty());
    EXPECT_EQ(model.groupsNote(), "'" + (home / "tilelist.xml").string() + "' was not found.");
    EXPECT_EQ(model.texturesNote(), "'" + (home / "textures" / "tileids.lst").string() + "' was not found.");
    model.textureEntries().append("$0003");
    model.write();
    EXPECT_EQ(readText(home / "textures" / "tileids.lst"), "textureid=$0003\r\n");
    EXPECT_EQ(readText(home / "tilelist.xml"), "<?xml version=\"1.0\" ?>\r\n<TileList>\r\n</TileList>\r\n");
}

TEST_F(OptionsOnProgramDirectory, AFileThatCouldNotBeReadWholeIsRewrittenOnlyWhenItsListChanges) {
    const std::string damagedGroups = "<TileList><Tile><Name>A</Name><TileId>$1</TileId></Tile><Tile><Name>B</Nam";
    const std::string badList = "textureid=3\r\ntextureid=three\r\n";
    writeText(groupFile, damagedGroups);
    writeText(textures / "tileids.lst", badList);

    OptionsModel model = OptionsModel::open(home.path());
    EXPECT_EQ(model.groups().items(), (std::vector<SelectionGroupRow>{{"A", "$1"}}));
    EXPECT_NE(model.groupsNote().find("tilelist.xml"), std::string::npos) << model.groupsNote();
    EXPECT_TRUE(model.textureEntries().items().empty());
    EXPECT_NE(model.texturesNote().find("tileids.lst"), std::string::npos) << model.texturesNote();
    model.write();
    EXPECT_EQ(readText(groupFile), damagedGroups);
    EXPECT_EQ(readText(textures / "tileids.lst"), badList);

    EXPECT_THROW(model.chooseTextureList("missing.lst"), IoError);
    EXPECT_TRUE(model.textureEntries().items().empty());
    model.write();
    EXPECT_FALSE(fs::exists(textures / "missing.lst"));

    model.groups().append({"C", "$3"});
    model.chooseTextureList("coast.lst");
    model.write();
    EXPECT_EQ(OptionsModel::open(home.path()).groups().items(),
              (std::vector<SelectionGroupRow>{{"A", "$1"}, {"C", "$3"}}));
}

} // namespace
} // namespace stonereach
