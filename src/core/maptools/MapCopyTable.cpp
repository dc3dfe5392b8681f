#include "maptools/MapCopyTable.h"

#include <array>

#include "mapdata/MapIdentity.h"
#include "mapdata/MapVariant.h"

namespace stonereach {

namespace {

struct Row {
    std::string_view fileName;
    std::uint64_t sizeBytes;
    std::string_view mapName;
    std::string_view sizeText;
    int maxX;
    int maxY;
};

constexpr std::array<Row, 8> Rows{{
    {"map0.mul", 89915392, "Mondains Legacy", "7168x4096", 7167, 4095},
    {"map0.mul", 77070336, "Felucca+Trammel", "6144x4096", 6143, 4095},
    {"map0.mul", 77108927, "Felucca+Trammel (unknown version)", "6144x4096", 6143, 4095},
    {"map1.mul", 89915392, "Mondains Legacy", "7168x4096", 7167, 4095},
    {"map2.mul", 11289600, "Ilshenar", "2304x1600", 2303, 1599},
    {"map3.mul", 16056320, "Malas", "2560x2048", 2559, 2047},
    {"map4.mul", 6421156, "Tokuno", "1448x1448", 1447, 1447},
    {"map5.mul", 16056320, "Stygian Abyss", "1280x4096", 1279, 4095},
}};

} // namespace

MapCopySide recogniseForMapCopy(std::string_view fileName, std::uint64_t sizeBytes) {
    const std::string lower = asciiLower(fileName);
    for (const Row& row : Rows)
        if (lower == row.fileName && sizeBytes == row.sizeBytes)
            return MapCopySide{row.mapName, row.sizeText, row.maxX, row.maxY};
    return {};
}

MapCopySide recogniseForMapCopy(const std::filesystem::path& path) {
    const auto identity = plainMapIdentity(path);
    if (!identity)
        return {};
    return recogniseForMapCopy(identity->fileName, identity->sizeBytes);
}

std::optional<int> mapCopyBlockHeightOf(std::string_view mapName) { return blockHeightOf(mapName); }

} // namespace stonereach
