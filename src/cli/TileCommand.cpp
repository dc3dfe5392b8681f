#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/PngOutput.h"
#include "mapdata/ClientFiles.h"
#include "mapdata/Errors.h"
#include "mapdata/File.h"
#include "mapdata/IntegerText.h"
#include "mapdata/LandTileImage.h"
#include "mapdata/MapLayout.h"

namespace stonereach::cli {

namespace {

struct TileArgs {
    std::string clientDir;
    std::string id;
    std::string out;
};

int runTile(const TileArgs& args) {
    const int id = parseInteger(args.id);
    if (!isTileId(id))
        throw RangeError("Tile id " + args.id + " is outside 0..65535");

    const File texIdx(clientFilePath(args.clientDir, ClientFile::TextureIndex), File::Mode::Read);
    const File texMaps(clientFilePath(args.clientDir, ClientFile::Textures), File::Mode::Read);
    LandArtFiles art(args.clientDir);
    TileImage image;
    const TileImageSource source = loadLandTileImage(texIdx, texMaps, art, static_cast<std::uint16_t>(id), image);
    if (const auto notice = art.takeNotice())
        std::cerr << "stonereach-cli: " << *notice << '\n';
    if (source == TileImageSource::None) {
        std::cerr << "stonereach-cli: Tile " << id << " has no texture and no land art\n";
        return ExitFailed;
    }
    // Tiles 7 and 8 succeed as land art without a picture of their own.
    if (image.isEmpty()) {
        std::cerr << "stonereach-cli: Tile " << id << " has no picture of its own\n";
        return ExitFailed;
    }
    // The colours of the map view: each 5-bit component shifted left by 3.
    std::vector<Rgb8> rgb(image.pixels.size());
    std::transform(image.pixels.begin(), image.pixels.end(), rgb.begin(), rgb555To8);
    // Written beside the target and renamed into place: a full disk leaves no
    // half picture, and the error says why.
    writeRgbPng(args.out, image.width, image.height, rgb);
    std::cout << "tile " << id << ": " << (source == TileImageSource::Texture ? "texture" : "land art") << ' '
              << image.width << 'x' << image.height << " -> " << args.out << '\n';
    return ExitOk;
}

} // namespace

void addTileCommand(CLI::App& app, Action& action) {
    auto* cmd = app.add_subcommand("tile", "Save the picture the map view draws for a land tile as PNG: its texture,\n"
                                           "else its land art. Exits with 1 when the tile has neither.\n"
                                           "Example: stonereach-cli tile world 3 grass.png");
    auto args = std::make_shared<TileArgs>();
    cmd->add_option("CLIENTDIR", args->clientDir, "Client directory (texidx.mul, texmaps.mul, and artidx.mul with art.mul or artLegacyMUL.uop)")
        ->required();
    cmd->add_option("ID", args->id, "Land tile id, decimal or $ and hexadecimal")->required();
    cmd->add_option("OUT", args->out, "PNG file to write")->required();
    cmd->callback([&action, args] { action = [args] { return runTile(*args); }; });
}

} // namespace stonereach::cli
