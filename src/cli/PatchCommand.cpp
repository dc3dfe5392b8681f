#include <iostream>
#include <memory>
#include <string>

#include "cli/Command.h"
#include "cli/ProgressBar.h"
#include "mapdata/MapIdentity.h"
#include "patches/PointPatch.h"

namespace stonereach::cli {

namespace {

struct PatchArgs {
    std::string map;
    std::string patch;
    bool quiet = false;
};

int runPatch(const PatchArgs& args) {
    const MapGeometry geometry = MapGeometry::of(requireKnownMap(args.map));
    MapFile map(args.map, File::Mode::ReadWrite);
    PointPatchResult result;
    {
        ProgressBar bar(args.quiet);
        result = applyPointPatchFile(map, geometry, args.patch, bar.callback());
    }
    if (result.skippedOutsideMap > 0)
        std::cerr << "stonereach-cli: " << result.skippedOutsideMap
                  << " entries lie outside the map and were not written\n";
    if (result.skippedMissing > 0)
        std::cerr << "stonereach-cli: " << result.skippedMissing
                  << " entry numbers are missing from the file and were skipped\n";
    if (!args.quiet)
        std::cout << result.applied << " cells patched\n";
    return ExitOk;
}

} // namespace

void addPatchCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand("patch", "Apply a point patch (.bnp) to a map file, cell by cell in place.\n"
                                            "Example: stonereach-cli patch world/map0.mul fixes.bnp");
    auto args = std::make_shared<PatchArgs>();
    cmd->add_option("MAP", args->map, "Recognised map file (changed in place)")->required();
    cmd->add_option("FILE", args->patch, "Point patch file (.bnp)")->required();
    addQuietFlag(cmd, args->quiet);
    cmd->callback([&action, args] { action = [args] { return runPatch(*args); }; });
}

} // namespace stonereach::cli
