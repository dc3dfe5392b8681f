#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "mapdata/TileImage.h"

namespace stonereach {

// One 5-5-5 colour per tile id from the client's radarcol.mul, used for the
// overview picture. All entries are 0 until a load fills them.
class RadarColours {
public:
    static constexpr std::size_t Entries = 32768;
    // Only the Stygian Abyss client's file is read whole; every other
    // variant's load reads the first 16383 colours.
    static constexpr std::size_t StygianAbyssCount = 32768;
    static constexpr std::size_t ClassicCount = 16383;

    // How many colours a load for this map variant name reads.
    static std::size_t countFor(std::string_view variantName);

    // Reads the colours for this variant from the start of the file into the
    // first entries; entries beyond them keep their values. A missing file, or
    // one shorter than the colours to read, raises IoError naming it; the
    // colours that were there are stored before the error is raised.
    void load(const std::filesystem::path& radarcolPath, std::string_view variantName);

    // The colour of tile id: 0 for ids the file did not cover, and for ids
    // beyond the table (a map cell may hold any 16-bit id).
    std::uint16_t colour(std::uint16_t id) const { return id < Entries ? entries_[id] : 0; }
    Rgb8 rgb(std::uint16_t id) const { return rgb555To8(colour(id)); }
    // Sets one entry; ids beyond the table are ignored.
    void set(std::uint16_t id, std::uint16_t value) {
        if (id < Entries)
            entries_[id] = value;
    }

private:
    std::array<std::uint16_t, Entries> entries_{};
};

} // namespace stonereach
