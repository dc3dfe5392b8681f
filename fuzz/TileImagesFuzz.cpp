// The art and texture index records with their data files, read by the
// shared loaders, and the radar colour table, all held in memory. (The
// dialogs' by-path loaders add only opening the files and their id limits,
// which the tests cover.) Whatever the files hold, a load either gives an image of
// one of the fixed sizes, or says there is none and leaves the image alone,
// or raises IoError.
//
// Input: tile id (2 bytes), variant choice (1), spare (1), then the lengths of
// texidx.mul, texmaps.mul, artidx.mul, art.mul and radarcol.mul (2 bytes each);
// then the five files' bytes in that order.
#include <array>
#include <string_view>

#include "FuzzSupport.h"
#include "mapdata/ClientFiles.h"
#include "mapdata/Errors.h"
#include "mapdata/File.h"
#include "mapdata/LandArtImage.h"
#include "mapdata/LandTileImage.h"
#include "mapdata/RadarColours.h"
#include "mapdata/TextureImage.h"

namespace {

using namespace stonereach;
using fuzz::take;

constexpr std::array<std::string_view, 5> fileNames = {ClientFile::TextureIndex, ClientFile::Textures,
                                                       ClientFile::ArtIndex, ClientFile::Art, ClientFile::RadarColours};

// An image no loader makes, so an untouched image is told from a loaded one.
TileImage marker() {
    TileImage image(3, 2);
    image.pixels = {1, 2, 3, 4, 5, 6};
    return image;
}

bool isMarker(const TileImage& image) { return image.width == 3 && image.height == 2 && image.pixels == marker().pixels; }

bool isTexture(const TileImage& image) {
    return (image.width == 64 || image.width == 128) && image.height == image.width &&
           image.pixels.size() == static_cast<std::size_t>(image.width * image.width);
}

bool isLandArt(const TileImage& image) {
    return image.width == 45 && image.height == 45 && image.pixels.size() == 45u * 45u && image.at(0, 0) == 0;
}

// Runs a load; it may only raise IoError. Returns whether the image changed.
template <class Load>
void checkLoad(Load load, bool (*isLoaded)(const TileImage&), bool mayKeepOnSuccess) {
    TileImage image = marker();
    try {
        const bool found = load(image);
        if (found)
            FUZZ_CHECK(isLoaded(image) || (mayKeepOnSuccess && isMarker(image)));
        else
            FUZZ_CHECK(isMarker(image));
    } catch (const IoError&) {
        FUZZ_CHECK(isMarker(image));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> input(data, size);
    const auto id = take<std::uint16_t>(input);
    const bool stygianAbyss = (take<std::uint8_t>(input) & 1) != 0;
    (void)take<std::uint8_t>(input);
    std::array<std::size_t, fileNames.size()> lengths{};
    for (auto& length : lengths)
        length = take<std::uint16_t>(input);

    static const std::array<std::filesystem::path, fileNames.size()> paths = [] {
        std::array<std::filesystem::path, fileNames.size()> made;
        for (std::size_t i = 0; i < fileNames.size(); ++i)
            made[i] = clientFilePath(fuzz::memoryFolder(), fileNames[i]);
        return made;
    }();
    std::array<std::size_t, fileNames.size()> written{};
    for (std::size_t i = 0; i < fileNames.size(); ++i) {
        const auto bytes = input.first(std::min(lengths[i], input.size()));
        input = input.subspan(bytes.size());
        fuzz::writeFile(paths[i], bytes);
        written[i] = bytes.size();
    }

    const File texIdx(paths[0], File::Mode::Read);
    const File texMaps(paths[1], File::Mode::Read);
    const File artIdx(paths[2], File::Mode::Read);
    const File art(paths[3], File::Mode::Read);
    const bool placeholder = isPlaceholderLandTile(id);

    checkLoad([&](TileImage& image) { return loadTextureImage(texIdx, texMaps, id, image); }, isTexture, false);
    checkLoad([&](TileImage& image) { return loadLandArtImage(artIdx, art, id, image); }, isLandArt, placeholder);
    checkLoad(
        [&](TileImage& image) {
            return loadLandTileImage(texIdx, texMaps, artIdx, art, id, image) != TileImageSource::None;
        },
        [](const TileImage& image) { return isTexture(image) || isLandArt(image); }, placeholder);

    RadarColours colours;
    const std::string_view variant = stygianAbyss ? "Stygian Abyss" : "Tokuno";
    const std::size_t count = RadarColours::countFor(variant);
    try {
        colours.load(paths[4], variant);
        FUZZ_CHECK(written[4] / 2 >= count);
    } catch (const IoError&) {
        FUZZ_CHECK(written[4] / 2 < count);
    }
    // Entries beyond those a load reads stay 0: the first ones, the last one
    // and a spread between (all of them cost more than the load).
    for (std::size_t i = count; i < RadarColours::Entries; i += i < count + 8 ? 1 : 509)
        FUZZ_CHECK(colours.colour(static_cast<std::uint16_t>(i)) == 0);
    FUZZ_CHECK(colours.colour(RadarColours::Entries - 1) == 0 || count == RadarColours::Entries);
    return 0;
}
