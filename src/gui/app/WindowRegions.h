#pragma once

class QAction;
class QBoxLayout;
class QGridLayout;
class QMenu;

namespace stonereach {

// A place in a menu: actions are inserted before `before` (a separator that
// ends the section), or appended when it is null.
struct MenuSection {
    QMenu* menu = nullptr;
    QAction* before = nullptr;
    void add(QAction* action) const;
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
    // The "&Extra" menu: the palette's items, the display switches, the
    // tools and the options, in that order, each section closed by a
    // separator.
    MenuSection paletteItems;
    MenuSection displayItems;
    MenuSection toolItems;
    MenuSection optionsItems;
};

} // namespace stonereach
