#include <iostream>
#include <memory>
#include <string>

#include <QGuiApplication>

#include "cli/Command.h"
#include "mapdata/Errors.h"
#include "mapdata/IntegerText.h"
#include "mapdata/MapIdentity.h"
#include "render/ClientFilesDrawSource.h"
#include "render/MapCellRenderer.h"
#include "render/PngFile.h"

namespace stonereach::cli {

namespace {

struct RenderArgs {
    std::string map;
    std::string clientDir;
    std::string out;
    std::string x = "0";
    std::string y = "0";
    std::string cols = "16";
    std::string rows = "16";
    std::string zoom = "45";
    bool altitude = false;
    bool colored = false;
    bool onlyColor = false;
    bool noNumber = false;
    bool grid = false;
};

// Text drawing needs a GUI application; without a display the offscreen
// platform serves.
std::unique_ptr<QGuiApplication> makeGuiApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "stonereach-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

int runRender(const RenderArgs& args) {
    const MapVariant& variant = requireKnownMap(args.map);
    const MapGeometry geometry = MapGeometry::of(variant);
    CellDrawOptions options;
    options.showAltitude = args.altitude;
    options.coloredAltitude = args.colored;
    options.showOnlyColor = args.onlyColor;
    options.showNumber = !args.noNumber;
    const int x = parseInteger(args.x);
    const int y = parseInteger(args.y);
    const int cols = parseInteger(args.cols);
    const int rows = parseInteger(args.rows);
    const int zoom = parseInteger(args.zoom);

    const auto app = makeGuiApplication();
    ClientFilesDrawSource source(args.map, args.clientDir);
    const QImage picture = renderMapRegion(source, geometry, x, y, cols, rows, zoom, args.grid, options);
    writePngFile(picture, args.out);
    return ExitOk;
}

} // namespace

void addRenderCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand(
        "render", "Draw a region of the map into a PNG picture exactly as the editor's map view draws it.\n"
                  "Example: stonereach-cli render world/map0.mul world/client view.png --x 100 --y 200 "
                  "--cols 20 --rows 12 --altitude --colored");
    auto args = std::make_shared<RenderArgs>();
    cmd->add_option("MAP", args->map, "Map file (map0.mul .. map5.mul)")->required();
    cmd->add_option("CLIENTDIR", args->clientDir, "Client directory with art and texture files")->required();
    cmd->add_option("OUT", args->out, "PNG file to write")->required();
    cmd->add_option("--x", args->x, "Column of the top-left cell")->capture_default_str();
    cmd->add_option("--y", args->y, "Row of the top-left cell")->capture_default_str();
    cmd->add_option("--cols", args->cols, "Number of columns")->capture_default_str();
    cmd->add_option("--rows", args->rows, "Number of rows")->capture_default_str();
    cmd->add_option("--zoom", args->zoom, "Cell size in pixels")->capture_default_str();
    cmd->add_flag("--altitude", args->altitude, "Show the altitude labels");
    cmd->add_flag("--colored", args->colored, "Label background in the altitude colour");
    cmd->add_flag("--only-color", args->onlyColor, "No tile pictures; with --altitude, cells in the label colour");
    cmd->add_flag("--no-number", args->noNumber, "Labels without the number (four blanks)");
    cmd->add_flag("--grid", args->grid, "Grid lines between the cells");
    cmd->callback([&action, args] { action = [args] { return runRender(*args); }; });
}

} // namespace stonereach::cli
