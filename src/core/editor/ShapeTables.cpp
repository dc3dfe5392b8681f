#include "editor/ShapeTables.h"

#include <array>
#include <string>

#include "mapdata/Errors.h"

namespace stonereach {

namespace {

// The nine-tile set by position.
constexpr std::int32_t TopLeft = 467, Top = 468, TopRight = 469;
constexpr std::int32_t Left = 474, Centre = 475, Right = 470;
constexpr std::int32_t BottomLeft = 473, Bottom = 472, BottomRight = 471;

constexpr std::array<std::array<std::int32_t, 3>, 3> kNineTileSet{{
    {TopLeft, Top, TopRight},
    {Left, Centre, Right},
    {BottomLeft, Bottom, BottomRight},
}};

// Each shape in the order its pieces are written.
const BrushEntry kTopRows[] = {{0, 0, TopLeft}, {1, 0, Top}, {2, 0, TopRight}, {0, 1, Left}, {1, 1, Centre}, {2, 1, Right}};
const BrushEntry kRightColumns[] = {{0, 0, Top},    {1, 0, TopRight}, {0, 1, Centre},
                                    {1, 1, Right}, {0, 2, Bottom},   {1, 2, BottomRight}};
const BrushEntry kBottomRows[] = {{0, 0, Left},       {1, 0, Centre}, {2, 0, Right},
                                  {0, 1, BottomLeft}, {1, 1, Bottom}, {2, 1, BottomRight}};
const BrushEntry kLeftColumns[] = {{0, 0, TopLeft}, {1, 0, Top},        {0, 1, Left},
                                   {1, 1, Centre},  {0, 2, BottomLeft}, {1, 2, Bottom}};
const BrushEntry kWholeSet[] = {{0, 0, TopLeft},    {1, 0, Top},    {2, 0, TopRight},
                                {0, 1, Left},       {1, 1, Centre}, {2, 1, Right},
                                {0, 2, BottomLeft}, {1, 2, Bottom}, {2, 2, BottomRight}};
const BrushEntry kCentre[] = {{0, 0, Centre}};
const BrushEntry kTopLeft[] = {{0, 0, TopLeft}};
const BrushEntry kTop[] = {{0, 0, Top}};
const BrushEntry kTopRight[] = {{0, 0, TopRight}};
const BrushEntry kLeft[] = {{0, 0, Left}};
const BrushEntry kRight[] = {{0, 0, Right}};
const BrushEntry kBottomLeft[] = {{0, 0, BottomLeft}};
const BrushEntry kBottom[] = {{0, 0, Bottom}};
const BrushEntry kBottomRight[] = {{0, 0, BottomRight}};

// By button number 1..14.
const std::array<std::span<const BrushEntry>, ShapeCount> kShapes{
    kTopRows, kRightColumns, kBottomRows, kLeftColumns, kWholeSet, kCentre, kTopLeft,
    kTop,     kTopRight,     kLeft,       kRight,       kBottomLeft, kBottom, kBottomRight,
};

} // namespace

std::span<const BrushEntry> shapePieces(int shapeNumber) {
    if (shapeNumber < 1 || shapeNumber > ShapeCount)
        throw RangeError("Shape " + std::to_string(shapeNumber) + " is outside 1.." + std::to_string(ShapeCount));
    return kShapes[static_cast<std::size_t>(shapeNumber - 1)];
}

std::optional<CellPoint> positionInNineTileSet(std::int32_t tile) {
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            if (kNineTileSet[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] == tile)
                return CellPoint{col, row};
    return std::nullopt;
}

} // namespace stonereach
