#include <iostream>
#include <memory>
#include <string>

#include "cli/Command.h"
#include "cli/ProgressBar.h"
#include "mapdata/IntegerText.h"
#include "maptools/MapCopy.h"

namespace stonereach::cli {

namespace {

struct CopyArgs {
    bool quiet = false;
    std::string source;
    std::string destination;
    std::string x1, y1, x2, y2, dx, dy;
};

int runCopy(const CopyArgs& args) {
    MapCopyRequest request;
    request.source = args.source;
    request.destination = args.destination;
    // Coordinates use the program's integer syntax, as typed into the dialog.
    request.x1 = parseInteger(args.x1);
    request.y1 = parseInteger(args.y1);
    request.x2 = parseInteger(args.x2);
    request.y2 = parseInteger(args.y2);
    request.dx = parseInteger(args.dx);
    request.dy = parseInteger(args.dy);
    MapCopyResult result;
    {
        ProgressBar bar(args.quiet);
        result = copyMapRectangle(request, bar.callback());
    }
    std::cout << "Copied " << result.cellsCopied << " cells\n";
    return ExitOk;
}

} // namespace

void addCopyCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand(
        "copy", "Copy the cells of the rectangle X1,Y1..X2,Y2 of one map file to DX,DY of another (or the same) one.\n"
                "Example: stonereach-cli copy world/map4.mul 0 0 1447 1447 world/map0.mul 4000 100");
    auto args = std::make_shared<CopyArgs>();
    addQuietFlag(cmd, args->quiet);
    cmd->add_option("SRC", args->source, "Source map file")->required();
    cmd->add_option("X1", args->x1, "First corner, column")->required();
    cmd->add_option("Y1", args->y1, "First corner, row")->required();
    cmd->add_option("X2", args->x2, "Second corner, column (inclusive)")->required();
    cmd->add_option("Y2", args->y2, "Second corner, row (inclusive)")->required();
    cmd->add_option("DST", args->destination, "Destination map file (written in place)")->required();
    cmd->add_option("DX", args->dx, "Where the first corner lands, column")->required();
    cmd->add_option("DY", args->dy, "Where the first corner lands, row")->required();
    cmd->callback([&action, args] { action = [args] { return runCopy(*args); }; });
}

} // namespace stonereach::cli
