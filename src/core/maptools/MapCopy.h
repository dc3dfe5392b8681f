#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "mapdata/Progress.h"
#include "maptools/MapCopyTable.h"

namespace stonereach {

// A rectangle of cells, both corners inclusive, copied from one map file into
// another (or into another place of the same file) with its first corner
// landing at (dx, dy).
struct MapCopyRequest {
    std::filesystem::path source;
    std::filesystem::path destination;
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    int dx = 0;
    int dy = 0;
};

struct MapCopyResult {
    std::uint64_t cellsCopied = 0;
};

namespace MapCopyTexts {
inline constexpr std::string_view WrongCoordinates = "You entered wrong coordinates!";
inline constexpr std::string_view UnknownMap = "Unknown map!";
inline constexpr std::string_view ZeroRectangle = "Coordinates X1,Y1,X2,Y2 cannot be 0!";
} // namespace MapCopyTexts

// A source corner coordinate is valid within 0..max of the source map.
bool mapCopySourceValid(std::int64_t value, int sourceMax);
// A destination corner is valid when it lies in the destination map and the
// last source column (or row) lands there too: 0 <= d <= max and
// second + d - first <= max.
bool mapCopyDestinationValid(std::int64_t d, std::int64_t first, std::int64_t second, int destinationMax);

// Copies the rectangle after the checks, in this order: coordinates valid
// (else "You entered wrong coordinates!"), both maps recognised ("Unknown
// map!"), not all four corner values 0 ("Coordinates X1,Y1,X2,Y2 cannot be
// 0!"); refusals are thrown as Refusal before any file is opened. Each file is
// addressed with its own block height and block headers are never changed.
// The result equals copying single cells column by column, each column top to
// bottom, each write landing before the next read, also when the rectangles
// overlap inside one file. Progress: position x * 100 / X2 after column x.
MapCopyResult copyMapRectangle(const MapCopyRequest& request, const ProgressCallback& progress);

} // namespace stonereach
