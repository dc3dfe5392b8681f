#include <gtest/gtest.h>

#include <set>

#include "mapdata/ClientFiles.h"
#include "mapdata/Errors.h"
#include "mapdata/IndexRecord.h"
#include "mapdata/LandTileImage.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapFile.h"
#include "mapdata/MapIdentity.h"
#include "mapdata/RadarColours.h"
#include "sample/SampleClientFiles.h"
#include "sample/SampleMap.h"
#include "sample/SampleStatics.h"
#include "sample/SampleWorld.h"
#include "support/TempDir.h"

namespace stonereach::sample {
namespace {

// A small map: 16 x 12 blocks, with a cave region in its east.
const MapGeometry small{128, 96, 12};

struct OpenClient {
    explicit OpenClient(const std::filesystem::path& dir)
        : texIdx(clientFilePath(dir, ClientFile::TextureIndex), File::Mode::Read),
          texMaps(clientFilePath(dir, ClientFile::Textures), File::Mode::Read),
          artIdx(clientFilePath(dir, ClientFile::ArtIndex), File::Mode::Read),
          art(clientFilePath(dir, ClientFile::Art), File::Mode::Read) {}
    TileImageSource load(std::uint16_t id, TileImage& image) const {
        return loadLandTileImage(texIdx, texMaps, artIdx, art, id, image);
    }
    File texIdx, texMaps, artIdx, art;
};

TEST(SampleClientFiles, EveryTileLoadsAsItsKindOfPicture) {
    test::TempDir dir;
    writeSampleClientFiles(dir.path(), 5);
    const OpenClient client(dir.path());
    RadarColours radar;
    radar.load(clientFilePath(dir.path(), ClientFile::RadarColours), "Stygian Abyss");

    std::set<TileLook> looks;
    for (const SampleTile& tile : sampleTiles()) {
        TileImage image;
        const TileImageSource source = client.load(tile.id, image);
        looks.insert(tile.look);
        switch (tile.look) {
        case TileLook::Texture64: EXPECT_EQ(source, TileImageSource::Texture); EXPECT_EQ(image.width, 64); break;
        case TileLook::Texture128: EXPECT_EQ(source, TileImageSource::Texture); EXPECT_EQ(image.width, 128); break;
        case TileLook::ArtClassic:
        case TileLook::ArtExact: EXPECT_EQ(source, TileImageSource::LandArt); EXPECT_EQ(image.width, 45); break;
        }
        EXPECT_EQ(radar.colour(tile.id), averageColour(image)) << tile.id;
        EXPECT_NE(radar.colour(tile.id), 0) << tile.id;
    }
    EXPECT_EQ(looks.size(), 4u) << "every kind of picture is present";

    TileImage none(1, 1, 9);
    EXPECT_EQ(client.load(1, none), TileImageSource::None);
    EXPECT_EQ(client.load(0x3FFF, none), TileImageSource::None);
    const IndexRecord empty = readIndexRecord(client.artIdx, 1);
    EXPECT_EQ(empty.offset, -1);
}

TEST(SampleClientFiles, ArtEntriesUseBothLengths) {
    test::TempDir dir;
    writeSampleClientFiles(dir.path(), 5);
    const File artIdx(dir / "artidx.mul", File::Mode::Read);
    std::set<std::int32_t> lengths;
    for (const SampleTile& tile : sampleTiles())
        if (tile.look == TileLook::ArtClassic || tile.look == TileLook::ArtExact)
            lengths.insert(readIndexRecord(artIdx, tile.id).length);
    EXPECT_EQ(lengths, (std::set<std::int32_t>{2024, 2048}));
}

TEST(SampleClientFiles, LandArtShowsThePaintedSquare) {
    // Odd positions hold the diamond pixels, which were taken from the square.
    const SampleTile rock{220, Terrain::Rock, TileLook::ArtClassic};
    const TileImage square = paintSampleTile(rock, 3);
    test::TempDir dir;
    writeSampleClientFiles(dir.path(), 3);
    const OpenClient client(dir.path());
    TileImage image;
    ASSERT_EQ(client.load(220, image), TileImageSource::LandArt);
    for (int y = 0; y < 45; ++y) {
        for (int x = 0; x < 45; ++x) {
            if ((x + y) % 2 == 1) {
                ASSERT_EQ(image.at(x, y), square.at(x, y)) << x << "," << y;
            }
        }
    }
}

TEST(SampleMap, SameSeedSameBytesOtherSeedOtherBytes) {
    test::TempDir dir;
    const auto bytes = static_cast<std::uint64_t>(small.blocksAcross() * small.blockHeight) * MapLayout::BlockSize;
    writeSampleMap(dir / "a.mul", SampleTerrain(small, 11), bytes, 11);
    writeSampleMap(dir / "b.mul", SampleTerrain(small, 11), bytes, 11);
    writeSampleMap(dir / "c.mul", SampleTerrain(small, 12), bytes, 12);
    const auto a = test::readBytes(dir / "a.mul");
    EXPECT_EQ(a.size(), bytes);
    EXPECT_EQ(a, test::readBytes(dir / "b.mul"));
    EXPECT_NE(a, test::readBytes(dir / "c.mul"));
}

TEST(SampleMap, CellsMatchTheTerrainAndHaveImages) {
    test::TempDir dir;
    writeSampleClientFiles(dir.path(), 2);
    const SampleTerrain terrain(small, 2);
    const auto bytes = static_cast<std::uint64_t>(small.blocksAcross() * small.blockHeight) * MapLayout::BlockSize;
    writeSampleMap(dir / "map0.mul", terrain, bytes, 2);
    const MapFile map(dir / "map0.mul", File::Mode::Read);
    const OpenClient client(dir.path());
    std::set<Terrain> grounds;
    for (int x = 0; x < small.width; ++x) {
        for (int y = 0; y < small.height; ++y) {
            const MapCell cell = map.readCell(x, y, small);
            const auto ground = terrain.groundAt(x, y);
            ASSERT_EQ(cell, ground.cell) << x << "," << y;
            grounds.insert(ground.terrain);
            if (ground.terrain == Terrain::Water) {
                EXPECT_EQ(cell.z, -5);
            }
            TileImage image;
            ASSERT_NE(client.load(cell.tile, image), TileImageSource::None) << "tile " << cell.tile;
        }
    }
    EXPECT_TRUE(grounds.count(Terrain::FramePiece)) << "the cave region has chambers";
}

TEST(SampleMap, WritesTheVariantsExactSize) {
    test::TempDir dir;
    writeSampleMap(dir / "map4.mul", *findVariantByName("Tokuno"), 1);
    const MapVariant* variant = identifyMapFile(dir / "map4.mul");
    ASSERT_NE(variant, nullptr);
    EXPECT_EQ(variant->name, "Tokuno");
}

TEST(SampleStatics, IndexEntriesPointAtWholeRecordsOfTheirBlock) {
    test::TempDir dir;
    const SampleTerrain terrain(small, 4);
    const auto summary = writeSampleStatics(dir / "staidx0.mul", dir / "statics0.mul", terrain, 4);
    const auto index = test::readBytes(dir / "staidx0.mul");
    const auto data = test::readBytes(dir / "statics0.mul");
    ASSERT_EQ(index.size(), 16u * 12u * 12u);
    EXPECT_EQ(summary.blocks, 192u);
    EXPECT_GT(summary.filledBlocks, 0u);
    EXPECT_LT(summary.filledBlocks, summary.blocks);

    std::uint64_t records = 0;
    std::uint32_t expectedStart = 0;
    for (std::size_t k = 0; k < 192; ++k) {
        const std::uint32_t start = le::u32(index.data() + 12 * k);
        const std::uint32_t length = le::u32(index.data() + 12 * k + 4);
        if (start == SampleStaticsLayout::NoRecords)
            continue;
        ASSERT_EQ(start, expectedStart) << "blocks are stored in index order, contiguous";
        ASSERT_EQ(length % 7, 0u);
        ASSERT_LE(start + length, data.size());
        const int bx = static_cast<int>(k / 12);
        const int by = static_cast<int>(k % 12);
        for (std::uint32_t r = start; r < start + length; r += 7) {
            const int cx = data[r + 2];
            const int cy = data[r + 3];
            ASSERT_LT(cx, 8);
            ASSERT_LT(cy, 8);
            EXPECT_EQ(static_cast<std::int8_t>(data[r + 4]), terrain.groundAt(bx * 8 + cx, by * 8 + cy).cell.z);
        }
        records += length / 7;
        expectedStart = start + length;
    }
    EXPECT_EQ(records, summary.records);
    EXPECT_EQ(expectedStart, data.size());
}

TEST(SampleWorld, WritesAFullSetNamedAfterTheMap) {
    test::TempDir dir;
    const auto result = generateSampleWorld(dir / "world", {"Tokuno", 9});
    for (const char* name : {"map4.mul", "staidx4.mul", "statics4.mul", "artidx.mul", "art.mul", "texidx.mul",
                             "texmaps.mul", "radarcol.mul"})
        EXPECT_TRUE(std::filesystem::exists(dir / "world" / name)) << name;
    EXPECT_EQ(std::filesystem::file_size(dir / "world" / "staidx4.mul"), 181u * 181u * 12u);
    EXPECT_EQ(result.mapPath, dir / "world" / "map4.mul");
    EXPECT_THROW(generateSampleWorld(dir / "other", {"Britannia", 1}), RangeError);
    EXPECT_FALSE(std::filesystem::exists(dir / "other"));
}

} // namespace
} // namespace stonereach::sample
