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

// How the sample client keeps its land art.
enum class SampleArtForm {
    MulPair,    // artidx.mul and art.mul
    Container,  // artLegacyMUL.uop, as newer clients have it
};

// Writes artidx.mul, art.mul, texidx.mul, texmaps.mul and radarcol.mul of
// the sample tile set into dir (which must exist). Ids without a picture get
// index records with offset -1. With SampleArtForm::Container the land art
// goes into artLegacyMUL.uop instead of the .mul pair: an entry per tile
// with art, in a shuffled order in the file, every other one compressed
// with zlib. Every file is written whole under a temporary name and then
// renamed, so an interrupted run leaves no half files.
void writeSampleClientFiles(const std::filesystem::path& dir, std::uint64_t seed,
                            SampleArtForm artForm = SampleArtForm::MulPair);

} // namespace stonereach::sample
