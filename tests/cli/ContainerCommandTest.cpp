// The command-line tool on maps and art kept in UOP containers: every
// whole-file command gives on a container the bytes it gives on the same map
// as a .mul; convert, info and sample --uop.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RunCli.h"
#include "mapdata/ClientFiles.h"
#include "sample/SampleClientFiles.h"
#include "sample/SampleMap.h"
#include "sample/SampleTileSet.h"
#include "sample/SampleWorld.h"
#include "support/TestContainer.h"

namespace stonereach {
namespace {

using ::testing::HasSubstr;
using test::runCli;

constexpr std::uint64_t FeluccaBytes = 77070336;

// One sample world (map, statics and client files) with its map also as a
// container shaped as clients ship them, and a Tokuno map in both forms.
class ContainerWorld : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        ASSERT_EQ(runCli({"sample", at("orig"), "--variant", "Felucca+Trammel"}).status, 0);
        test::ContainerShape shape;
        shape.shuffled = true;
        shape.entryHeaderLength = 136;
        test::TestContainer shipped(*dir_ / "orig/map0LegacyMUL.uop", FeluccaBytes + 196, shape);
        shipped.write();
        shipped.paint(0, test::readBytes(*dir_ / "orig/map0.mul"));
        shipped.paint(FeluccaBytes, std::vector<std::uint8_t>(196, 0x5C));

        std::filesystem::create_directories(*dir_ / "uopclient");
        sample::writeSampleClientFiles(*dir_ / "uopclient", 1, sample::SampleArtForm::Container);
        for (const char* folder : {"tokuno", "conv", "big/back", "copy/back", "out", "mod"})
            std::filesystem::create_directories(*dir_ / folder);
        sample::writeSampleMap(*dir_ / "tokuno/map4.mul", *sample::findVariantByName("Tokuno"), 6);
        ASSERT_EQ(runCli({"convert", at("tokuno/map4.mul"), at("tokuno/map4LegacyMUL.uop")}).status, 0);
    }
    static void TearDownTestSuite() { delete dir_; }

    static std::string at(const std::string& name) { return (*dir_ / name).string(); }
    static std::vector<std::uint8_t> bytes(const std::string& name) { return test::readBytes(*dir_ / name); }
    static void copy(const std::string& from, const std::string& to) {
        std::filesystem::create_directories((*dir_ / to).parent_path());
        std::filesystem::copy_file(*dir_ / from, *dir_ / to, std::filesystem::copy_options::overwrite_existing);
    }
    static void expectOk(const test::CliResult& r) { EXPECT_EQ(r.status, 0) << r.err; }

    static test::TempDir* dir_;
};
test::TempDir* ContainerWorld::dir_ = nullptr;

TEST_F(ContainerWorld, DiffApplyCopyAndPatchGiveTheSameBytesOnAContainer) {
    // The same cells changed in both forms of the modified map.
    for (const char* form : {"map0.mul", "map0LegacyMUL.uop"}) {
        copy(std::string("orig/") + form, std::string("mod/") + form);
        for (const auto& [x, y] : {std::pair{"0", "0"}, {"3000", "2047"}, {"6143", "4095"}, {"1000", "3800"}})
            expectOk(runCli({"cell", at(std::string("mod/") + form), x, y, "--set", "77", "-9"}));
    }
    for (const char* name : {"staidx0.mul", "statics0.mul"})
        copy(std::string("orig/") + name, std::string("mod/") + name);
    const auto set = [&](const char* folder, const char* map) {
        return std::vector<std::string>{at(std::string(folder) + "/staidx0.mul"),
                                        at(std::string(folder) + "/statics0.mul"), at(std::string(folder) + "/" + map)};
    };
    const auto diff = [&](const char* map, const char* patch) {
        std::vector<std::string> args{"diff", "--quiet"};
        for (const auto& s : {set("orig", map), set("mod", map)})
            args.insert(args.end(), s.begin(), s.end());
        args.push_back(at(patch));
        expectOk(runCli(args));
    };
    diff("map0.mul", "mul.bsr");
    diff("map0LegacyMUL.uop", "uop.bsr");
    EXPECT_EQ(bytes("uop.bsr"), bytes("mul.bsr"));

    // Applied to the original map in each form: the container ends up as the
    // modified container, byte for byte, its structure untouched.
    for (const char* form : {"map0.mul", "map0LegacyMUL.uop"}) {
        copy(std::string("orig/") + form, std::string("out/") + form);
        std::vector<std::string> args{"apply", "--quiet"};
        for (const auto& s : {set("orig", form), set("out", form)})
            args.insert(args.end(), s.begin(), s.end());
        args.push_back(at("mul.bsr"));
        expectOk(runCli(args));
        EXPECT_TRUE(bytes(std::string("out/") + form) == bytes(std::string("mod/") + form)) << form;
    }

    // Copied from a Tokuno map into each, the source and the target of either form.
    copy("orig/map0.mul", "copy/map0.mul");
    copy("orig/map0LegacyMUL.uop", "copy/map0LegacyMUL.uop");
    expectOk(runCli({"copy", "-q", at("tokuno/map4.mul"), "5", "3", "1400", "1447", at("copy/map0.mul"), "4000", "9"}));
    expectOk(runCli({"copy", "-q", at("tokuno/map4LegacyMUL.uop"), "5", "3", "1400", "1447",
                     at("copy/map0LegacyMUL.uop"), "4000", "9"}));
    std::ofstream(*dir_ / "fix.bnp") << "[0]\r\nX=4001\r\nY=10\r\nZ=5\r\nID=01 1A\r\n[1]\r\nX=6143\r\nY=4095\r\nZ=-2\r\n";
    expectOk(runCli({"patch", "-q", at("copy/map0.mul"), at("fix.bnp")}));
    expectOk(runCli({"patch", "-q", at("copy/map0LegacyMUL.uop"), at("fix.bnp")}));
    expectOk(runCli({"convert", "-q", at("copy/map0LegacyMUL.uop"), at("copy/back/map0.mul")}));
    EXPECT_TRUE(bytes("copy/back/map0.mul") == bytes("copy/map0.mul"));
    EXPECT_EQ(runCli({"cell", at("copy/map0LegacyMUL.uop"), "4001", "10"}).out, "282 5\n");
}

TEST_F(ContainerWorld, EnlargeOverviewRenderAndTileGiveTheSameBytesOnContainers) {
    expectOk(runCli({"enlarge", "-q", at("tokuno/map4.mul"), at("big/map0.mul")}));
    expectOk(runCli({"enlarge", "-q", at("tokuno/map4LegacyMUL.uop"), at("big/other.mul")}));
    EXPECT_TRUE(bytes("big/other.mul") == bytes("big/map0.mul"));
    const auto r = runCli({"enlarge", "-q", at("tokuno/map4.mul"), at("big/map0LegacyMUL.uop")});
    expectOk(r);
    EXPECT_THAT(r.err, HasSubstr("--number-blocks")) << "an enlarged map's block headers are all zero";
    expectOk(runCli({"convert", "-q", at("big/map0LegacyMUL.uop"), at("big/back/map0.mul")}));
    EXPECT_TRUE(bytes("big/back/map0.mul") == bytes("big/map0.mul"));

    expectOk(runCli({"overview", at("orig/map0.mul"), at("orig"), at("mul.png")}));
    expectOk(runCli({"overview", at("orig/map0LegacyMUL.uop"), at("orig"), at("uop.png")}));
    EXPECT_EQ(bytes("uop.png"), bytes("mul.png"));

    // The map view's drawing on a client whose art is the container alone.
    expectOk(runCli({"render", at("orig/map0.mul"), at("orig"), at("view-mul.png"), "--x", "2990", "--y", "2040",
                     "--cols", "24", "--rows", "16", "--altitude"}));
    expectOk(runCli({"render", at("orig/map0LegacyMUL.uop"), at("uopclient"), at("view-uop.png"), "--x", "2990",
                     "--y", "2040", "--cols", "24", "--rows", "16", "--altitude"}));
    EXPECT_EQ(bytes("view-uop.png"), bytes("view-mul.png"));
    ASSERT_FALSE(std::filesystem::exists(*dir_ / "uopclient/artidx.mul"));
    for (const sample::SampleTile& tile : sample::sampleTiles()) {
        if (tile.look != sample::TileLook::ArtClassic && tile.look != sample::TileLook::ArtExact)
            continue;
        const std::string id = std::to_string(tile.id);
        const auto a = runCli({"tile", at("orig"), id, at("tile-mul.png")});
        const auto b = runCli({"tile", at("uopclient"), id, at("tile-uop.png")});
        expectOk(b);
        EXPECT_EQ(b.out.substr(0, b.out.find(" -> ")), a.out.substr(0, a.out.find(" -> ")));
        EXPECT_EQ(bytes("tile-uop.png"), bytes("tile-mul.png")) << "tile " << id;
    }
}

TEST_F(ContainerWorld, InfoTellsHowAContainerIsMade) {
    auto r = runCli({"info", at("orig/map0LegacyMUL.uop")});
    expectOk(r);
    EXPECT_EQ(r.out, "variant: Felucca+Trammel\nsize: 6144x4096\n"
                     "container: version 5, 97 entries, 136-byte entry headers\ntrailing block: yes\n");
    r = runCli({"info", at("tokuno/map4LegacyMUL.uop")});
    expectOk(r);
    EXPECT_EQ(r.out, "variant: Tokuno\nsize: 1448x1448\ncontainer: version 5, 8 entries, 12-byte entry headers\n");

    std::filesystem::create_directories(*dir_ / "broken");
    test::writeBytes(*dir_ / "broken/map2LegacyMUL.uop", std::vector<std::uint8_t>(64, 0));
    r = runCli({"info", at("broken/map2LegacyMUL.uop")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "variant: None\nsize: None\n");
    EXPECT_THAT(r.err, HasSubstr("map2LegacyMUL.uop' cannot be used as a UOP container: it does not begin"));
}

TEST_F(ContainerWorld, ConvertWarnsOfUnnumberedBlocksAndRoundTrips) {
    auto r = runCli({"convert", at("tokuno/map4.mul"), at("conv/map4xLegacyMUL.uop")});
    expectOk(r);
    EXPECT_EQ(r.out, "Map written: 6421156 bytes in 8 entries\n");
    // One line that says what to do.
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_THAT(r.err, HasSubstr("warning:"));
    EXPECT_THAT(r.err, HasSubstr("--number-blocks"));

    r = runCli({"convert", "--number-blocks", at("tokuno/map4.mul"), at("conv/map4LegacyMUL.uop")});
    expectOk(r);
    EXPECT_EQ(r.err, "");

    r = runCli({"convert", "-q", at("conv/map4xLegacyMUL.uop"), at("conv/map4.mul")});
    expectOk(r);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(bytes("conv/map4.mul") == bytes("tokuno/map4.mul"));

    r = runCli({"convert", at("tokuno/map4.mul"), at("conv/world.uop")});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("facet"));
    expectOk(runCli({"convert", "-q", "--facet", "4", at("tokuno/map4.mul"), at("conv/world.uop")}));
    EXPECT_TRUE(bytes("conv/world.uop") == bytes("tokuno/map4LegacyMUL.uop"));
    EXPECT_EQ(runCli({"convert", "--facet", "6", at("tokuno/map4.mul"), at("conv/x.uop")}).status, 2);
    EXPECT_EQ(runCli({"convert", at("tokuno/map4.mul"), at("conv/map4.txt")}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(*dir_ / "conv/map4.txt"));
}

// A newcomer's world as newer clients ship it: the map and the art are
// containers, and the map is the same as the .mul world's.
TEST(SampleUop, WritesTheMapAndTheArtAsContainers) {
    test::TempDir dir;
    ASSERT_EQ(runCli({"sample", (dir / "mul").string(), "--variant", "Tokuno"}).status, 0);
    const auto r = runCli({"sample", (dir / "uop").string(), "--variant", "Tokuno", "--uop"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("artLegacyMUL.uop"));
    EXPECT_THAT(r.out, HasSubstr("map4LegacyMUL.uop"));
    for (const char* name : {"artidx.mul", "art.mul", "map4.mul"})
        EXPECT_FALSE(std::filesystem::exists(dir / "uop" / name)) << name;
    EXPECT_THAT(runCli({"info", (dir / "uop/map4LegacyMUL.uop").string()}).out, HasSubstr("trailing block: yes\n"));
    ASSERT_EQ(runCli({"convert", (dir / "uop/map4LegacyMUL.uop").string(), (dir / "map4.mul").string()}).status, 0);
    EXPECT_TRUE(test::readBytes(dir / "map4.mul") == test::readBytes(dir / "mul/map4.mul"));
}

// A file size limit too small for the map a patch must lengthen: the tool
// says so and the map is as it was, not cut in the middle of a cell.
TEST(ApplyUnderAFileSizeLimit, LeavesTheMapAsItWas) {
    test::TempDir dir;
    std::vector<std::string> orig, mod, out;
    for (const char* name : {"staidx0.mul", "statics0.mul", "map0.mul"}) {
        orig.push_back((dir / "orig" / name).string());
        mod.push_back((dir / "mod" / name).string());
        out.push_back((dir / "out" / name).string());
    }
    for (const char* folder : {"orig", "mod", "out"})
        std::filesystem::create_directories(dir / folder);
    std::vector<std::uint8_t> map(FeluccaBytes);
    for (std::size_t i = 0; i < map.size(); i += 4096)
        map[i] = static_cast<std::uint8_t>(i >> 12);
    test::writeBytes(orig[0], std::vector<std::uint8_t>(393216 * 12, 0xFF));
    test::writeBytes(orig[1], {});
    test::writeBytes(orig[2], map);
    map[5000] ^= 1;
    test::writeBytes(mod[0], std::vector<std::uint8_t>(393216 * 12, 0xFF));
    test::writeBytes(mod[1], {});
    test::writeBytes(mod[2], map);
    std::vector<std::string> diff{"diff", "--quiet", "--map"};
    diff.insert(diff.end(), orig.begin(), orig.end());
    diff.insert(diff.end(), mod.begin(), mod.end());
    diff.push_back((dir / "p.bsr").string());
    ASSERT_EQ(runCli(diff).status, 0);

    const std::vector<std::uint8_t> shortMap(1001, 0x33);
    test::writeBytes(out[2], shortMap);
    // 4096 blocks of 512 bytes: 2 MB, far less than the map needs.
    std::string command = "ulimit -f 4096; exec '" STONEREACH_CLI "' apply --quiet";
    for (const auto& paths : {orig, out})
        for (const auto& p : paths)
            command += " '" + p + "'";
    command += " '" + (dir / "p.bsr").string() + "'";
    const auto r = test::runShell(command);
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("File too large"));
    EXPECT_EQ(test::readBytes(out[2]), shortMap);
}

} // namespace
} // namespace stonereach
