// Variant detection and cell access on map files of any name and size: short
// files, files a few bytes off a known size, known sizes (kept sparse on disk).
// Every access must either work or fail with RangeError (outside the map) or
// IoError (past the end of the file); nothing may read or write outside the
// cell or block asked for.
//
// Input: name (1 byte), size mode (1), variant row (1), access count (1),
// size parameter (4), then per access: kind (1), x (4), y (4); what is left is
// the file's content from offset 0.
#include <array>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "mapdata/Errors.h"
#include "mapdata/File.h"
#include "mapdata/MapFile.h"
#include "mapdata/MapIdentity.h"
#include "mapdata/MapLayout.h"
#include "mapdata/MapVariant.h"

namespace {

using namespace stonereach;
using fuzz::take;

constexpr std::array<std::string_view, 10> names = {"map0.mul", "map1.mul", "map2.mul", "MAP3.MUL", "map4.mul",
                                                    "Map5.mul", "map6.mul", "mymap0.mul", "map0.mul.bak", "statics0.mul"};

std::uint64_t chooseSize(std::uint8_t mode, const MapVariant& row, std::uint32_t parameter) {
    switch (mode % 3) {
    case 0: return row.sizeBytes;
    case 1: return row.sizeBytes + parameter % 801 - 400;  // a few bytes off a known size
    default: return parameter % 8192;                       // a short file
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> input(data, size);
    const std::string_view name = names[take<std::uint8_t>(input) % names.size()];
    const auto sizeMode = take<std::uint8_t>(input);
    const MapVariant& row = mapVariants()[take<std::uint8_t>(input) % mapVariants().size()];
    const auto accessCount = take<std::uint8_t>(input) % 32;
    const std::uint64_t fileSize = chooseSize(sizeMode, row, take<std::uint32_t>(input));

    struct Access {
        std::uint8_t kind;
        std::int32_t x;
        std::int32_t y;
    };
    std::vector<Access> accesses;
    for (int i = 0; i < accessCount && !input.empty(); ++i)
        accesses.push_back({take<std::uint8_t>(input), take<std::int32_t>(input), take<std::int32_t>(input)});

    const auto path = fuzz::memoryFolder() / std::string(name);
    // The file goes when the run ends, so that what a run allocates it also
    // frees: libFuzzer runs an input a second time to look for a leak
    // whenever the two counts differ (a file kept to the next run and
    // replaced there, longer or shorter, made them differ on most runs).
    const fuzz::RemovedAtEnd removed(path);
    {
        File file(path, File::Mode::Create);
        file.writeAt(0, input.first(std::min<std::size_t>(input.size(), fileSize)));
        file.resize(fileSize);  // sparse: a known size costs no disk space
    }

    const MapVariant* variant = identifyMapFile(path);
    FUZZ_CHECK(variant == detectMapVariant(asciiLower(name), fileSize));
    if (variant != nullptr) {
        FUZZ_CHECK(variant->sizeBytes == fileSize && variant->fileName == asciiLower(name));
        FUZZ_CHECK(variant->width == variant->blocksAcross * MapLayout::BlockSide);
        FUZZ_CHECK(variant->height == variant->blockHeight * MapLayout::BlockSide);
    }
    // An unrecognised file is still opened by the editor; the cells are then
    // addressed with the geometry of the row the input picked.
    const MapGeometry geometry = MapGeometry::of(variant != nullptr ? *variant : row);

    MapFile map(path, File::Mode::ReadWrite);
    for (const Access& access : accesses) {
        const int kind = access.kind % 4;
        const bool inside = geometry.contains(access.x, access.y);
        const bool cellInFile = inside && cellOffset(access.x, access.y, geometry.blockHeight) + 3 <= fileSize;
        try {
            switch (kind) {
            case 0: {
                const MapCell cell = map.readCell(access.x, access.y, geometry);
                FUZZ_CHECK(cellInFile);
                map.writeCell(access.x, access.y, cell, geometry);
                FUZZ_CHECK(map.readCell(access.x, access.y, geometry) == cell);
                break;
            }
            case 1:
                // A write past the end of a short file extends it, as any
                // positioned write does.
                map.writeCell(access.x, access.y, MapCell{static_cast<std::uint16_t>(access.y), -1}, geometry);
                FUZZ_CHECK(inside);
                break;
            case 2:
                (void)map.readBlock(access.x, access.y, geometry);
                break;
            default: {
                const int count = access.y & 15;
                std::vector<MapBlockBytes> blocks(static_cast<std::size_t>(count));
                map.readBlockRun(access.x, access.y >> 4, count, geometry, blocks);
                break;
            }
            }
        } catch (const RangeError&) {
            FUZZ_CHECK(kind >= 2 || !inside);
        } catch (const IoError&) {
            FUZZ_CHECK(kind >= 2 || !cellInFile);
        }
        // Cut back what a write may have added, so that the next access sees
        // the size the input chose.
        map.file().resize(fileSize);
    }
    return 0;
}
