#include <iostream>
#include <memory>
#include <string>

#include "cli/Command.h"
#include "cli/ProgressBar.h"
#include "patches/DiffPatchGenerator.h"
#include "patches/PlayersSet.h"

namespace stonereach::cli {

namespace {

struct DiffArgs {
    bool statics = false;
    bool map = false;
    bool quiet = false;
    std::string paths[7];
    std::string playersSet;  // folder for the set players will have; empty: none
};

int runDiff(const DiffArgs& args) {
    DiffPatchRequest request;
    request.original = {args.paths[0], args.paths[1], args.paths[2]};
    request.modified = {args.paths[3], args.paths[4], args.paths[5]};
    request.patch = args.paths[6];
    // Neither flag means both sections, as the dialog starts with both checked.
    request.statics = args.statics || !args.map;
    request.map = args.map || !args.statics;
    DiffPatchSummary summary;
    {
        ProgressBar bar(args.quiet);
        summary = generateDiffPatch(request, bar.callback());
        if (!args.playersSet.empty())
            writePlayersSet(request, args.playersSet, bar.callback());
    }
    std::cout << "Patch written: " << summary.storedStaticBlocks << " statics blocks and " << summary.storedMapBlocks
              << " map blocks stored, " << summary.emptiedStaticBlocks << " statics blocks emptied, "
              << summary.patchSize << " bytes\n";
    if (!args.playersSet.empty())
        std::cout << "Players' set written to " << args.playersSet << '\n';
    // Applying rebuilds the statics in a layout of its own; a next patch
    // made from the modified set would not fit the players' copies.
    if (playersStaticsIndexDiffers(request)) {
        std::cout << PlayersSetTexts::IndexDiffers
                  << (args.playersSet.empty() ? " (write it with --players-set DIR)"
                                              : " (" + args.playersSet + ")")
                  << " as the original set.\n";
    }
    return ExitOk;
}

} // namespace

void addDiffCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand(
        "diff", "Write a diff patch (.bsr) that turns the original statics and map set into the modified one.\n"
                "Example: stonereach-cli diff orig/staidx0.mul orig/statics0.mul orig/map0.mul "
                "mod/staidx0.mul mod/statics0.mul mod/map0.mul changes.bsr");
    auto args = std::make_shared<DiffArgs>();
    cmd->add_flag("--statics", args->statics, "Generate the statics section (alone, unless --map is given too)");
    cmd->add_flag("--map", args->map, "Generate the map section (alone, unless --statics is given too)");
    addQuietFlag(cmd, args->quiet);
    cmd->add_option("--players-set", args->playersSet,
                    "Also write into DIR the staidx0.mul, statics0.mul and map0.mul that players have after "
                    "applying the patch to the original set: the original set of the next patch")
        ->type_name("DIR");
    const char* names[7] = {"ORIG_STAIDX", "ORIG_STATICS", "ORIG_MAP", "MOD_STAIDX", "MOD_STATICS", "MOD_MAP", "PATCH"};
    const char* help[7] = {"Original staidx0.mul", "Original statics0.mul", "Original map0.mul",
                           "Modified staidx0.mul", "Modified statics0.mul", "Modified map0.mul",
                           "Patch file to write (.bsr)"};
    for (int i = 0; i < 7; ++i)
        cmd->add_option(names[i], args->paths[i], help[i])->required();
    cmd->callback([&action, args] { action = [args] { return runDiff(*args); }; });
}

} // namespace stonereach::cli
