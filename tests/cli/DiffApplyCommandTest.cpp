#include <gtest/gtest.h>

#include "cli/RunCli.h"
#include "mapdata/LittleEndian.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

// A full-size set (768 x 512 blocks) whose statics index is all empty blocks
// except a few, and a map of patterned bytes.
struct FullSet {
    std::vector<std::uint8_t> index = std::vector<std::uint8_t>(393216 * 12, 0xFF);
    std::vector<std::uint8_t> statics;
    std::vector<std::uint8_t> map = std::vector<std::uint8_t>(393216 * 196);

    FullSet() {
        for (std::size_t i = 0; i < map.size(); ++i)
            map[i] = static_cast<std::uint8_t>(i % 241);
        for (std::size_t k = 0; k < 393216; k += 1000)
            setRecords(k, 1);
    }
    void setRecords(std::size_t k, int seed) {
        le::put32(&index[k * 12], static_cast<std::uint32_t>(statics.size()));
        le::put32(&index[k * 12 + 4], 7);
        for (int i = 0; i < 7; ++i)
            statics.push_back(static_cast<std::uint8_t>(seed + i));
    }
    std::vector<std::string> write(const std::filesystem::path& dir) const {
        std::filesystem::create_directories(dir);
        test::writeBytes(dir / "staidx0.mul", index);
        test::writeBytes(dir / "statics0.mul", statics);
        test::writeBytes(dir / "map0.mul", map);
        return {(dir / "staidx0.mul").string(), (dir / "statics0.mul").string(), (dir / "map0.mul").string()};
    }
};

class DiffApplyCommands : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        FullSet original;
        FullSet modified = original;
        modified.setRecords(5, 9);
        modified.map[1000] ^= 1;
        orig_ = original.write(dir_->path() / "orig");
        mod_ = modified.write(dir_->path() / "mod");
        modMap_ = modified.map;
    }
    static void TearDownTestSuite() { delete dir_; }

    std::vector<std::string> args(const std::string& command, const std::vector<std::string>& target,
                                  const std::string& patch) {
        std::vector<std::string> a{command};
        a.insert(a.end(), orig_.begin(), orig_.end());
        a.insert(a.end(), target.begin(), target.end());
        a.push_back(patch);
        return a;
    }

    static test::TempDir* dir_;
    static std::vector<std::string> orig_;
    static std::vector<std::string> mod_;
    static std::vector<std::uint8_t> modMap_;
};
test::TempDir* DiffApplyCommands::dir_ = nullptr;
std::vector<std::string> DiffApplyCommands::orig_;
std::vector<std::string> DiffApplyCommands::mod_;
std::vector<std::uint8_t> DiffApplyCommands::modMap_;

TEST_F(DiffApplyCommands, DiffThenApplyRebuildsTheModifiedMap) {
    const auto patch = (dir_->path() / "both.bsr").string();
    const auto diff = test::runCli(args("diff", mod_, patch));
    ASSERT_EQ(diff.status, 0) << diff.err;
    EXPECT_TRUE(diff.err.empty()) << "no bar when stderr is not a terminal";

    const auto out = dir_->path() / "out";
    std::filesystem::create_directories(out);
    test::writeBytes(out / "map0.mul", std::vector<std::uint8_t>(393216 * 196));
    const std::vector<std::string> target{(out / "staidx0.mul").string(), (out / "statics0.mul").string(),
                                          (out / "map0.mul").string()};
    const auto apply = test::runCli(args("apply", target, patch));
    ASSERT_EQ(apply.status, 0) << apply.err;
    EXPECT_TRUE(test::readBytes(out / "map0.mul") == modMap_);
    EXPECT_EQ(test::readBytes(out / "staidx0.mul").size(), 393216u * 12);
}

TEST_F(DiffApplyCommands, SectionFlagsChooseTheSections) {
    const auto patch = dir_->path() / "map.bsr";
    auto a = args("diff", mod_, patch.string());
    a.insert(a.begin() + 1, "--map");
    ASSERT_EQ(test::runCli(a).status, 0);
    const auto bytes = test::readBytes(patch);
    EXPECT_EQ(le::i32(&bytes[18]), -1);
    EXPECT_EQ(bytes.size(), 1031u + 196 + 1572864);
}

TEST_F(DiffApplyCommands, ChecksumMismatchExitsWithThreeAndTouchesNothing) {
    const auto patch = (dir_->path() / "crc.bsr").string();
    ASSERT_EQ(test::runCli(args("diff", mod_, patch)).status, 0);
    auto bytes = test::readBytes(patch);
    le::put32(&bytes[22], le::u32(&bytes[22]) ^ 0x00010000);
    test::writeBytes(patch, bytes);
    const auto out = dir_->path() / "crc-out";
    std::filesystem::create_directories(out);
    test::writeBytes(out / "map0.mul", {1, 2, 3});
    const std::vector<std::string> target{(out / "staidx0.mul").string(), (out / "statics0.mul").string(),
                                          (out / "map0.mul").string()};
    const auto run = test::runCli(args("apply", target, patch));
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("does not match the one used to generate this BSR file"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(out / "staidx0.mul"));
    EXPECT_EQ(test::readBytes(out / "map0.mul"), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(DiffApplyCommands, BadInputsExitWithOneAndUsageWithTwo) {
    const auto garbage = dir_->path() / "garbage.bsr";
    test::writeBytes(garbage, std::vector<std::uint8_t>(2000, 0x41));
    const auto run = test::runCli(args("apply", mod_, garbage.string()));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("is not a diff patch"), std::string::npos) << run.err;

    const auto missing = test::runCli(args("diff", {"nope/staidx0.mul", "x", "y"}, "p.bsr"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(missing.err.empty());

    EXPECT_EQ(test::runCli({"diff", "only-one-argument"}).status, 2);
}

// The records of every block of a set, however its statics file is laid out.
std::vector<std::vector<std::uint8_t>> blockRecords(const std::filesystem::path& folder) {
    const auto index = test::readBytes(folder / "staidx0.mul");
    const auto statics = test::readBytes(folder / "statics0.mul");
    std::vector<std::vector<std::uint8_t>> blocks(393216);
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        const std::uint32_t start = le::u32(&index[k * 12]);
        const std::uint32_t length = le::u32(&index[k * 12 + 4]);
        if (start != 0xFFFFFFFF && length > 0)
            blocks[k].assign(statics.begin() + start, statics.begin() + start + length);
    }
    return blocks;
}

std::vector<std::string> filesIn(const std::filesystem::path& folder) {
    return {(folder / "staidx0.mul").string(), (folder / "statics0.mul").string(), (folder / "map0.mul").string()};
}

std::vector<std::string> command(const std::string& name, const std::vector<std::string>& from,
                                 const std::vector<std::string>& to, const std::string& patch) {
    std::vector<std::string> a{name};
    a.insert(a.end(), from.begin(), from.end());
    a.insert(a.end(), to.begin(), to.end());
    a.push_back(patch);
    return a;
}

// A chain of two patches: the second is made from the set players have after
// the first, so their copies take it, where one made from the owner's own
// modified set is refused by the checksum.
TEST(PatchChain, ASecondPatchMadeFromThePlayersSetAppliesToTheirCopyCleanly) {
    test::TempDir dir;
    FullSet original;
    le::put32(&original.index[3000 * 12 + 8], 0x0BAD);
    FullSet modified = original;
    modified.setRecords(5, 9);
    le::put32(&modified.index[2000 * 12], 7); // emptied with a valid offset and length 0
    le::put32(&modified.index[2000 * 12 + 4], 0);
    le::put32(&modified.index[77 * 12], 0); // empty before, now offset 0, length 0
    le::put32(&modified.index[77 * 12 + 4], 0);
    le::put32(&modified.index[3000 * 12 + 8], 0x1234); // only Extra changed
    modified.map[1000] ^= 1;
    const auto orig = original.write(dir / "orig");
    const auto mod = modified.write(dir / "mod");

    const auto first = (dir / "first.bsr").string();
    const auto players = dir / "players";
    auto withPlayers = command("diff", orig, mod, first);
    withPlayers.insert(withPlayers.begin() + 1, {"--players-set", players.string()});
    const auto made = test::runCli(withPlayers);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_NE(made.out.find("Players' set written to " + players.string()), std::string::npos) << made.out;
    EXPECT_NE(made.out.find("The players' staidx0.mul will differ from the modified one: make the next patch from "
                            "the players' set (" + players.string() + ") as the original set."),
              std::string::npos)
        << made.out;

    // A player applies the first patch to their copy of the original set:
    // they have exactly the players' set.
    const auto copy = dir / "copy";
    std::filesystem::create_directories(copy);
    std::filesystem::copy_file(dir / "orig" / "map0.mul", copy / "map0.mul");
    ASSERT_EQ(test::runCli(command("apply", orig, filesIn(copy), first)).status, 0);
    for (const char* name : {"staidx0.mul", "statics0.mul", "map0.mul"})
        EXPECT_TRUE(test::readBytes(copy / name) == test::readBytes(players / name)) << name;

    // The owner edits on.
    FullSet newer = modified;
    newer.setRecords(9000, 4);
    newer.map[5000] ^= 7;
    const auto latest = newer.write(dir / "latest");
    const auto out = dir / "out";
    std::filesystem::create_directories(out);
    std::filesystem::copy_file(copy / "map0.mul", out / "map0.mul");

    // Made from the owner's own modified set, the next patch is refused.
    const auto wrong = (dir / "wrong.bsr").string();
    ASSERT_EQ(test::runCli(command("diff", mod, latest, wrong)).status, 0);
    EXPECT_EQ(test::runCli(command("apply", filesIn(copy), filesIn(out), wrong)).status, 3);

    // Made from the players' set, it applies cleanly and gives the latest set.
    const auto second = (dir / "second.bsr").string();
    ASSERT_EQ(test::runCli(command("diff", filesIn(players), latest, second)).status, 0);
    const auto applied = test::runCli(command("apply", filesIn(copy), filesIn(out), second));
    ASSERT_EQ(applied.status, 0) << applied.err;
    EXPECT_TRUE(test::readBytes(out / "map0.mul") == newer.map);
    EXPECT_TRUE(blockRecords(out) == blockRecords(dir / "latest")) << "every block holds the latest records";
}

} // namespace
} // namespace stonereach
