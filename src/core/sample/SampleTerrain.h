#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "mapdata/MapLayout.h"
#include "mapdata/MapVariant.h"
#include "sample/SampleTileSet.h"

namespace stonereach::sample {

// A field of values on a coarse lattice, read between lattice points by
// bilinear interpolation, so a costly noise is evaluated once per lattice
// point instead of once per cell.
class CoarseGrid {
public:
    CoarseGrid() = default;
    CoarseGrid(int width, int height, int step);
    float& point(int i, int j) { return values_[static_cast<std::size_t>(j) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(i)]; }
    float point(int i, int j) const { return values_[static_cast<std::size_t>(j) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(i)]; }
    float at(int x, int y) const;
    int columns() const { return columns_; }
    int rows() const { return rows_; }
    int step() const { return step_; }
    std::vector<float>& values() { return values_; }

private:
    int columns_ = 0;
    int rows_ = 0;
    int step_ = 1;
    std::vector<float> values_;
};

// The sample world's land: a smooth fractal height field with seas, coasts,
// plains, hills and mountains, ground chosen by height, slope, moisture and
// woodland, and in the east a cave region of framed chambers joined by
// tunnels. Every cell is a pure function of the seed and its position.
class SampleTerrain {
public:
    SampleTerrain(const MapGeometry& geometry, std::uint64_t seed);

    const MapGeometry& geometry() const { return geometry_; }

    // The ground and map cell at (x, y).
    struct Ground {
        Terrain terrain;
        MapCell cell;
    };
    Ground groundAt(int x, int y) const;

    // The bytes of block column bx, all blocks from top to bottom as they lie
    // in the map file (block headers filled with random bytes).
    void fillBlockColumn(int bx, std::span<std::uint8_t> out) const;

    // First cell column of the cave region.
    int caveStart() const { return caveStart_; }

private:
    Ground surfaceAt(int x, int y) const;
    Ground caveAt(int x, int y) const;

    MapGeometry geometry_;
    std::uint64_t seed_;
    int caveStart_;
    CoarseGrid rank_;      // height as its rank among all heights, 0..1
    CoarseGrid moisture_;
    CoarseGrid woods_;
    CoarseGrid fire_;
};

} // namespace stonereach::sample
