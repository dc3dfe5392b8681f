#include "mapdata/RadarColours.h"

#include <algorithm>
#include <string>
#include <vector>

#include "mapdata/Errors.h"
#include "mapdata/File.h"
#include "mapdata/LittleEndian.h"

namespace stonereach {

std::size_t RadarColours::countFor(std::string_view variantName) {
    return variantName == "Stygian Abyss" ? StygianAbyssCount : ClassicCount;
}

void RadarColours::load(const std::filesystem::path& radarcolPath, std::string_view variantName) {
    const std::size_t wanted = countFor(variantName);
    const File file(radarcolPath, File::Mode::Read);
    // No more than the file holds: a short file's load says so below.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min<std::uint64_t>(wanted * 2, file.size())));
    const std::size_t got = file.readUpTo(0, bytes) / 2;
    for (std::size_t i = 0; i < got; ++i)
        entries_[i] = le::u16(bytes.data() + 2 * i);
    if (got < wanted)
        throw IoError(radarcolPath.string(), "Cannot read " + std::to_string(wanted) +
                                                 " radar colours: the file ends after " + std::to_string(got));
}

} // namespace stonereach

