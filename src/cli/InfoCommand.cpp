#include <iostream>
#include <string>

#include "cli/Command.h"
#include "mapdata/MapContainer.h"
#include "mapdata/MapIdentity.h"

namespace stonereach::cli {

void addInfoCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand("info", "Tell a map file's variant and size from its name and exact length;\n"
                                           "for a UOP container also how it is made.\n"
                                           "Example: stonereach-cli info world/map0.mul");
    auto path = std::make_shared<std::string>();
    cmd->add_option("MAP", *path, "Map file (map0.mul to map5.mul, or map<N>LegacyMUL.uop)")->required();
    cmd->callback([&action, path] {
        action = [path] {
            const MapVariant* variant = identifyMapFile(*path);
            std::cout << "variant: " << (variant ? variant->name : "None") << '\n'
                      << "size: " << (variant ? variant->sizeText : "None") << '\n';
            if (!isContainerFileName(*path))
                return variant ? ExitOk : ExitFailed;
            // A container that cannot be used says why, on stderr.
            const MapFile map(*path, File::Mode::Read);
            const MapContainerInfo& c = *map.container();
            std::cout << "container: version " << c.version << ", " << c.entries << " entries, "
                      << c.shortestEntryHeader;
            if (c.longestEntryHeader != c.shortestEntryHeader)
                std::cout << ".." << c.longestEntryHeader;
            std::cout << "-byte entry headers\n";
            if (c.trailingBlock)
                std::cout << "trailing block: yes\n";
            return variant ? ExitOk : ExitFailed;
        };
    });
}

} // namespace stonereach::cli
