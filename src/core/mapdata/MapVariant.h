#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace stonereach {

// One known kind of map file: which facet and which client generation, told
// apart by file name and exact size.
struct MapVariant {
    std::string_view fileName;  // lower case
    std::uint64_t sizeBytes;
    std::string_view name;      // shown as the map's variant
    std::string_view sizeText;  // shown as the map's size, "WIDTHxHEIGHT"
    int width;                  // cells
    int height;                 // cells
    int blocksAcross;
    int blockHeight;            // blocks down
};

// The cell geometry a map file is addressed with.
struct MapGeometry {
    int width = 0;        // cells
    int height = 0;       // cells
    int blockHeight = 0;  // blocks down; the stride of a block column

    static MapGeometry of(const MapVariant& v) { return {v.width, v.height, v.blockHeight}; }
    int blocksAcross() const { return width / 8; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    friend bool operator==(const MapGeometry&, const MapGeometry&) = default;
};

// The eight known variants, in table order.
std::span<const MapVariant> mapVariants();

// The variant whose lower-case file name and exact size match, if any.
const MapVariant* detectMapVariant(std::string_view fileName, std::uint64_t sizeBytes);

// True for map0.mul to map5.mul, whatever the case.
bool isMapFileName(std::string_view fileName);

// True for the names newer clients give their map containers, whatever the
// case: map<N>LegacyMUL.uop and map<N>xLegacyMUL.uop, N from 0 to 5.
bool isContainerMapFileName(std::string_view fileName);

// The plain map's name a map container stands for ("map2xLegacyMUL.uop" ->
// "map2.mul"), or the name itself when it is no container's name. Variants
// are told by this name and the size of the plain form.
std::string plainMapFileName(std::string_view fileName);

// The facet a file name starts with ("map<N>", N from 0 to 5, then no
// further digit), if any.
std::optional<int> mapFacetOfName(std::string_view fileName);

// True when some variant is exactly this many bytes long.
bool isKnownMapSize(std::uint64_t sizeBytes);

// Lower-case copy of an 8-bit name (the map names are plain ASCII).
std::string asciiLower(std::string_view text);

// The block height of the variant a window names by its text, for windows
// that work from the texts they show rather than from a file. Texts outside
// the table (such as "None") give no result.
std::optional<int> blockHeightOf(std::string_view variantName);

struct CellPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const CellPoint&, const CellPoint&) = default;
};

} // namespace stonereach
