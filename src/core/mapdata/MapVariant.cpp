#include "mapdata/MapVariant.h"

#include <array>

#include "mapdata/MapLayout.h"

namespace stonereach {

namespace {

constexpr std::array<MapVariant, 8> kVariants{{
    {"map0.mul", 89915392, "Mondains Legacy", "7168x4096", 7168, 4096, 896, 512},
    {"map0.mul", 77070336, "Felucca+Trammel", "6144x4096", 6144, 4096, 768, 512},
    {"map0.mul", 77108927, "Felucca+Trammel (unknown version)", "6144x4096", 6144, 4096, 768, 512},
    {"map1.mul", 89915392, "Mondains Legacy (Patch 6.x.x.x)", "7168x4096", 7168, 4096, 896, 512},
    {"map2.mul", 11289600, "Ilshenar", "2304x1600", 2304, 1600, 288, 200},
    {"map3.mul", 16056320, "Malas", "2560x2048", 2560, 2048, 320, 256},
    {"map4.mul", 6421156, "Tokuno", "1448x1448", 1448, 1448, 181, 181},
    {"map5.mul", 16056320, "Stygian Abyss", "1280x4096", 1280, 4096, 160, 512},
}};

// Every row but the "unknown version" one is exactly its blocks long.
constexpr bool sizesMatchGeometry() {
    for (const auto& v : kVariants) {
        const auto blocks = static_cast<std::uint64_t>(v.blocksAcross) * static_cast<std::uint64_t>(v.blockHeight);
        if (v.width != v.blocksAcross * 8 || v.height != v.blockHeight * 8)
            return false;
        if (v.sizeBytes != blocks * MapLayout::BlockSize && v.sizeBytes != blocks * MapLayout::BlockSize + 38591)
            return false;
    }
    return true;
}
static_assert(sizesMatchGeometry());

} // namespace

std::span<const MapVariant> mapVariants() { return kVariants; }

std::string asciiLower(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

const MapVariant* detectMapVariant(std::string_view fileName, std::uint64_t sizeBytes) {
    const std::string lower = asciiLower(fileName);
    for (const auto& v : kVariants)
        if (v.fileName == lower && v.sizeBytes == sizeBytes)
            return &v;
    return nullptr;
}

bool isMapFileName(std::string_view fileName) {
    const std::string lower = asciiLower(fileName);
    return lower.size() == 8 && lower.starts_with("map") && lower.ends_with(".mul") && lower[3] >= '0' &&
           lower[3] <= '5';
}

std::optional<int> mapFacetOfName(std::string_view fileName) {
    const std::string lower = asciiLower(fileName);
    if (lower.size() < 4 || !lower.starts_with("map") || lower[3] < '0' || lower[3] > '5')
        return std::nullopt;
    if (lower.size() > 4 && lower[4] >= '0' && lower[4] <= '9')
        return std::nullopt;
    return lower[3] - '0';
}

bool isContainerMapFileName(std::string_view fileName) {
    const std::string lower = asciiLower(fileName);
    if (!mapFacetOfName(lower))
        return false;
    const std::string_view rest = std::string_view(lower).substr(4);
    return rest == "legacymul.uop" || rest == "xlegacymul.uop";
}

std::string plainMapFileName(std::string_view fileName) {
    if (!isContainerMapFileName(fileName))
        return std::string(fileName);
    return "map" + std::to_string(*mapFacetOfName(fileName)) + ".mul";
}

bool isKnownMapSize(std::uint64_t sizeBytes) {
    for (const auto& v : kVariants)
        if (v.sizeBytes == sizeBytes)
            return true;
    return false;
}

std::optional<int> blockHeightOf(std::string_view variantName) {
    for (const auto& v : kVariants)
        if (v.name == variantName)
            return v.blockHeight;
    return std::nullopt;
}

} // namespace stonereach
