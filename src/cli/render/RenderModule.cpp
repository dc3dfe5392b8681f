// The render command's drawing half, built as a module that stonereach-cli
// loads only for this command (see RenderArgs.h).
#include <iostream>
#include <memory>

#include <QGuiApplication>

#include "cli/RenderArgs.h"
#include "cli/RunAction.h"
#include "mapdata/IntegerText.h"
#include "mapdata/MapIdentity.h"
#include "render/ClientFilesDrawSource.h"
#include "render/MapCellRenderer.h"
#include "render/PngFile.h"

namespace stonereach::cli {

namespace {

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
    const RenderedRegion region = renderMapRegion(source, geometry, x, y, cols, rows, zoom, args.grid, options);
    writePngFile(region.image, args.out);
    // The picture is what the editor shows for such a map, so it is kept;
    // the damaged client file is named as the editor names it.
    if (region.tileFailure)
        std::cerr << "stonereach-cli: " << region.tileFailure->message << '\n';
    if (const auto notice = source.takePictureNotice())
        std::cerr << "stonereach-cli: " << *notice << '\n';
    return ExitOk;
}

} // namespace

} // namespace stonereach::cli

extern "C" __attribute__((visibility("default"))) int stonereachRunRender(const stonereach::cli::RenderArgs& args) {
    return stonereach::cli::runReportingFailures([&] { return stonereach::cli::runRender(args); });
}
