#include <iostream>
#include <optional>
#include <string>

#include "cli/Command.h"
#include "mapdata/Errors.h"
#include "mapdata/IntegerText.h"
#include "mapdata/MapFile.h"
#include "mapdata/MapIdentity.h"

namespace stonereach::cli {

namespace {

struct CellArgs {
    std::string map;
    std::string x;
    std::string y;
    std::vector<std::string> set;  // TILE Z
};

int runCell(const CellArgs& args) {
    const MapVariant& variant = requireKnownMap(args.map);
    const MapGeometry geometry = MapGeometry::of(variant);
    const int x = parseInteger(args.x);
    const int y = parseInteger(args.y);
    requireCellInMap(x, y, geometry);

    MapFile map(args.map, args.set.empty() ? File::Mode::Read : File::Mode::ReadWrite);
    if (!args.set.empty()) {
        const int tile = parseInteger(args.set[0]);
        const int z = parseInteger(args.set[1]);
        if (!isTileId(tile))
            throw RangeError("Tile id " + args.set[0] + " is outside 0..65535");
        if (!isAltitude(z))
            throw RangeError("Altitude " + args.set[1] + " is outside -128..127");
        map.writeCell(x, y, MapCell{static_cast<std::uint16_t>(tile), static_cast<std::int8_t>(z)}, geometry);
    }
    const MapCell cell = map.readCell(x, y, geometry);
    std::cout << cell.tile << ' ' << static_cast<int>(cell.z) << '\n';
    return ExitOk;
}

} // namespace

void addCellCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand("cell", "Print a cell as 'TILE Z' in decimal, after writing it with --set.\n"
                                           "Example: stonereach-cli cell world/map0.mul 1000 2000 --set 3 -5");
    auto args = std::make_shared<CellArgs>();
    cmd->add_option("MAP", args->map, "Map file")->required();
    cmd->add_option("X", args->x, "Cell column")->required();
    cmd->add_option("Y", args->y, "Cell row")->required();
    cmd->add_option("--set", args->set, "Write this tile id and altitude first")->expected(2)->allow_extra_args(false);
    cmd->callback([&action, args] { action = [args] { return runCell(*args); }; });
}

} // namespace stonereach::cli
