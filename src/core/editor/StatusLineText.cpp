#include "editor/StatusLineText.h"

#include "mapdata/IntegerText.h"

namespace stonereach {

std::string hoverCellText(int x, int y, const std::optional<MapCell>& cell) {
    std::string text = "X=" + std::to_string(x) + " - Y=" + std::to_string(y);
    if (!cell)
        return text + " - Wrong filename";
    return text + " - Altitude=" + std::to_string(int{cell->z}) + " - Tile=" + intToSpacedHex(cell->tile, 2);
}

std::string altitudeModeText(int modeIndex, std::string_view zText) {
    const std::string z(zText);
    switch (modeIndex) {
    case 0:
        return "Add " + z + " to current altitude";
    case 1:
        return "Subtract " + z + " from current altitude";
    case 2:
        return "Set altitude to " + z;
    case 3:
        return "Only draw tile without set altitude";
    default:
        return {};
    }
}

std::string selectedTileText(std::uint16_t tile) { return " - Selected tile=" + intToSpacedHex(tile, 2); }

std::string selectedGroupText(std::string_view groupName) {
    return " - Selected group: \"" + std::string(groupName) + "\"";
}

std::string selectedModeText(std::string_view altitudePart, std::string_view drawingPart) {
    return "Selected mode: " + std::string(altitudePart) + std::string(drawingPart);
}

std::string_view mapTroubleText(MapFileTrouble trouble) {
    switch (trouble) {
    case MapFileTrouble::None: break;
    case MapFileTrouble::Deleted:
        return "The map file was deleted by another program: nothing is written to it.";
    case MapFileTrouble::CutShort:
        return "The map file was cut short by another program: nothing is written to it until it is whole again.";
    }
    return {};
}

} // namespace stonereach
