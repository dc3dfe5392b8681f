#pragma once

#include <cstdint>
#include <filesystem>

namespace stonereach::sample {

// Sizes of the sample client's files.
namespace SampleClientLayout {
inline constexpr std::uint32_t LandIds = 0x4000;        // records in artidx.mul and texidx.mul
inline constexpr std::uint32_t RadarColours = 0x8000;   // land tiles, then statics
inline constexpr std::uint32_t StaticRadarBase = 0x4000; // radar entry of static id s is this + s
} // namespace SampleClientLayout

// Writes artidx.mul, art.mul, texidx.mul, texmaps.mul and radarcol.mul of
// the sample tile set into dir (which must exist). Ids without a picture get
// index records with offset -1. Every file is written whole under a temporary
// name and then renamed, so an interrupted run leaves no half files.
void writeSampleClientFiles(const std::filesystem::path& dir, std::uint64_t seed);

} // namespace stonereach::sample
