#pragma once

#include <QApplication>

#include "gui/app/GuiTestSupport.h"

namespace stonereach::test {

// The one application of a GUI test program: the editor's own, made by the
// test program's main.
inline QApplication& guiApp() { return editorApp(); }

} // namespace stonereach::test
