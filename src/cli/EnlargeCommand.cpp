#include <iostream>
#include <memory>
#include <string>

#include "cli/Command.h"
#include "cli/ContainerWarning.h"
#include "cli/ProgressBar.h"
#include "mapdata/MapContainer.h"
#include "maptools/MapEnlarger.h"

namespace stonereach::cli {

namespace {

struct EnlargeArgs {
    std::string source;
    std::string output;
    bool quiet = false;
};

} // namespace

void addEnlargeCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand("enlarge", "Write a new map of the Mondain's Legacy size (7168x4096) holding "
                                              "a recognised map in its top-left corner;\n"
                                              "a UOP container when OUT ends in .uop.\n"
                                              "Example: stonereach-cli enlarge world/map0.mul big/map0.mul");
    auto args = std::make_shared<EnlargeArgs>();
    cmd->add_option("SRC", args->source, "Recognised source map file (only read)")->required();
    cmd->add_option("OUT", args->output, "New map file to write (replaced if it exists)")->required();
    addQuietFlag(cmd, args->quiet);
    cmd->callback([&action, args] {
        action = [args] {
            {
                ProgressBar bar(args->quiet);
                enlargeMap(args->source, args->output, bar.callback());
            }
            // Every block header of an enlarged map is zero.
            if (isContainerFileName(args->output))
                std::cerr << UnnumberedBlocksWarning << '\n';
            return ExitOk;
        };
    });
}

} // namespace stonereach::cli
