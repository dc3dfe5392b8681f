#pragma once

namespace stonereach {

// The display switches that decide how a map cell is drawn; read at every draw.
struct CellDrawOptions {
    bool showAltitude = false;    // the altitude label (and, with coloredAltitude, its colour)
    bool coloredAltitude = false; // label background in the altitude colour instead of white
    bool showOnlyColor = false;   // no tile picture; with showAltitude the cell is filled with the label colour
    bool showNumber = true;       // the label shows the altitude; off: four blanks
    bool shapeToolDown = false;   // the current cell's outline is blue instead of red
    friend bool operator==(const CellDrawOptions&, const CellDrawOptions&) = default;
};

} // namespace stonereach
