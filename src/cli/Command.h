#pragma once

#include <functional>

#include <CLI/CLI.hpp>

namespace stonereach::cli {

// Exit statuses of the command-line tool.
enum ExitStatus : int {
    ExitOk = 0,
    ExitFailed = 1,          // a refusal or an error; the message is on stderr
    ExitUsage = 2,           // bad arguments
    ExitChecksumMismatch = 3 // a diff patch made for other original files
};

// What the chosen subcommand runs once the arguments are parsed. It returns
// the exit status; core errors thrown from it are reported by main.
using Action = std::function<int()>;

// Options every command shares.
struct CommonOptions {
    bool quiet = false;
};

// Each command file adds its subcommand to the app; its callback stores the
// action to run in `action`.
void addInfoCommand(CLI::App& app, Action& action);
void addCellCommand(CLI::App& app, Action& action);

} // namespace stonereach::cli
