#pragma once

#include <cstdint>
#include <vector>

#include "mapdata/MapLayout.h"
#include "mapdata/MapVariant.h"

// The small map the programs that write cells work on.
namespace stonereach::fuzz {

// 4 x 3 blocks, not square, so a mix-up of columns and rows shows.
inline constexpr MapGeometry smallMapGeometry{32, 24, 3};

// The bytes of a small map where every byte differs from its neighbours, so
// any shifted or overwritten byte shows. Made once: each run starts from it.
inline const std::vector<std::uint8_t>& smallPatternMap() {
    static const std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> pattern(4 * 3 * MapLayout::BlockSize);
        for (std::size_t i = 0; i < pattern.size(); ++i)
            pattern[i] = static_cast<std::uint8_t>((i * 7 + 3) % 251);
        return pattern;
    }();
    return bytes;
}

} // namespace stonereach::fuzz
