#include <memory>
#include <string>

#include "cli/Command.h"
#include "cli/PngOutput.h"
#include "mapdata/ClientFiles.h"
#include "mapdata/MapIdentity.h"
#include "maptools/OverviewPicture.h"

namespace stonereach::cli {

namespace {

struct OverviewArgs {
    std::string map;
    std::string clientDir;
    std::string output;
};

int runOverview(const OverviewArgs& args) {
    const MapVariant& variant = requireKnownMap(args.map);
    // The radar colours are read as the editor reads them for this variant.
    RadarColours radar;
    radar.load(clientFilePath(args.clientDir, ClientFile::RadarColours), variant.name);
    // The overview is drawn straight into the rows the PNG encoder takes.
    const MapGeometry geometry = MapGeometry::of(variant);
    PngRows rows(geometry.blocksAcross(), geometry.blockHeight);
    drawOverview(args.map, geometry, radar, {rows.bytes(), PngRows::FirstPixel, rows.rowStride()});
    writePng(args.output, rows);
    return ExitOk;
}

} // namespace

void addOverviewCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand("overview", "Write the overview picture of a map, one pixel per 8x8 block in "
                                               "the client's radar colours.\n"
                                               "Example: stonereach-cli overview world/map0.mul world overview.png");
    auto args = std::make_shared<OverviewArgs>();
    cmd->add_option("MAP", args->map, "Recognised map file")->required();
    cmd->add_option("CLIENTDIR", args->clientDir, "Client directory holding radarcol.mul")->required();
    cmd->add_option("OUT", args->output, "PNG file to write")->required();
    cmd->callback([&action, args] { action = [args] { return runOverview(*args); }; });
}

} // namespace stonereach::cli
