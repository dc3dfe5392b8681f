#pragma once

#include <QIcon>

namespace stonereach {

// The program's icon in every size the desktop asks for (16 to 256 pixels),
// from the pictures built into the editor.
QIcon programIcon();

} // namespace stonereach
