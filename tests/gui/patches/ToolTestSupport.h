#pragma once

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <QDir>
#include <QImage>
#include <QString>
#include <QWidget>

#include "gui/app/EditorLink.h"
#include "gui/app/QtConversions.h"
#include "gui/app/GuiTestSupport.h"
#include "mapdata/DataFileDialogs.h"
#include "mapdata/DataFileSet.h"
#include "mapdata/MapVariant.h"
#include "mapdata/SettingsStore.h"
#include "sample/SampleWorld.h"
#include "support/TempDir.h"

namespace stonereach::test {

// A first base of a fixture whose members are widgets: the application
// exists before they are made.
struct WithEditorApp {
    WithEditorApp() { editorApp(); }
};

// The main window as the tool windows see it: a real data file set over the
// files a test names, and a record of every jump and every word about a
// changed map file.
class FakeEditorLink final : public EditorLink, private DataFileDialogs {
public:
    FakeEditorLink() : files_(store_, *this) {}

    // Puts the paths into the set and opens it, as the main window's path
    // edits do.
    void open(const std::filesystem::path& map, const std::filesystem::path& clientDir = {}) {
        files_.changeMapPath(map);
        files_.storePathsAndReopen(map, clientDir);
        if (!clientDir.empty())
            files_.changeClientDirectory(clientDir, files_.openMap().variantName());
    }

    QWidget* mainWindow() override { return &window_; }
    void goToCell(int x, int y) override { jumps.push_back(CellPoint{x, y}); }
    const OpenMap& openMap() override { return files_.openMap(); }
    const RadarColours& radarColours() override { return files_.radarColours(); }
    bool clientDirectoryValid() override { return files_.clientDirValid(); }
    void mapFileWritten(const std::filesystem::path& path) override { written.push_back(path); }
    void mapFileReplaced(const std::filesystem::path& path) override { replaced.push_back(path); }

    std::vector<CellPoint> jumps;
    std::vector<std::filesystem::path> written;
    std::vector<std::filesystem::path> replaced;

private:
    ErrorChoice showErrorDetected(const std::string& title, const std::string& detail) override {
        throw std::runtime_error("unexpected data file error: " + title + " " + detail);
    }
    void browseClientDirectory() override {}

    MemorySettingsStore store_;
    QWidget window_;
    DataFileSet files_;
};

// Saves a picture of the window into the folder named by
// STONEREACH_SCREENSHOTS, when it is set, for looking at the windows as a
// user sees them (run the tests under Xvfb with QT_QPA_PLATFORM=xcb).
inline void saveScreenshot(QWidget& window, const char* name) {
    const char* folder = std::getenv("STONEREACH_SCREENSHOTS");
    if (folder == nullptr)
        return;
    window.grab().save(QDir(QString::fromLocal8Bit(folder)).filePath(QString::fromLatin1(name) + ".png"));
}

// A sample world of the variant, generated once for the whole test program
// and only read: a test copies the files it changes.
inline const sample::SampleWorldResult& sharedSampleWorld(const std::string& variant) {
    static TempDir folder;
    static std::map<std::string, sample::SampleWorldResult> worlds;
    auto it = worlds.find(variant);
    if (it == worlds.end())
        it = worlds.emplace(variant, sample::generateSampleWorld(folder / variant, {variant, 3})).first;
    return it->second;
}

} // namespace stonereach::test
