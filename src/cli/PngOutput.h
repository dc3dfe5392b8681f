#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "mapdata/TileImage.h"

namespace stonereach::cli {

// A picture's rows as a PNG file stores them before compression: each row is
// a filter byte (no filter) followed by the row's 8-bit RGB pixels. A picture
// can be drawn straight into them, pixel (x, y) at
// bytes()[FirstPixel + y * rowStride() + 3 * x]; the pixel bytes start out
// undefined, and every one must be drawn.
class PngRows {
public:
    static constexpr std::size_t FirstPixel = 1;

    // Throws Error when the picture would have no pixels.
    PngRows(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    std::size_t rowStride() const { return rowStride_; }
    std::span<std::uint8_t> bytes() { return {data_.get(), size_}; }
    std::span<const std::uint8_t> bytes() const { return {data_.get(), size_}; }

private:
    int width_;
    int height_;
    std::size_t rowStride_;
    std::size_t size_;
    std::unique_ptr<std::uint8_t[]> data_;
};

// Encodes the rows and writes them beside the target, renamed into place once
// complete, so a failed write never leaves a half picture. Throws IoError or
// Error.
void writePng(const std::filesystem::path& path, const PngRows& rows);

// The same for a picture of packed pixels.
void writeRgbPng(const std::filesystem::path& path, int width, int height, std::span<const Rgb8> pixels);

} // namespace stonereach::cli
