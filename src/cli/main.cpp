#include <cstdio>
#include <exception>
#include <iostream>

#include "cli/Command.h"
#include "mapdata/Errors.h"

using namespace stonereach::cli;

int main(int argc, char** argv) {
    CLI::App app{"Brannock Stonereach command-line companion: whole-file tools for Ultima Online map files."};
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "Show the help of every command");

    Action action;
    addInfoCommand(app, action);
    addCellCommand(app, action);
    addSampleCommand(app, action);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        return status == 0 ? ExitOk : ExitUsage;
    }

    try {
        return action ? action() : ExitUsage;
    } catch (const stonereach::Error& e) {
        std::cerr << "stonereach-cli: " << e.what() << '\n';
        return ExitFailed;
    } catch (const std::exception& e) {
        std::cerr << "stonereach-cli: " << e.what() << '\n';
        return ExitFailed;
    }
}
