#include <QCommandLineParser>

#include "editor/Bookmarks.h"
#include "gui/app/ErrorBoundary.h"
#include "gui/app/QtSettingsStore.h"
#include "gui/app/StartupPaths.h"
#include "gui/app/TPrForm.h"
#include "gui/app/TProgressForm.h"
#include "gui/editor/TSRMapEditForm.h"
#include "gui/app/WindowDialogs.h"

namespace {

// `stonereach [--map PATH] [--client DIR]`: the paths replace the stored ones
// for this start, so a file manager can open a map with the editor.
stonereach::StartupPaths parseArguments(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Terrain editor for Ultima Online map files."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption map(QStringLiteral("map"), QStringLiteral("Map file to open (map0.mul to map5.mul)."),
                                 QStringLiteral("PATH"));
    const QCommandLineOption client(QStringLiteral("client"),
                                    QStringLiteral("Ultima Online client directory to read tile images from."),
                                    QStringLiteral("DIR"));
    parser.addOption(map);
    parser.addOption(client);
    parser.process(app);

    stonereach::StartupPaths paths;
    if (parser.isSet(map))
        paths.mapPath = parser.value(map).toStdString();
    if (parser.isSet(client))
        paths.clientDir = parser.value(client).toStdString();
    return paths;
}

} // namespace

int main(int argc, char** argv) {
    stonereach::GuardedApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("stonereach"));
    QCoreApplication::setOrganizationName(QStringLiteral("BrannockStonereach"));
    QCoreApplication::setApplicationVersion(QStringLiteral(STONEREACH_VERSION));

    stonereach::QtSettingsStore userSettings;
    stonereach::StartupPathStore settings(userSettings, parseArguments(app));
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
