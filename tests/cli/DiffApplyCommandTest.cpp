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

} // namespace
} // namespace stonereach
