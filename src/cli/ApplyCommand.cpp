#include <iostream>
#include <memory>
#include <string>

#include "cli/Command.h"
#include "cli/ProgressBar.h"
#include "patches/DiffPatchApplier.h"

namespace stonereach::cli {

namespace {

struct ApplyArgs {
    bool quiet = false;
    std::string paths[7];
};

int runApply(const ApplyArgs& args) {
    DiffApplyRequest request;
    request.original = {args.paths[0], args.paths[1], args.paths[2]};
    request.modified = {args.paths[3], args.paths[4], args.paths[5]};
    request.patch = args.paths[6];
    DiffApplyResult result;
    {
        ProgressBar bar(args.quiet);
        result = applyDiffPatch(request, bar.callback());
    }
    if (!result.applied) {
        std::cerr << "stonereach-cli: " << DiffApplyTexts::CrcCaption << ' ' << result.mismatchMessage << '\n';
        return ExitChecksumMismatch;
    }
    std::cout << "Patch applied:" << (result.staticsRebuilt ? " statics rebuilt" : "")
              << (result.mapRebuilt ? " map rebuilt" : "") << '\n';
    return ExitOk;
}

} // namespace

void addApplyCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand(
        "apply", "Rebuild the modified statics and map set from the original set and a diff patch (.bsr).\n"
                 "Example: stonereach-cli apply orig/staidx0.mul orig/statics0.mul orig/map0.mul "
                 "new/staidx0.mul new/statics0.mul new/map0.mul changes.bsr");
    auto args = std::make_shared<ApplyArgs>();
    addQuietFlag(cmd, args->quiet);
    const char* names[7] = {"ORIG_STAIDX", "ORIG_STATICS", "ORIG_MAP", "MOD_STAIDX", "MOD_STATICS", "MOD_MAP", "PATCH"};
    const char* help[7] = {"Original staidx0.mul (read)",
                           "Original statics0.mul (read)",
                           "Original map0.mul (read)",
                           "staidx0.mul to write",
                           "statics0.mul to write",
                           "map0.mul to write into; it must exist",
                           "Diff patch (.bsr)"};
    for (int i = 0; i < 7; ++i)
        cmd->add_option(names[i], args->paths[i], help[i])->required();
    cmd->callback([&action, args] { action = [args] { return runApply(*args); }; });
}

} // namespace stonereach::cli
