#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "mapdata/TileImage.h"

namespace stonereach::cli {

// An 8-bit RGB picture, rows top to bottom, encoded as a PNG file's bytes.
// Throws Error when the picture is empty or cannot be compressed.
std::vector<std::uint8_t> encodeRgbPng(int width, int height, std::span<const Rgb8> pixels);

// Encodes the picture and writes it beside the target, renamed into place
// once complete, so a failed write never leaves a half picture. Throws
// IoError or Error.
void writeRgbPng(const std::filesystem::path& path, int width, int height, std::span<const Rgb8> pixels);

} // namespace stonereach::cli
