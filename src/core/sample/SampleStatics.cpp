#include "sample/SampleStatics.h"

#include "mapdata/FileSystem.h"
#include "mapdata/LittleEndian.h"
#include "sample/SampleNoise.h"

namespace stonereach::sample {

namespace {

std::vector<std::uint16_t> idRange(std::uint16_t first, std::uint16_t last) {
    std::vector<std::uint16_t> ids;
    for (std::uint16_t id = first; id <= last; ++id)
        ids.push_back(id);
    return ids;
}

std::vector<SampleStaticKind> buildKinds() {
    return {
        {Terrain::Grass, idRange(0x0CCA, 0x0CD0), 0x1984, 55, 6},
        {Terrain::Forest, idRange(0x0CD3, 0x0CE0), 0x10E2, 95, 24},
        {Terrain::Dirt, idRange(0x0C8E, 0x0C93), 0x2163, 30, 3},
        {Terrain::Sand, idRange(0x0DD6, 0x0DD9), 0x5AEC, 10, 2},
        {Terrain::Rock, idRange(0x1363, 0x136D), 0x294A, 50, 5},
        {Terrain::Snow, idRange(0x1771, 0x1774), 0x6318, 20, 3},
        {Terrain::Water, idRange(0x1796, 0x1797), 0x1D0D, 2, 1},
        {Terrain::CaveFloor, idRange(0x1224, 0x1229), 0x2108, 40, 3},
        {Terrain::FramePiece, idRange(0x0A92, 0x0A95), 0x3DEF, 35, 4},
    };
}

const SampleStaticKind* kindFor(Terrain ground) {
    for (const SampleStaticKind& kind : sampleStaticKinds())
        if (kind.ground == ground)
            return &kind;
    return nullptr;
}

enum Salt : std::int64_t { SaltFill = 101, SaltCount, SaltExtra, SaltRecord, SaltHollow };

} // namespace

std::span<const SampleStaticKind> sampleStaticKinds() {
    static const std::vector<SampleStaticKind> kinds = buildKinds();
    return kinds;
}

SampleStaticsSummary writeSampleStatics(const std::filesystem::path& indexPath, const std::filesystem::path& dataPath,
                                        const SampleTerrain& terrain, std::uint64_t seed) {
    using namespace SampleStaticsLayout;
    const MapGeometry& g = terrain.geometry();
    const int across = g.blocksAcross();
    const int down = g.blockHeight;
    SampleStaticsSummary summary;
    summary.blocks = static_cast<std::uint64_t>(across) * static_cast<std::uint64_t>(down);

    std::vector<std::uint8_t> index(summary.blocks * IndexEntrySize);
    std::vector<std::uint8_t> data;
    data.reserve(summary.blocks * 8);

    std::size_t entry = 0;
    for (int bx = 0; bx < across; ++bx) {
        for (int by = 0; by < down; ++by, entry += IndexEntrySize) {
            std::uint8_t* e = index.data() + entry;
            le::put32(e + 8, static_cast<std::uint32_t>(hash64(seed, bx, by, SaltExtra)));  // opaque, carried as is
            const int x0 = bx * MapLayout::BlockSide;
            const int y0 = by * MapLayout::BlockSide;
            const SampleStaticKind* kind = kindFor(terrain.groundAt(x0 + 4, y0 + 4).terrain);
            const bool filled = kind && rangeHash(seed, 0, 99, bx, by, SaltFill) < kind->filledPercent;
            if (!filled) {
                // Now and then an empty block is recorded with a place and no
                // length instead of the usual "no records" mark.
                const bool hollow = hash64(seed, bx, by, SaltHollow) % 997 == 0;
                le::put32(e, hollow ? static_cast<std::uint32_t>(data.size()) : NoRecords);
                le::put32(e + 4, hollow ? 0 : NoRecords);
                continue;
            }
            const std::size_t start = data.size();
            const int count = rangeHash(seed, 1, kind->mostPerBlock, bx, by, SaltCount);
            for (int i = 0; i < count; ++i) {
                const std::uint64_t h = hash64(seed, bx, by, SaltRecord + i);
                const int cx = static_cast<int>(h & 7);
                const int cy = static_cast<int>((h >> 3) & 7);
                const auto ground = terrain.groundAt(x0 + cx, y0 + cy);
                if (ground.terrain != kind->ground)
                    continue;  // a tree does not stand in the sea beside its wood
                std::uint8_t record[RecordSize];
                le::put16(record, kind->ids[(h >> 8) % kind->ids.size()]);
                record[2] = static_cast<std::uint8_t>(cx);
                record[3] = static_cast<std::uint8_t>(cy);
                record[4] = static_cast<std::uint8_t>(ground.cell.z);
                le::put16(record + 5, 0);  // hue
                data.insert(data.end(), record, record + RecordSize);
            }
            const std::size_t length = data.size() - start;
            if (length == 0) {
                le::put32(e, NoRecords);
                le::put32(e + 4, NoRecords);
                continue;
            }
            le::put32(e, static_cast<std::uint32_t>(start));
            le::put32(e + 4, static_cast<std::uint32_t>(length));
            ++summary.filledBlocks;
            summary.records += length / RecordSize;
        }
    }

    PendingFile indexFile(indexPath);
    indexFile.file().writeAt(0, index);
    PendingFile dataFile(dataPath);
    dataFile.file().writeAt(0, data);
    dataFile.commit();
    indexFile.commit();
    return summary;
}

} // namespace stonereach::sample
