#include "sample/SampleTerrain.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "mapdata/LittleEndian.h"
#include "sample/SampleNoise.h"

namespace stonereach::sample {

namespace {

using namespace SampleTileIds;

// Share of the height field under the sea, and the bands of the land above
// it as fractions of the land's height rank.
constexpr double SeaShare = 0.32;
constexpr double CoastBand = 0.03;
constexpr double RockBand = 0.78;
constexpr double SnowBand = 0.94;
constexpr double MaxAltitude = 112.0;
constexpr std::int8_t WaterAltitude = -5;
constexpr int HeightStep = 4;  // cells between height lattice points
constexpr int DetailStep = 16;

// Cave region layout: chambers in square slots, tunnels along slot centres.
constexpr int CaveSlot = 64;

enum Salt : std::int64_t {
    SaltHeight = 1, SaltMoisture, SaltWoods, SaltFire, SaltVariant, SaltJitter, SaltHeader,
    SaltRoom, SaltTunnelAcross, SaltTunnelDown, SaltCaveRock,
};

std::uint16_t pick(const Variants& ids, std::uint64_t h) { return ids[h & 3]; }

// Replaces the grid's values by their rank (0..1) among all values, so the
// share of sea and of each land band is the same whatever the seed.
void rankValues(std::vector<float>& values) {
    constexpr int Bins = 4096;
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    const float low = *lo;
    const float span = std::max(*hi - low, 1e-6F);
    std::array<double, Bins + 1> cumulative{};
    auto bin = [&](float v) {
        return std::clamp(static_cast<int>((v - low) / span * (Bins - 1)), 0, Bins - 1);
    };
    for (const float v : values)
        cumulative[static_cast<std::size_t>(bin(v)) + 1] += 1.0;
    for (std::size_t i = 1; i <= Bins; ++i)
        cumulative[i] += cumulative[i - 1];
    const double total = static_cast<double>(values.size());
    for (float& v : values) {
        // Within a bin, interpolate so the rank stays smooth.
        const int b = bin(v);
        const double inBin = std::clamp(static_cast<double>((v - low) / span) * (Bins - 1) - b, 0.0, 1.0);
        const double below = cumulative[static_cast<std::size_t>(b)];
        const double here = cumulative[static_cast<std::size_t>(b) + 1] - below;
        v = static_cast<float>((below + here * inBin) / total);
    }
}

CoarseGrid noiseGrid(const MapGeometry& g, int step, std::uint64_t seed, double wavelength, int octaves) {
    CoarseGrid grid(g.width, g.height, step);
    for (int j = 0; j < grid.rows(); ++j)
        for (int i = 0; i < grid.columns(); ++i)
            grid.point(i, j) = static_cast<float>(fractalNoise(seed, i * step, j * step, wavelength, octaves));
    return grid;
}

} // namespace

CoarseGrid::CoarseGrid(int width, int height, int step)
    : columns_(width / step + 2), rows_(height / step + 2), step_(step),
      values_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0.0F) {}

float CoarseGrid::at(int x, int y) const {
    const int i = x / step_;
    const int j = y / step_;
    const float tx = static_cast<float>(x % step_) / static_cast<float>(step_);
    const float ty = static_cast<float>(y % step_) / static_cast<float>(step_);
    const float top = point(i, j) + (point(i + 1, j) - point(i, j)) * tx;
    const float bottom = point(i, j + 1) + (point(i + 1, j + 1) - point(i, j + 1)) * tx;
    return top + (bottom - top) * ty;
}

SampleTerrain::SampleTerrain(const MapGeometry& geometry, std::uint64_t seed)
    : geometry_(geometry), seed_(seed),
      caveStart_(geometry.width * 5 / 6 / MapLayout::BlockSide * MapLayout::BlockSide) {
    // Continents a few hundred cells across with detail down to a few cells.
    rank_ = noiseGrid(geometry, HeightStep, hash64(seed, SaltHeight), 1024.0, 8);
    rankValues(rank_.values());
    moisture_ = noiseGrid(geometry, DetailStep, hash64(seed, SaltMoisture), 512.0, 4);
    woods_ = noiseGrid(geometry, DetailStep, hash64(seed, SaltWoods), 160.0, 4);
    fire_ = noiseGrid(geometry, DetailStep, hash64(seed, SaltFire), 96.0, 3);
}

SampleTerrain::Ground SampleTerrain::groundAt(int x, int y) const {
    return x >= caveStart_ ? caveAt(x, y) : surfaceAt(x, y);
}

SampleTerrain::Ground SampleTerrain::surfaceAt(int x, int y) const {
    const std::uint64_t h = hash64(seed_, x, y, SaltVariant);
    const double rank = rank_.at(x, y);
    if (rank < SeaShare)
        return {Terrain::Water, {pick(Water, h), WaterAltitude}};

    const double t = (rank - SeaShare) / (1.0 - SeaShare);
    auto altitudeAt = [](double land) { return MaxAltitude * land * land * land; };
    const double z = altitudeAt(t);
    // Steepness from the neighbouring lattice heights, in altitude per cell.
    const double across = altitudeAt((rank_.at(x + HeightStep, y) - SeaShare) / (1.0 - SeaShare)) - z;
    const double down = altitudeAt((rank_.at(x, y + HeightStep) - SeaShare) / (1.0 - SeaShare)) - z;
    const double slope = std::max(std::abs(across), std::abs(down)) / HeightStep;
    const int jitter = t < RockBand ? static_cast<int>((h >> 8) % 3) - 1 : static_cast<int>((h >> 8) % 7) - 3;
    const auto altitude = static_cast<std::int8_t>(std::clamp(static_cast<int>(std::lround(z)) + jitter, 0, 127));

    Terrain terrain;
    if (t < CoastBand)
        terrain = Terrain::Sand;
    else if (t > SnowBand)
        terrain = Terrain::Snow;
    else if (t > RockBand || slope > 3.0)
        terrain = (t > RockBand + 0.04 && fire_.at(x, y) > 0.74) ? Terrain::Lava : Terrain::Rock;
    else if (moisture_.at(x, y) < 0.36)
        terrain = t < 0.25 && moisture_.at(x, y) < 0.3 ? Terrain::Sand : Terrain::Dirt;
    else if (woods_.at(x, y) > 0.56)
        terrain = Terrain::Forest;
    else
        terrain = Terrain::Grass;

    static constexpr std::array<const Variants*, 10> idsOf{&Grass, &Forest, &Dirt, &Sand, &Rock,
                                                           &Snow, &Water, &Lava, &CaveFloor, &CaveFloor};
    return {terrain, {pick(*idsOf[static_cast<std::size_t>(terrain)], h), altitude}};
}

SampleTerrain::Ground SampleTerrain::caveAt(int x, int y) const {
    const std::uint64_t h = hash64(seed_, x, y, SaltVariant);
    const int local = x - caveStart_;
    const int sx = local / CaveSlot;
    const int sy = y / CaveSlot;
    const int ox = local % CaveSlot;
    const int oy = y % CaveSlot;
    const int centre = CaveSlot / 2;

    // A chamber in most slots, always around the slot's centre.
    const std::uint64_t room = hash64(seed_, sx, sy, SaltRoom);
    if (room % 10 < 8) {
        const int w = 10 + static_cast<int>((room >> 8) % 31);
        const int hgt = 10 + static_cast<int>((room >> 16) % 31);
        const int left = std::clamp(centre - 2 - static_cast<int>((room >> 24) % static_cast<std::uint64_t>(w - 4)), 2, CaveSlot - 2 - w);
        const int top = std::clamp(centre - 2 - static_cast<int>((room >> 32) % static_cast<std::uint64_t>(hgt - 4)), 2, CaveSlot - 2 - hgt);
        const int right = left + w - 1;
        const int bottom = top + hgt - 1;
        if (ox >= left && ox <= right && oy >= top && oy <= bottom) {
            const bool onTop = oy == top, onBottom = oy == bottom, onLeft = ox == left, onRight = ox == right;
            std::uint16_t piece = FrameCentre;
            if (onTop)
                piece = onLeft ? FrameTopLeft : onRight ? FrameTopRight : FrameTop;
            else if (onBottom)
                piece = onLeft ? FrameBottomLeft : onRight ? FrameBottomRight : FrameBottom;
            else if (onLeft)
                piece = FrameLeft;
            else if (onRight)
                piece = FrameRight;
            return {Terrain::FramePiece, {piece, 0}};
        }
    }

    // Tunnels three cells wide along the slot centre lines, to the next slot.
    const bool across = std::abs(oy - centre) <= 1 && hash64(seed_, sx, sy, SaltTunnelAcross) % 10 < 7 &&
                        ox >= centre;
    const bool acrossIn = std::abs(oy - centre) <= 1 && ox < centre && sx > 0 &&
                          hash64(seed_, sx - 1, sy, SaltTunnelAcross) % 10 < 7;
    const bool down = std::abs(ox - centre) <= 1 && hash64(seed_, sx, sy, SaltTunnelDown) % 10 < 6 && oy >= centre;
    const bool downIn = std::abs(ox - centre) <= 1 && oy < centre && sy > 0 &&
                        hash64(seed_, sx, sy - 1, SaltTunnelDown) % 10 < 6;
    if (across || acrossIn || down || downIn)
        return {Terrain::CaveFloor, {pick(CaveFloor, h), static_cast<std::int8_t>((h >> 8) % 2)}};

    const double bump = unitHash(seed_, x / 4, y / 4, SaltCaveRock);
    return {Terrain::Rock, {pick(Rock, h), static_cast<std::int8_t>(12 + static_cast<int>(bump * 10.0))}};
}

void SampleTerrain::fillBlockColumn(int bx, std::span<std::uint8_t> out) const {
    const int blocks = geometry_.blockHeight;
    for (int by = 0; by < blocks; ++by) {
        std::uint8_t* block = out.data() + static_cast<std::size_t>(by) * MapLayout::BlockSize;
        le::put32(block, static_cast<std::uint32_t>(hash64(seed_, bx, by, SaltHeader)));
        for (int cy = 0; cy < MapLayout::BlockSide; ++cy)
            for (int cx = 0; cx < MapLayout::BlockSide; ++cx) {
                const int x = bx * MapLayout::BlockSide + cx;
                const int y = by * MapLayout::BlockSide + cy;
                encodeCell(block + cellOffsetInBlock(cx, cy), groundAt(x, y).cell);
            }
    }
}

} // namespace stonereach::sample
