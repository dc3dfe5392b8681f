#pragma once

#include <functional>

namespace stonereach::cli {

// Exit statuses of the command-line tool.
enum ExitStatus : int {
    ExitOk = 0,
    ExitFailed = 1,          // a refusal or an error; the message is on stderr
    ExitUsage = 2,           // bad arguments
    ExitChecksumMismatch = 3 // a diff patch made for other original files
};

// What the chosen subcommand runs once the arguments are parsed. It returns
// the exit status.
using Action = std::function<int()>;

// Runs the action and turns whatever it throws into one line on stderr
// ("stonereach-cli: ...") and ExitFailed, so no failure ends in a stack trace
// or an abort.
int runReportingFailures(const Action& action);

} // namespace stonereach::cli
