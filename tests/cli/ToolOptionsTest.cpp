#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RunCli.h"

namespace stonereach {
namespace {

using test::runCli;

// The tool's own options, outside any command: they answer on stdout and
// exit with 0; without a command the tool says one is needed and exits with 2.
TEST(ToolOptions, VersionIsPrintedAsTheEditorPrintsItAndACommandIsOtherwiseRequired) {
    const auto version = runCli({"--version"});
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out, std::string("stonereach-cli ") + STONEREACH_VERSION + "\n");
    EXPECT_EQ(version.err, "");

    const auto none = runCli({});
    EXPECT_EQ(none.status, 2);
    EXPECT_THAT(none.err, ::testing::HasSubstr("A subcommand is required"));
}

} // namespace
} // namespace stonereach
