#pragma once

#include <QString>

class QWidget;

namespace stonereach {

class EditorLink;
class WindowDialogs;

// "Patch Map from file": asks for a .bnp file and applies it to the map file
// open in the main window, in place, with a progress window; the map view
// repaints afterwards, also when the user cancels or an entry fails. Entries
// outside the map are never written; when there were any, the user is told
// how many. `folder` is where the file dialog starts; it becomes the folder
// of the file chosen.
void patchMapFromFile(EditorLink& link, WindowDialogs& dialogs, QString& folder);

} // namespace stonereach
