#pragma once

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include "editor/Bookmarks.h"
#include "gui/app/GuiTestSupport.h"
#include "gui/app/ScriptedDialogs.h"
#include "gui/app/StatusBar.h"
#include "gui/editor/TSRMapEditForm.h"
#include "gui/editor/MapView.h"
#include "mapdata/MapFile.h"
#include "mapdata/SettingsStore.h"
#include "sample/SampleClientFiles.h"
#include "support/TempDir.h"

namespace stonereach::test {

inline constexpr std::uint64_t kTokunoSize = 6421156;   // map4.mul, 1448 x 1448
inline constexpr std::uint64_t kIlshenarSize = 11289600; // map2.mul, 2304 x 1600
inline const MapGeometry kTokuno{1448, 1448, 181};

// The main window on files made in a temporary folder: a map file, the
// sample client files, a program directory of its own (home/) and settings
// in memory; every dialog answered from a script.
class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        editorApp();
        std::filesystem::create_directories(home());
    }
    void TearDown() override { unsetenv("STONEREACH_HOME"); }

    QString clientDir() {
        const std::filesystem::path dir = temp / "client";
        if (!std::filesystem::exists(dir / "art.mul")) {
            std::filesystem::create_directories(dir);
            sample::writeSampleClientFiles(dir, 1);
        }
        return QString::fromStdString(dir.string());
    }

    // A map file of the variant's exact size, every cell tile 0 at altitude 0.
    QString mapFile(const std::string& name, std::uint64_t size) {
        const std::filesystem::path path = temp / name;
        writeBytes(path, {});
        std::filesystem::resize_file(path, size);
        return QString::fromStdString(path.string());
    }

    void storePaths(const QString& map, const QString& client) {
        store.setValue(SettingNames::MapPath, map.toStdString());
        store.setValue(SettingNames::ClientDir, client.toStdString());
    }

    // The program directory the window reads its own files from.
    std::filesystem::path home() const { return temp / "home"; }

    void start() {
        setenv("STONEREACH_HOME", home().c_str(), 1);
        window = std::make_unique<TSRMapEditForm>(store, dialogs, bookmarks);
        window->show();
        QCoreApplication::processEvents();
    }

    template <typename T>
    T& child(const char* name) {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr)
            throw std::runtime_error(std::string("no control ") + name);
        return *found;
    }
    QLineEdit& edit(const char* name) { return child<QLineEdit>(name); }
    QString label(const char* name) { return child<QLabel>(name).text(); }
    QString panel(int i) { return child<StatusBar>("StatusBar").panelText(i); }
    MapView& view() { return window->mapView(); }
    // The pointer moves over cell (x, y) of the map view. Sent as an event,
    // since the test's pointer may already stand where the cell is.
    void hover(int x, int y) {
        const QPointF at = view().cellRect(x, y).center();
        QMouseEvent move(QEvent::MouseMove, at, view().viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(view().viewport(), &move);
    }
    void click(const char* name) { QTest::mouseClick(&child<QAbstractButton>(name), Qt::LeftButton); }
    void go(const QString& x, const QString& y) {
        edit("XJumpEdit").setText(x);
        edit("YJumpEdit").setText(y);
        click("CoordGoBtn");
    }

    TempDir temp;
    MemorySettingsStore store;
    ScriptedDialogs dialogs;
    BookmarkTable bookmarks{};
    std::unique_ptr<TSRMapEditForm> window;
};

} // namespace stonereach::test
