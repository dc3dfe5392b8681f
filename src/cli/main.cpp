#include <csignal>
#include <cstdio>
#include <string>

#include "cli/Command.h"

using namespace stonereach::cli;

int main(int argc, char** argv) {
    // A file size limit (ulimit -f) would otherwise kill the tool in the middle
    // of a write with no word said; ignored, the write fails with "File too
    // large" and is reported like a full disk, and the partial file removed.
    std::signal(SIGXFSZ, SIG_IGN);

    CLI::App app{"Brannock Stonereach command-line companion: whole-file tools for Ultima Online map files."};
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "Show the help of every command");
    // As the editor prints it: the program's name and version.
    app.set_version_flag("--version", std::string("stonereach-cli ") + STONEREACH_VERSION,
                         "Show the version and exit");

    Action action;
    addInfoCommand(app, action);
    addCellCommand(app, action);
    addSampleCommand(app, action);
    addRenderCommand(app, action);
    addEnlargeCommand(app, action);
    addOverviewCommand(app, action);
    addPatchCommand(app, action);
    addTileCommand(app, action);
    addDiffCommand(app, action);
    addApplyCommand(app, action);
    addCopyCommand(app, action);
    addConvertCommand(app, action);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        return status == 0 ? ExitOk : ExitUsage;
    }

    return runReportingFailures(action);
}
