#include "gui/app/ProgramDirectory.h"

#include <array>
#include <cstdlib>
#include <system_error>

#include <unistd.h>

#include <QCoreApplication>
#include <QStandardPaths>

#include "gui/app/QtConversions.h"

namespace stonereach {

namespace fs = std::filesystem;

namespace {

bool holdsEditorFiles(const fs::path& dir) {
    static constexpr std::array names{"textures", "brushes", "tilelist.xml", "bookmarklist.xml", "coords.def"};
    std::error_code error;
    for (const char* name : names)
        if (fs::exists(dir / name, error))
            return true;
    return false;
}

bool writable(const fs::path& dir) { return ::access(dir.c_str(), W_OK) == 0; }

bool isInstalled(const fs::path& executableDir) {
    std::error_code error;
    return fs::exists(executableDir / installedLayoutMarker(), error);
}

} // namespace

fs::path installedLayoutMarker() { return fs::path(STONEREACH_INSTALLED_MARKER); }

fs::path chooseProgramDirectory(const std::optional<fs::path>& home, const fs::path& executableDir,
                                const fs::path& userDataDir) {
    if (home && !home->empty())
        return *home;
    // An installed program shares its folder with every other program: it
    // never writes there, even when it could (as root).
    if (isInstalled(executableDir))
        return userDataDir;
    if (holdsEditorFiles(executableDir) || writable(executableDir))
        return executableDir;
    return userDataDir;
}

fs::path programDirectory() {
    std::optional<fs::path> home;
    if (const char* value = std::getenv("STONEREACH_HOME"))
        home = fs::path(value);
    const fs::path userData = pathOf(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    return chooseProgramDirectory(home, pathOf(QCoreApplication::applicationDirPath()), userData);
}

} // namespace stonereach
