#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include "gui/app/ScriptedDialogs.h"
#include "render/FakeDrawSource.h"
#include "support/GuiApp.h"
#include "support/TempDir.h"

namespace stonereach::test {

// Drives the modal dialog of type D that the next exec() opens, once it is on
// screen, as a user would. A dialog that `act` leaves open is cancelled, so
// a test that goes wrong fails instead of waiting.
template <typename D>
void whenModal(std::function<void(D&)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<D*>(modal);
        if (dialog == nullptr) {
            ADD_FAILURE() << "no " << D::staticMetaObject.className() << " is open";
            if (auto* other = qobject_cast<QDialog*>(modal))
                other->reject();
            return;
        }
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

// A control of a window found by its name.
template <typename T>
T& child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        throw std::runtime_error(std::string("no control ") + name);
    return *found;
}

// The editor's own files in a program directory of a temporary folder, the
// dialogs' questions answered from a script and tile pictures from memory.
class EditorDialogTest : public ::testing::Test {
protected:
    EditorDialogTest() { guiApp(); }

    std::filesystem::path home() const { return temp / "home"; }
    void writeFile(const std::string& relative, const std::string& text) const {
        const std::filesystem::path path = home() / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string readFile(const std::string& relative) const {
        const auto bytes = readBytes(home() / relative);
        return std::string(bytes.begin(), bytes.end());
    }
    bool exists(const std::string& relative) const { return std::filesystem::exists(home() / relative); }

    TempDir temp;
    ScriptedDialogs dialogs;
    FakeDrawSource pictures;
};

} // namespace stonereach::test
