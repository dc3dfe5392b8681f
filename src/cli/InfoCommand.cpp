#include <iostream>
#include <string>

#include "cli/Command.h"
#include "mapdata/MapIdentity.h"

namespace stonereach::cli {

void addInfoCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand("info", "Tell a map file's variant and size from its name and exact length.\n"
                                           "Example: stonereach-cli info world/map0.mul");
    auto path = std::make_shared<std::string>();
    cmd->add_option("MAP", *path, "Map file (map0.mul to map5.mul)")->required();
    cmd->callback([&action, path] {
        action = [path] {
            const MapVariant* variant = identifyMapFile(*path);
            std::cout << "variant: " << (variant ? variant->name : "None") << '\n'
                      << "size: " << (variant ? variant->sizeText : "None") << '\n';
            return variant ? ExitOk : ExitFailed;
        };
    });
}

} // namespace stonereach::cli
