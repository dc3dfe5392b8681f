#include <memory>
#include <string>

#include "cli/Command.h"
#include "cli/ProgressBar.h"
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
                                              "a recognised map in its top-left corner.\n"
                                              "Example: stonereach-cli enlarge world/map0.mul big/map0.mul");
    auto args = std::make_shared<EnlargeArgs>();
    cmd->add_option("SRC", args->source, "Recognised source map file (only read)")->required();
    cmd->add_option("OUT", args->output, "New map file to write (replaced if it exists)")->required();
    addQuietFlag(cmd, args->quiet);
    cmd->callback([&action, args] {
        action = [args] {
            ProgressBar bar(args->quiet);
            enlargeMap(args->source, args->output, bar.callback());
            return ExitOk;
        };
    });
}

} // namespace stonereach::cli
