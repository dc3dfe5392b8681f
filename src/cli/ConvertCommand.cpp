#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/Command.h"
#include "cli/ContainerWarning.h"
#include "cli/ProgressBar.h"
#include "maptools/MapConversion.h"

namespace stonereach::cli {

namespace {

struct ConvertArgs {
    std::string input;
    std::string output;
    std::optional<int> facet;
    bool numberBlocks = false;
    bool quiet = false;
};

int runConvert(const ConvertArgs& args) {
    MapConversionResult result;
    {
        ProgressBar bar(args.quiet);
        result = convertMap({args.input, args.output, args.facet, args.numberBlocks}, bar.callback());
    }
    if (!result.firstHeadersIncreasing)
        std::cerr << UnnumberedBlocksWarning << '\n';
    if (!args.quiet) {
        std::cout << "Map written: " << result.plainBytes << " bytes";
        if (result.outputIsContainer)
            std::cout << " in " << result.entries << " entries";
        std::cout << '\n';
    }
    return ExitOk;
}

} // namespace

void addConvertCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand(
        "convert", "Write a map in the other form: a .mul map into a UOP container when OUT ends in .uop, a\n"
                   "container (map<N>LegacyMUL.uop) into a .mul map when OUT ends in .mul. The facet whose\n"
                   "entry names the container has comes from OUT's name (map<N>...) unless --facet gives it.\n"
                   "Example: stonereach-cli convert world/map0.mul client/map0LegacyMUL.uop --number-blocks");
    auto args = std::make_shared<ConvertArgs>();
    cmd->add_option("IN", args->input, "Map to read: a .mul or a UOP container")->required();
    cmd->add_option("OUT", args->output, "Map file to write (.uop or .mul; replaced if it exists)")->required();
    cmd->add_option("--facet", args->facet, "Facet of the container's entry names (0 to 5)")->check(CLI::Range(0, 5));
    cmd->add_flag("--number-blocks", args->numberBlocks,
                  "Write each block's number into its 4-byte header, as shipped maps have them");
    addQuietFlag(cmd, args->quiet);
    cmd->callback([&action, args] { action = [args] { return runConvert(*args); }; });
}

} // namespace stonereach::cli
