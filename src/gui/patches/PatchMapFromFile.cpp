#include "gui/patches/PatchMapFromFile.h"

#include <optional>

#include <QFileInfo>

#include "gui/app/EditorLink.h"
#include "gui/app/ToolSupport.h"
#include "gui/app/WindowDialogs.h"
#include "gui/patches/PatchProgressWindow.h"
#include "mapdata/OpenMap.h"
#include "patches/PointPatch.h"

namespace stonereach {

namespace {

QString skippedText(const PointPatchResult& result) {
    QStringList lines;
    if (result.skippedOutsideMap > 0)
        lines << QStringLiteral("%1 of the entries lie outside the map and were not applied.")
                     .arg(result.skippedOutsideMap);
    if (result.skippedMissing > 0)
        lines << QStringLiteral("%1 entry numbers are missing from the file; nothing was applied for them.")
                     .arg(result.skippedMissing);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

void patchMapFromFile(EditorLink& link, WindowDialogs& dialogs, QString& folder) {
    QWidget* parent = link.mainWindow();
    const QString skipped = [&]() -> QString {
        const OpenMap& open = link.openMap();
        const std::filesystem::path mapPath = open.path();
        const MapWrittenWhenDone repaint(link, mapPath);
        if (mapPath.empty())
            return {};

        const auto chosen = dialogs.chooseOpenFile(
            parent, FileDialogRequest{QString(), {QStringLiteral("Brannock Stonereach (*.bnp)")}, folder,
                                      QStringLiteral("bnstonereach.bnp")});
        if (!chosen)
            return {};
        folder = QFileInfo(*chosen).absolutePath();

        const std::optional<MapGeometry> geometry = open.geometry();
        if (!geometry)
            return mapNotRecognisedText();
        // The patch goes into the file at the map path through a handle of
        // its own, so it lands in the file the user sees even when the open
        // handle still holds a file that was replaced.
        MapFile map(mapPath, File::Mode::ReadWrite);
        // The progress window opens with the first entry applied, so a file
        // the engine refuses shows no window at all.
        std::optional<PatchProgressWindow> progress;
        const PointPatchResult result =
            applyPointPatchFile(map, *geometry, pathOf(*chosen), [&](const ProgressReport& report) {
                if (!progress)
                    progress.emplace(parent, static_cast<int>(report.maximum));
                progress->callback()(report);
            });
        return skippedText(result);
    }();
    // Said once the view shows the patched cells.
    if (!skipped.isEmpty())
        dialogs.showMessage(parent, skipped);
}

} // namespace stonereach
