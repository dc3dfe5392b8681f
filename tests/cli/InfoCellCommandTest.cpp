#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RunCli.h"
#include "mapdata/MapFile.h"
#include "sample/SampleMap.h"
#include "sample/SampleWorld.h"

namespace stonereach {
namespace {

using ::testing::HasSubstr;
using test::runCli;

// One Tokuno-size sample map shared by the tests of this file; each test that
// writes works on its own copy.
class TokunoMap : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new test::TempDir;
        sample::writeSampleMap(*dir / "map4.mul", *sample::findVariantByName("Tokuno"), 3);
    }
    static void TearDownTestSuite() { delete dir; }

    std::string copy(const std::string& name) {
        std::filesystem::create_directories(*dir / "copies");
        const auto target = *dir / "copies" / name;
        std::filesystem::copy_file(*dir / "map4.mul", target, std::filesystem::copy_options::overwrite_existing);
        return target.string();
    }

    static std::string map() { return (*dir / "map4.mul").string(); }
    static test::TempDir* dir;
    const MapGeometry tokuno{1448, 1448, 181};
};
test::TempDir* TokunoMap::dir = nullptr;

TEST_F(TokunoMap, InfoNamesTheVariantAndSize) {
    const auto r = runCli({"info", map()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "variant: Tokuno\nsize: 1448x1448\n");
}

TEST_F(TokunoMap, InfoSaysNoneForUnknownNamesSizesAndMissingFiles) {
    const auto renamed = copy("map3.mul");  // Tokuno's size under another map's name
    for (const std::string& path : {renamed, (dir->path() / "nothing" / "map0.mul").string()}) {
        const auto r = runCli({"info", path});
        EXPECT_EQ(r.status, 1) << path;
        EXPECT_EQ(r.out, "variant: None\nsize: None\n") << path;
    }
}

TEST_F(TokunoMap, CellPrintsTileAndAltitude) {
    const MapFile file(map(), File::Mode::Read);
    const MapCell expected = file.readCell(700, 1447, tokuno);
    const auto r = runCli({"cell", map(), "700", "1447"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::to_string(expected.tile) + " " + std::to_string(expected.z) + "\n");
    // Hexadecimal coordinates in the program's integer syntax.
    EXPECT_EQ(runCli({"cell", map(), "$2BC", "$5A7"}).out, r.out);
}

TEST_F(TokunoMap, CellSetWritesNegativeAltitudesAndOnlyThatCell) {
    const auto path = copy("map4.mul");
    const auto before = test::readBytes(path);
    const auto r = runCli({"cell", path, "10", "20", "--set", "3", "-5"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "3 -5\n");
    const auto after = test::readBytes(path);
    ASSERT_EQ(after.size(), before.size());
    const auto at = cellOffset(10, 20, 181);
    EXPECT_EQ(after[at], 3);
    EXPECT_EQ(after[at + 1], 0);
    EXPECT_EQ(after[at + 2], 0xFB);
    std::size_t changed = 0;
    for (std::size_t i = 0; i < after.size(); ++i)
        changed += after[i] != before[i];
    EXPECT_LE(changed, 3u);
    // Negative values before the positionals parse as well.
    EXPECT_EQ(runCli({"cell", path, "--set", "$1F4", "-128", "10", "20"}).out, "500 -128\n");
}

TEST_F(TokunoMap, CellRefusesWhatLiesOutsideTheMapOrItsRanges) {
    const auto path = copy("map4.mul");
    const auto before = test::readBytes(path);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"cell", path, "1448", "0"},
             {"cell", path, "0", "1448"},
             {"cell", path, "-1", "5"},
             {"cell", path, "5", "-1", "--set", "3", "0"},
             {"cell", path, "5", "5", "--set", "65536", "0"},
             {"cell", path, "5", "5", "--set", "3", "128"},
             {"cell", path, "5", "5", "--set", "3", "-129"},
             {"cell", path, "abc", "5"},
         }) {
        const auto r = runCli(args);
        EXPECT_EQ(r.status, 1) << args[2] << " " << args[3];
        EXPECT_THAT(r.err, HasSubstr("stonereach-cli: "));
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(test::readBytes(path), before) << "refused writes change nothing";
    EXPECT_THAT(runCli({"cell", path, "1448", "0"}).err, HasSubstr("outside the map"));
    EXPECT_THAT(runCli({"cell", path, "abc", "5"}).err, HasSubstr("'abc' is not a valid integer value"));
}

TEST_F(TokunoMap, CellRefusesUnknownMapsAndBadUsage) {
    const auto renamed = copy("map0.mul");
    EXPECT_EQ(runCli({"cell", renamed, "0", "0"}).status, 1);
    EXPECT_EQ(runCli({"cell", map(), "0"}).status, 2);
    EXPECT_EQ(runCli({"cell", map(), "0", "0", "--set", "3"}).status, 2);
    EXPECT_EQ(runCli({}).status, 2);
}

} // namespace
} // namespace stonereach
