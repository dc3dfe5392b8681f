#include <cstdio>
#include <cstdlib>
#include <string_view>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>

#include "editor/Bookmarks.h"
#include "gui/app/ErrorBoundary.h"
#include "gui/app/ProgramIcon.h"
#include "gui/app/QtSettingsStore.h"
#include "gui/app/StartupPaths.h"
#include "gui/app/TPrForm.h"
#include "gui/app/TProgressForm.h"
#include "gui/editor/TSRMapEditForm.h"
#include "gui/app/WindowDialogs.h"

namespace {

// Wrong usage ends the start with this status, as it does for stonereach-cli.
constexpr int ExitUsage = 2;

void setIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("stonereach"));
    QCoreApplication::setOrganizationName(QStringLiteral("BrannockStonereach"));
    QCoreApplication::setApplicationVersion(QStringLiteral(STONEREACH_VERSION));
}

[[noreturn]] void usageError(const QString& message) {
    std::fprintf(stderr, "stonereach: %s\nTry 'stonereach --help' for more information.\n", qPrintable(message));
    std::exit(ExitUsage);
}

// `stonereach [--map PATH] [--client DIR] [MAP]`: the paths replace the
// stored ones for this start, so a file manager can open a map with the
// editor. Answers --help and --version, and ends a wrong start, here.
stonereach::StartupPaths parseArguments() {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Brannock Stonereach: a terrain editor for Ultima Online map files (map0.mul to map5.mul).\n"
        "Every change is written into the map file at once. The map file and the client directory\n"
        "given here replace the stored ones for this start; without them the editor opens the paths\n"
        "of the last run, and asks for the client directory on the first run."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption map(QStringLiteral("map"), QStringLiteral("Map file to open (map0.mul to map5.mul)."),
                                 QStringLiteral("PATH"));
    const QCommandLineOption client(QStringLiteral("client"),
                                    QStringLiteral("Ultima Online client directory to read tile images from."),
                                    QStringLiteral("DIR"));
    parser.addOption(map);
    parser.addOption(client);
    parser.addPositionalArgument(QStringLiteral("MAP"), QStringLiteral("Map file to open, as with --map."),
                                 QStringLiteral("[MAP]"));
    if (!parser.parse(QCoreApplication::arguments()))
        usageError(parser.errorText());
    // Prints the help or the version and ends the program when asked to.
    parser.process(QCoreApplication::arguments());

    stonereach::StartupPaths paths;
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        usageError(QStringLiteral("Only one map file can be opened, not %1.").arg(files.size()));
    if (!files.isEmpty() && parser.isSet(map))
        usageError(QStringLiteral("The map file is given twice: with --map and as an argument."));
    if (parser.isSet(map))
        paths.mapPath = parser.value(map).toStdString();
    else if (!files.isEmpty())
        paths.mapPath = files.front().toStdString();
    if (parser.isSet(client))
        paths.clientDir = parser.value(client).toStdString();
    return paths;
}

// Whether the start only asks for the help or the version: those are
// answered without a window, so they work where there is no display.
bool onlyPrints(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "--")
            break;
        if (arg == "-h" || arg == "-?" || arg == "--help" || arg == "-v" || arg == "--version")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (onlyPrints(argc, argv)) {
        // Ends the program after printing; carries on only when the word was
        // an option's value (`--map --help`), to start as any other start.
        QCoreApplication app(argc, argv);
        setIdentity();
        parseArguments();
    }
    stonereach::GuardedApplication app(argc, argv);
    setIdentity();
    // The window and the task bar show the icon; on Wayland the desktop entry
    // named here gives the task bar its icon and name.
    QApplication::setWindowIcon(stonereach::programIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral(STONEREACH_APP_ID));

    stonereach::QtSettingsStore userSettings;
    stonereach::StartupPathStore settings(userSettings, parseArguments());
    stonereach::QtWindowDialogs dialogs;
    // The ten bookmarks live for the whole run.
    stonereach::BookmarkTable bookmarks{};

    // The windows that live until the program ends, in their order of creation.
    stonereach::TSRMapEditForm mainWindow(settings, dialogs, bookmarks);
    stonereach::TProgressForm progressForm(&mainWindow);
    stonereach::TPrForm prForm(&mainWindow);

    mainWindow.show();
    return app.exec();
}
