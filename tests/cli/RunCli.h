#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/TempDir.h"

extern char** environ;

namespace stonereach::test {

// What one run of the command-line tool gave.
struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs a program with these arguments (no shell in between, so arguments
// need no quoting) and collects its exit status and output.
inline CliResult runProgram(const char* program, const std::vector<std::string>& args) {
    TempDir scratch;
    const std::string outPath = (scratch / "out.txt").string();
    const std::string errPath = (scratch / "err.txt").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    CliResult result;
    pid_t pid = 0;
    if (posix_spawn(&pid, program, &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        if (waitpid(pid, &status, 0) == pid && WIFEXITED(status))
            result.status = WEXITSTATUS(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = readText(outPath);
    result.err = readText(errPath);
    return result;
}

// Runs the built stonereach-cli with these arguments.
inline CliResult runCli(const std::vector<std::string>& args) { return runProgram(STONEREACH_CLI, args); }

// Runs a command line through the shell (to set limits before the tool runs).
inline CliResult runShell(const std::string& command) { return runProgram("/bin/sh", {"-c", command}); }

} // namespace stonereach::test
