#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "mapdata/MapVariant.h"
#include "sample/SampleHome.h"
#include "sample/SampleWorld.h"

namespace stonereach::cli {

namespace {

struct SampleArgs {
    std::string dir;
    std::string home;
    sample::SampleWorldOptions options;
};

std::vector<std::string> variantNames() {
    std::vector<std::string> names;
    for (const MapVariant& v : mapVariants())
        names.emplace_back(v.name);
    return names;
}

int runSample(const SampleArgs& args) {
    const auto result = sample::generateSampleWorld(args.dir, args.options);
    const std::filesystem::path home = args.home.empty() ? std::filesystem::path(args.dir) / "home" : std::filesystem::path(args.home);
    sample::writeSampleHome(home, args.options);
    const auto& s = result.statics;
    const char* art = args.options.containers ? "artLegacyMUL.uop" : "artidx.mul art.mul";
    std::cout << "client files: " << art << " texidx.mul texmaps.mul radarcol.mul ("
              << result.clientTime.count() << " ms)\n"
              << "map: " << result.mapPath.string() << " (" << result.variant->name << ", "
              << result.variant->sizeText << ", " << result.mapTime.count() << " ms)\n"
              << "statics: " << result.staticsIndexPath.string() << ", " << result.staticsPath.string() << " ("
              << s.filledBlocks << " of " << s.blocks << " blocks filled, " << s.records << " records, "
              << result.staticsTime.count() << " ms)\n"
              << "editor files: " << home.string() << " (textures/tileids.lst, textures/coast.lst, tilelist.xml, "
                 "brushes/Hill.brs, brushes/Shore.brs, brushes/Path.brs, coords.def)\n";
    return ExitOk;
}

} // namespace

void addSampleCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand(
        "sample", "Generate a sample world (client files, map and statics) of our own making,\n"
                  "and the editor's own files for it (tile lists, selection groups, brushes and\n"
                  "a coordinates index) in a program directory, DIR/home unless --home\n"
                  "names another.\n"
                  "The same seed always gives the same bytes.\n"
                  "Example: stonereach-cli sample world --variant Tokuno --seed 7");
    auto args = std::make_shared<SampleArgs>();
    cmd->add_option("DIR", args->dir, "Directory to write into (created when missing)")->required();
    cmd->add_option("--variant", args->options.variantName, "Map variant name")
        ->check(CLI::IsMember(variantNames()))
        ->capture_default_str();
    cmd->add_option("--home", args->home,
                    "Program directory for the editor's own files (default DIR/home); use it as STONEREACH_HOME");
    cmd->add_option("--seed", args->options.seed, "Seed of the generator")->capture_default_str();
    cmd->add_flag("--uop", args->options.containers,
                  "Write the map and the land art as UOP containers, as newer clients ship them\n"
                  "(map<N>LegacyMUL.uop and artLegacyMUL.uop)");
    cmd->callback([&action, args] { action = [args] { return runSample(*args); }; });
}

} // namespace stonereach::cli
