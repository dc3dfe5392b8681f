#include "sample/SampleBrushesAndPlaces.h"

#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "editor/BrushFile.h"
#include "editor/BrushGrid.h"
#include "mapdata/Errors.h"
#include "sample/SampleTerrain.h"
#include "sample/SampleTileSet.h"

namespace stonereach::sample {

namespace {

using namespace SampleTileIds;

// The land is looked at on a lattice this coarse: places are for finding
// one's way, and a whole map is read in a moment.
constexpr int kScanStep = 16;
// The cave region is made of square slots, each with a chamber around its
// centre when it has one.
constexpr int kCaveSlot = 64;

// Cells on a lattice of `step` from fromX to toX, starting half a step in.
struct Lattice {
    int fromX;
    int toX;
    int step;
};

struct Cell {
    int x;
    int y;
};

// A brush drawn as rows of letters, one per cell: '.' is NODRAW, the others
// name a ground, whose four tile variants are used in turn for a less
// regular look.
BrushGrid brushFromPicture(const std::vector<std::string>& picture) {
    BrushGrid grid;
    grid.clearForLoading();
    grid.setRows(static_cast<int>(picture.size()));
    grid.setColumns(static_cast<int>(picture.front().size()));
    for (int row = 0; row < grid.rows(); ++row) {
        for (int col = 0; col < grid.columns(); ++col) {
            const Variants* ground = nullptr;
            switch (picture[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)]) {
            case 'g': ground = &Grass; break;
            case 'f': ground = &Forest; break;
            case 'd': ground = &Dirt; break;
            case 's': ground = &Sand; break;
            case 'r': ground = &Rock; break;
            case 'w': ground = &Water; break;
            default: break;
            }
            if (ground != nullptr)
                grid.setCell(col, row, (*ground)[static_cast<std::size_t>(col + row) % ground->size()]);
        }
    }
    return grid;
}

// The lattice cell nearest to `centre` for which `wanted` holds, if any.
template <class Wanted>
std::optional<Cell> nearest(const SampleTerrain& terrain, Cell centre, Lattice lattice, Wanted wanted) {
    std::optional<Cell> best;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (int x = lattice.fromX + lattice.step / 2; x < lattice.toX; x += lattice.step) {
        for (int y = lattice.step / 2; y < terrain.geometry().height; y += lattice.step) {
            if (!wanted(x, y))
                continue;
            const long long dx = x - centre.x;
            const long long dy = y - centre.y;
            if (dx * dx + dy * dy < bestDistance) {
                bestDistance = dx * dx + dy * dy;
                best = Cell{x, y};
            }
        }
    }
    return best;
}

} // namespace

CoordinateList samplePlaces(const SampleWorldOptions& world) {
    const MapVariant* variant = findVariantByName(world.variantName);
    if (variant == nullptr)
        throw RangeError("Unknown map variant: " + world.variantName);
    const SampleTerrain terrain(MapGeometry::of(*variant), world.seed);
    const int surfaceEnd = terrain.caveStart();
    const Cell middle{surfaceEnd / 2, terrain.geometry().height / 2};
    const Lattice land{0, surfaceEnd, kScanStep};
    const auto is = [&terrain](Terrain t) {
        return [&terrain, t](int x, int y) { return terrain.groundAt(x, y).terrain == t; };
    };

    std::vector<std::optional<Cell>> places;
    // Sand with the sea a few cells off: a beach.
    places.push_back(nearest(terrain, middle, land, [&](int x, int y) {
        if (terrain.groundAt(x, y).terrain != Terrain::Sand)
            return false;
        for (const auto& [dx, dy] : {std::pair{4, 0}, std::pair{-4, 0}, std::pair{0, 4}, std::pair{0, -4}}) {
            const int nx = x + dx;
            const int ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < surfaceEnd && ny < terrain.geometry().height &&
                terrain.groundAt(nx, ny).terrain == Terrain::Water)
                return true;
        }
        return false;
    }));
    // The highest lattice cell of the land.
    int highest = std::numeric_limits<int>::min();
    std::optional<Cell> top;
    for (int x = kScanStep / 2; x < surfaceEnd; x += kScanStep)
        for (int y = kScanStep / 2; y < terrain.geometry().height; y += kScanStep)
            if (const int z = terrain.groundAt(x, y).cell.z; z > highest) {
                highest = z;
                top = Cell{x, y};
            }
    places.push_back(top);
    places.push_back(nearest(terrain, middle, land, is(Terrain::Forest)));
    places.push_back(nearest(terrain, middle, land, is(Terrain::Lava)));
    // The centre of the chamber nearest to the cave region's west edge.
    places.push_back(nearest(terrain, {surfaceEnd, middle.y}, {surfaceEnd, terrain.geometry().width, kCaveSlot},
                             is(Terrain::FramePiece)));

    CoordinateList list;
    for (const auto& place : places)
        if (place)
            list.push_back({std::to_string(place->x), std::to_string(place->y)});
    return list;
}

void writeSampleBrushesAndPlaces(const std::filesystem::path& homeDir, const SampleWorldOptions& world) {
    const CoordinateList places = samplePlaces(world);
    const std::filesystem::path brushes = homeDir / std::string(kBrushFolderName);
    // Altitude is left to the painting tools: the hill is a patch of ground
    // that rises from grass through woods and dirt to rock.
    saveBrush(brushes, "Hill", brushFromPicture({".ggg.", "gfdfg", "gdrdg", "gfdfg", ".ggg."}));
    // A beach from the sea in the north-west to the grass in the south-east.
    saveBrush(brushes, "Shore", brushFromPicture({"wwws", "wwss", "wssg", "ssgg"}));
    // A winding dirt path going south.
    saveBrush(brushes, "Path", brushFromPicture({"d..", "dd.", ".d.", ".dd", "..d", ".dd"}));
    writeCoordinatesFile(homeDir / "coords.def", places);
}

} // namespace stonereach::sample
