#include "sample/SampleHome.h"

#include <string>
#include <vector>

#include "editor/SelectionGroups.h"
#include "editor/TileLists.h"
#include "mapdata/IntegerText.h"
#include "sample/SampleBrushesAndPlaces.h"
#include "sample/SampleTileSet.h"

namespace stonereach::sample {

namespace {

using namespace SampleTileIds;

std::vector<std::string> dollarHex(std::initializer_list<Variants> grounds) {
    std::vector<std::string> items;
    for (const Variants& ids : grounds)
        for (const std::uint16_t id : ids)
            items.push_back(tileIdToDollarHex(id));
    return items;
}

// Every land tile of the sample client, ground by ground from the lowlands
// up, then the water, the cave and the nine-tile set in reading order.
std::vector<std::string> allTiles() {
    std::vector<std::string> items = dollarHex({Grass, Forest, Dirt, Sand, Rock, Snow, Water, Lava, CaveFloor});
    for (const std::uint16_t id : {FrameTopLeft, FrameTop, FrameTopRight, FrameLeft, FrameCentre, FrameRight,
                                   FrameBottomLeft, FrameBottom, FrameBottomRight})
        items.push_back(tileIdToDollarHex(id));
    return items;
}

TTileNamed group(std::string name, std::initializer_list<Variants> grounds) {
    return TTileNamed{std::move(name), dollarHex(grounds)};
}

} // namespace

void writeSampleHome(const std::filesystem::path& dir, const SampleWorldOptions& world) {
    const std::filesystem::path textures = dir / std::string(kTileListFolderName);
    writeTileList(textures / std::string(kStartupTileListName), allTiles());
    // What painting a coast needs, from the sea up the beach.
    writeTileList(textures / "coast.lst", dollarHex({Water, Sand, Grass}));

    const std::vector<TTileNamed> groups = {
        group("Grass", {Grass}),
        group("Forest", {Forest}),
        group("Dirt", {Dirt}),
        group("Sand", {Sand}),
        group("Sand & Grass", {Sand, Grass}),
        group("Rock", {Rock}),
        group("Snow", {Snow}),
        group("Water", {Water}),
        group("Lava", {Lava}),
        group("Cave floor", {CaveFloor}),
    };
    writeSelectionGroups(dir / std::string(kSelectionGroupFileName), groups);
    writeSampleBrushesAndPlaces(dir, world);
}

} // namespace stonereach::sample
