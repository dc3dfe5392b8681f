#pragma once

#include <cstdint>
#include <vector>

namespace stonereach {

// A tile picture with 15-bit 5-5-5 pixels (bits 10-14 red, 5-9 green, 0-4
// blue, bit 15 ignored), row by row from the top. The values are copied from
// the client files unchanged.
struct TileImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint16_t> pixels;

    TileImage() = default;
    TileImage(int w, int h, std::uint16_t fill = 0)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

    std::uint16_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    std::uint16_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
    bool isEmpty() const { return width <= 0 || height <= 0; }
};

// An 8-bit-per-channel colour.
struct Rgb8 {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb8&, const Rgb8&) = default;
};

// 5-5-5 to 8 bits per channel: each component shifted left by 3, low bits
// left at 0 (0x7FFF gives 248, 248, 248).
constexpr Rgb8 rgb555To8(std::uint16_t c) {
    return Rgb8{static_cast<std::uint8_t>(((c >> 10) & 31) << 3), static_cast<std::uint8_t>(((c >> 5) & 31) << 3),
                static_cast<std::uint8_t>((c & 31) << 3)};
}
static_assert(rgb555To8(0x7C00) == Rgb8{248, 0, 0});
static_assert(rgb555To8(0x7FFF) == Rgb8{248, 248, 248});
static_assert(rgb555To8(0x001F) == Rgb8{0, 0, 248});

} // namespace stonereach
