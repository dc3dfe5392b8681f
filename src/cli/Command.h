#pragma once

#include "cli/RunAction.h"

// GCC 12 reports a null dereference inside CLI11's string splitting after
// inlining; the code is correct, so the warning is silenced for that header.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnull-dereference"
#endif
#include <CLI/CLI.hpp>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

namespace stonereach::cli {

// Each command file adds its subcommand to the app; its callback stores the
// action to run in `action`.
void addInfoCommand(CLI::App& app, Action& action);
void addCellCommand(CLI::App& app, Action& action);
void addSampleCommand(CLI::App& app, Action& action);
void addRenderCommand(CLI::App& app, Action& action);
void addEnlargeCommand(CLI::App& app, Action& action);
void addOverviewCommand(CLI::App& app, Action& action);
void addPatchCommand(CLI::App& app, Action& action);
void addTileCommand(CLI::App& app, Action& action);
void addDiffCommand(CLI::App& app, Action& action);
void addApplyCommand(CLI::App& app, Action& action);
void addCopyCommand(CLI::App& app, Action& action);
void addConvertCommand(CLI::App& app, Action& action);

} // namespace stonereach::cli
