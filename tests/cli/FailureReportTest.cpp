// What the command-line tool says when a file operation fails: one line on
// stderr naming what failed, the file and the cause; exit status 1; no stack
// trace; no partial output file left behind.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mapdata/MapLayout.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

struct LimitedRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the tool with a limit on the size of the files it may write (as
// `ulimit -f` sets it), so that a write past `limitBytes` fails as on a full
// disk.
LimitedRun runWithFileSizeLimit(const std::vector<std::string>& args, rlim_t limitBytes) {
    test::TempDir capture;
    const auto outPath = capture / "out";
    const auto errPath = capture / "err";
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, 1);
        dup2(err, 2);
        const rlimit limit{limitBytes, limitBytes};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string program = STONEREACH_CLI;
        std::vector<std::string> copies = args;
        std::vector<char*> argv{program.data()};
        for (auto& a : copies)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const auto slurp = [](const std::filesystem::path& p) {
        std::ifstream in(p);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), slurp(outPath), slurp(errPath)};
}

// One line, starting with the tool's name, naming the file and the cause.
void expectOneClearLine(const LimitedRun& run, const std::filesystem::path& file, const std::string& cause) {
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.err.rfind("stonereach-cli: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(file.string()), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(cause), std::string::npos) << run.err;
}

TEST(FailureReport, AFailingCellWriteSaysWhichFileAndWhyAndChangesNothing) {
    test::TempDir dir;
    const auto map = dir / "map4.mul";
    test::writePatternFile(map, 6421156);
    const auto before = test::readBytes(map);
    // The last cell lies far past the limit: the write fails as on a full disk.
    const LimitedRun run = runWithFileSizeLimit({"cell", map.string(), "1447", "1447", "--set", "5", "1"}, 4096);
    expectOneClearLine(run, map, "File too large");
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(test::readBytes(map) == before);
}

TEST(FailureReport, AMissingOrUnreadableInputSaysWhichFileAndWhy) {
    test::TempDir dir;
    const LimitedRun missing = runWithFileSizeLimit({"cell", (dir / "map0.mul").string(), "0", "0"}, RLIM_INFINITY);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;
    EXPECT_NE(missing.err.find("map0.mul"), std::string::npos) << missing.err;

    // A map cut short by another program: the read past its end is reported.
    const auto map = dir / "map4.mul";
    test::writePatternFile(map, 6421156);
    std::filesystem::resize_file(map, 1000);
    const LimitedRun cut = runWithFileSizeLimit({"cell", map.string(), "1447", "1447"}, RLIM_INFINITY);
    EXPECT_EQ(cut.status, 1) << cut.err;
    EXPECT_EQ(std::count(cut.err.begin(), cut.err.end(), '\n'), 1) << cut.err;
}

TEST(FailureReport, AWholeFileOutputThatCannotBeWrittenLeavesNoPartialFile) {
    test::TempDir dir;
    const auto world = dir / "world";
    const LimitedRun run = runWithFileSizeLimit({"sample", world.string()}, 64 * 1024);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find("File too large"), std::string::npos) << run.err;
    // Files written whole before the failure may stay; none is cut short and
    // no temporary file is left.
    for (const auto& name : test::fileNames(dir.path()))
        EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
}

} // namespace
} // namespace stonereach

namespace stonereach {
namespace {

TEST(FailureReport, APictureThatCannotBeWrittenLeavesNoHalfFile) {
    test::TempDir dir;
    const auto world = dir / "world";
    ASSERT_EQ(runWithFileSizeLimit({"sample", world.string()}, RLIM_INFINITY).status, 0);
    const auto png = dir / "tile.png";
    const LimitedRun run = runWithFileSizeLimit({"tile", world.string(), "3", png.string()}, 1000);
    expectOneClearLine(run, png, "File too large");
    EXPECT_EQ(test::fileNames(dir.path()).count("tile.png"), 0u);
    for (const auto& name : test::fileNames(dir.path()))
        EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
}

} // namespace
} // namespace stonereach

namespace stonereach {
namespace {

// Every command that writes a new file, asked to write it into a folder that
// is not there: the message names the file the user asked for and the missing
// folder, never the temporary file the command writes first.
TEST(FailureReport, AnOutputInAMissingFolderNamesThatFileAndTheFolder) {
    test::TempDir dir;
    const auto world = dir / "world";
    ASSERT_EQ(runWithFileSizeLimit({"sample", world.string(), "--variant", "Tokuno"}, RLIM_INFINITY).status, 0);
    // A diff set of the full patch grid: zero-filled (sparse) files are a
    // valid set whose every block is empty.
    const auto set = [&](const std::string& name) {
        std::filesystem::create_directories(dir / name);
        std::vector<std::string> paths;
        for (const auto& [file, size] : {std::pair{"staidx0.mul", 393216 * 12}, {"statics0.mul", 0},
                                         std::pair{"map0.mul", 393216 * 196}}) {
            test::writeBytes(dir / name / file, {});
            std::filesystem::resize_file(dir / name / file, static_cast<std::uintmax_t>(size));
            paths.push_back((dir / name / file).string());
        }
        return paths;
    };
    const auto orig = set("orig");
    const auto patch = (dir / "p.bsr").string();
    const auto diffArgs = [&](const std::vector<std::string>& modified, const std::string& out) {
        std::vector<std::string> args{"diff", "--quiet"};
        args.insert(args.end(), orig.begin(), orig.end());
        args.insert(args.end(), modified.begin(), modified.end());
        args.push_back(out);
        return args;
    };
    ASSERT_EQ(runWithFileSizeLimit(diffArgs(orig, patch), RLIM_INFINITY).status, 0);

    const auto missing = dir / "nodir" / "x";
    const std::string map4 = (world / "map4.mul").string();
    const std::vector<std::pair<std::vector<std::string>, std::filesystem::path>> commands = {
        {{"enlarge", "--quiet", map4, (missing / "map0.mul").string()}, missing / "map0.mul"},
        {diffArgs(orig, (missing / "p.bsr").string()), missing / "p.bsr"},
        {{"apply", "--quiet", orig[0], orig[1], orig[2], (missing / "staidx0.mul").string(),
          (missing / "statics0.mul").string(), orig[2], patch},
         missing / "statics0.mul"},
        {{"overview", map4, world.string(), (missing / "o.png").string()}, missing / "o.png"},
        {{"tile", world.string(), "3", (missing / "t.png").string()}, missing / "t.png"},
        {{"render", map4, world.string(), (missing / "r.png").string()}, missing / "r.png"},
    };
    for (const auto& [args, target] : commands) {
        LimitedRun run = runWithFileSizeLimit(args, RLIM_INFINITY);
        // Qt's note about a missing runtime folder (run as root without a
        // session) is not the tool's report.
        const std::string qtNote = "QStandardPaths:";
        if (run.err.rfind(qtNote, 0) == 0)
            run.err.erase(0, run.err.find('\n') + 1);
        expectOneClearLine(run, target, "the folder '" + missing.string() + "' does not exist");
        EXPECT_EQ(run.err.find(".tmp-"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "nodir"));
}

} // namespace
} // namespace stonereach
