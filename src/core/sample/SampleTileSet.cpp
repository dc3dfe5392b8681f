#include "sample/SampleTileSet.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "sample/SampleNoise.h"

namespace stonereach::sample {

namespace {

using namespace SampleTileIds;

struct Rgb {
    double r;
    double g;
    double b;
};

Rgb mixRgb(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scaleRgb(Rgb c, double f) { return {c.r * f, c.g * f, c.b * f}; }

std::uint16_t to555(Rgb c) {
    auto channel = [](double v) {
        return static_cast<std::uint16_t>(std::clamp(static_cast<int>(std::lround(v)), 0, 255) >> 3);
    };
    return static_cast<std::uint16_t>((channel(c.r) << 10) | (channel(c.g) << 5) | channel(c.b));
}

std::vector<SampleTile> buildTiles() {
    std::vector<SampleTile> tiles;
    auto add = [&tiles](const Variants& ids, Terrain terrain, std::array<TileLook, 4> looks) {
        for (std::size_t i = 0; i < ids.size(); ++i)
            tiles.push_back({ids[i], terrain, looks[i]});
    };
    using L = TileLook;
    add(Grass, Terrain::Grass, {L::Texture64, L::Texture64, L::Texture128, L::Texture128});
    add(Forest, Terrain::Forest, {L::ArtClassic, L::ArtClassic, L::ArtClassic, L::ArtExact});
    add(Dirt, Terrain::Dirt, {L::Texture64, L::Texture64, L::Texture64, L::Texture128});
    add(Sand, Terrain::Sand, {L::Texture64, L::Texture128, L::Texture64, L::Texture64});
    add(Rock, Terrain::Rock, {L::ArtClassic, L::ArtClassic, L::ArtClassic, L::ArtClassic});
    add(Snow, Terrain::Snow, {L::Texture64, L::Texture64, L::ArtExact, L::ArtClassic});
    add(Water, Terrain::Water, {L::Texture64, L::Texture64, L::Texture128, L::Texture128});
    add(Lava, Terrain::Lava, {L::Texture64, L::Texture64, L::Texture64, L::Texture64});
    add(CaveFloor, Terrain::CaveFloor, {L::ArtClassic, L::ArtClassic, L::ArtExact, L::ArtClassic});
    for (std::uint16_t id = FrameTopLeft; id <= FrameCentre; ++id)
        tiles.push_back({id, Terrain::FramePiece, L::Texture64});
    std::sort(tiles.begin(), tiles.end(), [](const SampleTile& a, const SampleTile& b) { return a.id < b.id; });
    return tiles;
}

// One painter per ground. Coordinates are pixels of a square of `side`;
// the noises wrap at the side so neighbouring tiles join without seams.
struct Canvas {
    int side;
    std::uint64_t seed;
    double noise(double x, double y, double wavelength, int octaves, std::int64_t salt) const {
        return fractalNoise(hash64(seed, salt), x, y, wavelength * side / 64.0, octaves, side);
    }
    double speck(int x, int y, std::int64_t salt) const { return unitHash(seed, x, y, salt); }
};

Rgb paintGrass(const Canvas& c, int x, int y) {
    const double n = c.noise(x, y, 16, 4, 1);
    Rgb colour = mixRgb({46, 104, 30}, {92, 150, 48}, n);
    if (c.speck(x, y, 2) > 0.93)
        colour = scaleRgb(colour, 0.72);  // dark blades
    if (c.speck(x, y, 3) > 0.985)
        colour = {180, 170, 60};          // a flower here and there
    return colour;
}

Rgb paintForest(const Canvas& c, int x, int y) {
    const double n = c.noise(x, y, 12, 4, 4);
    Rgb colour = mixRgb({28, 64, 22}, {70, 96, 36}, n);
    if (c.speck(x, y, 5) > 0.9)
        colour = mixRgb(colour, {96, 70, 36}, 0.6);  // fallen needles
    return colour;
}

Rgb paintDirt(const Canvas& c, int x, int y) {
    const double n = c.noise(x, y, 16, 4, 6);
    Rgb colour = mixRgb({104, 72, 42}, {150, 112, 70}, n);
    if (c.speck(x, y, 7) > 0.96)
        colour = {170, 160, 145};  // pebbles
    return colour;
}

Rgb paintSand(const Canvas& c, int x, int y) {
    const double n = c.noise(x, y, 8, 3, 8);
    const double ripple = 0.5 + 0.5 * std::sin((x + y * 0.5) * 6.283185307179586 * 4.0 / c.side + n * 3.0);
    Rgb colour = mixRgb({196, 170, 112}, {232, 212, 158}, 0.55 * n + 0.45 * ripple);
    if (c.speck(x, y, 9) > 0.97)
        colour = scaleRgb(colour, 0.85);
    return colour;
}

Rgb paintRock(const Canvas& c, int x, int y) {
    const double n = c.noise(x, y, 16, 5, 10);
    const double ridge = 1.0 - std::abs(2.0 * c.noise(x, y, 24, 3, 11) - 1.0);
    Rgb colour = mixRgb({86, 82, 78}, {150, 144, 136}, n);
    if (ridge > 0.9)
        colour = scaleRgb(colour, 0.6);  // cracks
    return colour;
}

Rgb paintSnow(const Canvas& c, int x, int y) {
    const double n = c.noise(x, y, 16, 4, 12);
    Rgb colour = mixRgb({206, 214, 228}, {248, 248, 255}, n);
    if (c.speck(x, y, 13) > 0.97)
        colour = {180, 192, 212};
    return colour;
}

Rgb paintWater(const Canvas& c, int x, int y) {
    const double n = c.noise(x, y, 16, 4, 14);
    const double wave = 0.5 + 0.5 * std::sin((x * 2.0 + y) * 6.283185307179586 * 3.0 / c.side + n * 4.0);
    Rgb colour = mixRgb({20, 52, 118}, {44, 92, 160}, 0.6 * n + 0.4 * wave);
    if (wave > 0.97 && c.speck(x, y, 15) > 0.5)
        colour = {120, 160, 210};  // crests
    return colour;
}

Rgb paintLava(const Canvas& c, int x, int y) {
    const double vein = 1.0 - std::abs(2.0 * c.noise(x, y, 20, 4, 16) - 1.0);
    const double n = c.noise(x, y, 8, 3, 17);
    const Rgb crust = mixRgb({40, 20, 16}, {80, 36, 24}, n);
    if (vein > 0.8)
        return mixRgb({230, 90, 20}, {255, 210, 60}, (vein - 0.8) * 5.0);
    return crust;
}

Rgb paintCaveFloor(const Canvas& c, int x, int y) {
    const double n = c.noise(x, y, 12, 4, 18);
    Rgb colour = mixRgb({70, 62, 54}, {112, 100, 86}, n);
    if (c.speck(x, y, 19) > 0.95)
        colour = scaleRgb(colour, 0.7);
    return colour;
}

// The pieces of a stone-rimmed floor: each piece carries the rim on the sides
// that face outwards, so the nine pieces laid out make one framed shape.
Rgb paintFramePiece(const Canvas& c, int x, int y, std::uint16_t id) {
    const bool top = id == FrameTopLeft || id == FrameTop || id == FrameTopRight;
    const bool bottom = id == FrameBottomLeft || id == FrameBottom || id == FrameBottomRight;
    const bool left = id == FrameTopLeft || id == FrameLeft || id == FrameBottomLeft;
    const bool right = id == FrameTopRight || id == FrameRight || id == FrameBottomRight;
    const int rim = c.side / 4;
    const int last = c.side - 1;
    // Distance into the rim from the outer edge, or -1 when not on a rim.
    int depth = -1;
    auto consider = [&depth, rim](bool has, int d) {
        if (has && d < rim && (depth < 0 || d < depth))
            depth = d;
    };
    consider(top, y);
    consider(bottom, last - y);
    consider(left, x);
    consider(right, last - x);

    const double n = c.noise(x, y, 16, 3, 20);
    if (depth < 0) {
        // Flagstones inside the frame.
        const bool joint = x % 16 == 0 || (y + (x / 16 % 2) * 8) % 16 == 0;
        const Rgb stone = mixRgb({132, 120, 100}, {164, 150, 126}, n);
        return joint ? scaleRgb(stone, 0.7) : stone;
    }
    if (depth == rim - 1)
        return {200, 190, 170};  // a light edge where the rim meets the floor
    const bool mortar = (top || bottom ? (x + (depth / 4 % 2) * 5) % 10 == 0 : false) ||
                        (left || right ? (y + (depth / 4 % 2) * 5) % 10 == 0 : false) || depth % 8 == 7;
    const Rgb wall = mixRgb({60, 58, 62}, {96, 92, 96}, n);
    return mortar ? scaleRgb(wall, 0.6) : wall;
}

Rgb paintPixel(const SampleTile& tile, const Canvas& c, int x, int y) {
    switch (tile.terrain) {
    case Terrain::Grass: return paintGrass(c, x, y);
    case Terrain::Forest: return paintForest(c, x, y);
    case Terrain::Dirt: return paintDirt(c, x, y);
    case Terrain::Sand: return paintSand(c, x, y);
    case Terrain::Rock: return paintRock(c, x, y);
    case Terrain::Snow: return paintSnow(c, x, y);
    case Terrain::Water: return paintWater(c, x, y);
    case Terrain::Lava: return paintLava(c, x, y);
    case Terrain::CaveFloor: return paintCaveFloor(c, x, y);
    case Terrain::FramePiece: return paintFramePiece(c, x, y, tile.id);
    }
    return {0, 0, 0};
}

} // namespace

std::span<const SampleTile> sampleTiles() {
    static const std::vector<SampleTile> tiles = buildTiles();
    return tiles;
}

int paintedSide(TileLook look) {
    switch (look) {
    case TileLook::Texture64: return 64;
    case TileLook::Texture128: return 128;
    case TileLook::ArtClassic:
    case TileLook::ArtExact: return 45;
    }
    return 0;
}

TileImage paintSampleTile(const SampleTile& tile, std::uint64_t seed) {
    const int side = paintedSide(tile.look);
    const Canvas canvas{side, hash64(seed, tile.id)};
    TileImage image(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.at(x, y) = to555(paintPixel(tile, canvas, x, y));
    return image;
}

std::array<std::uint16_t, 1012> squareToLandArt(const TileImage& square) {
    // The same walk as the decoding: pixel k of diamond row r shows square
    // position (x, y).
    std::array<std::uint16_t, 1012> pixels{};
    std::size_t next = 0;
    for (int r = 0; r < 44; ++r) {
        const bool upper = r < 22;
        const int count = upper ? 2 * (r + 1) : 2 * (44 - r);
        for (int k = 0; k < count; ++k) {
            const int x = upper ? k : 2 * r - 43 + k;
            const int y = upper ? 2 * r + 1 - k : 44 - k;
            pixels[next++] = square.at(std::min(x, square.width - 1), std::min(y, square.height - 1));
        }
    }
    return pixels;
}

std::uint16_t averageColour(const TileImage& image) {
    std::uint64_t r = 0, g = 0, b = 0;
    for (const std::uint16_t p : image.pixels) {
        r += (p >> 10) & 31;
        g += (p >> 5) & 31;
        b += p & 31;
    }
    const std::uint64_t n = std::max<std::uint64_t>(image.pixels.size(), 1);
    return static_cast<std::uint16_t>(((r / n) << 10) | ((g / n) << 5) | (b / n));
}

} // namespace stonereach::sample
