#include "mapdata/UopLayout.h"

#include <cstdio>

namespace stonereach {

std::string uopMapEntryName(std::string_view stem, std::uint32_t index) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08u", index);
    return "build/" + std::string(stem) + "/" + digits + ".dat";
}

std::string uopArtEntryName(std::uint32_t id) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08u", id);
    return std::string("build/artlegacymul/") + digits + ".tga";
}

} // namespace stonereach
