#pragma once

class QAction;
class QBoxLayout;
class QGridLayout;
class QMainWindow;
class QMenu;
class QToolButton;
class QString;

namespace stonereach {

// A place in a menu: actions are inserted before `before` (a separator that
// ends the section), or appended when it is null.
struct MenuSection {
    QMenu* menu = nullptr;
    QAction* before = nullptr;
    void add(QAction* action) const;
    // Adds a check item named `name` (its objectName) with a caption.
    QAction* addCheckItem(const QString& name, const QString& caption, bool checked) const;
};

// The places of the main window that its parts fill with their controls.
// The form makes them in the window's layout; each part puts its own
// controls into its places, so the order in which the parts are made does
// not change where anything appears.
struct WindowRegions {
    // TopPanel, from left to right after the Exit button.
    QBoxLayout* toolButtons = nullptr;
    QBoxLayout* overviewButton = nullptr;
    QBoxLayout* brushChooser = nullptr;
    // LeftPanel, from top to bottom.
    QBoxLayout* brushSize = nullptr;
    QBoxLayout* navigation = nullptr;
    // RightPanel: the tile palette.
    QBoxLayout* palette = nullptr;
    // BottomPanel, below the map view: altitude and drawing mode.
    QBoxLayout* drawingModes = nullptr;
    // FileNamePanel: the map path, the client directory and the map
    // information.
    QGridLayout* files = nullptr;

    QMenu* editMenu = nullptr;
    // The "&Extra" menu: the palette's items, the display switches and the
    // tools, in that order, each section closed by a separator; the frame's
    // "&Options..." comes last.
    MenuSection paletteItems;
    MenuSection displayItems;
    MenuSection toolItems;
};

// The main window's frame: the region frames (TopPanel, LeftPanel,
// RightPanel, BottomPanel, FileNamePanel) in its central widget with the
// places of WindowRegions, and the menu bar with its sections. The map view
// and the status line are the caller's to put in.
struct MainWindowFrame {
    WindowRegions regions;
    QBoxLayout* mapView = nullptr;    // between the left and the right panel
    QBoxLayout* statusLine = nullptr; // below everything
    QToolButton* exitButton = nullptr; // first on the tool strip
    QAction* exitAction = nullptr;     // "E&xit"
    QAction* optionsAction = nullptr;  // "&Options...", last in "&Extra"
    QAction* aboutAction = nullptr;    // "About"
};

MainWindowFrame buildMainWindowFrame(QMainWindow& window);

} // namespace stonereach
