// Maps kept in UOP containers, built here in every form met in the wild, read
// and written through MapFile and compared with the same map as a .mul.
#include <gtest/gtest.h>

#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/MapFile.h"
#include "mapdata/MapIdentity.h"
#include "mapdata/UopNameHash.h"
#include "maptools/MapCopyTable.h"
#include "support/TempDir.h"
#include "support/TestContainer.h"

namespace stonereach {
namespace {

constexpr std::uint64_t EntryBytes = 0xC4000;
constexpr std::uint64_t Block = 196;

std::vector<std::uint8_t> pattern(std::uint64_t offset, std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>(((offset + i) * 7 + 3) % 251);
    return bytes;
}

// A .mul and a container holding the same map: both sparse, with the same
// plain-form bytes painted into both.
struct Twin {
    std::filesystem::path mul;
    test::TestContainer uop;

    Twin(std::filesystem::path mulPath, std::uint64_t mapBytes, std::filesystem::path uopPath,
         std::uint64_t payloadBytes, const test::ContainerShape& shape)
        : mul(std::move(mulPath)), uop(std::move(uopPath), payloadBytes, shape) {
        uop.write();
        { std::ofstream create(mul, std::ios::binary); }
        std::filesystem::resize_file(mul, mapBytes);
    }

    void paint(std::uint64_t offset, std::size_t count) {
        const auto bytes = pattern(offset, count);
        std::fstream out(mul, std::ios::binary | std::ios::in | std::ios::out);
        out.seekp(static_cast<std::streamoff>(offset));
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(count));
        out.close();
        uop.paint(offset, bytes);
    }
};

// Writing the cell changes exactly its 3 bytes where the container keeps them
// (the whole file compared with what it was), and both forms read it back.
void expectCellWriteChangesOnlyItsBytes(Twin& twin, const MapGeometry& geometry, int x, int y) {
    const MapCell cell{0xBEEF, -7};
    const auto before = test::readBytes(twin.uop.path());
    {
        MapFile map(twin.uop.path(), File::Mode::ReadWrite);
        map.writeCell(x, y, cell, geometry);
    }
    {
        MapFile plain(twin.mul, File::Mode::ReadWrite);
        plain.writeCell(x, y, cell, geometry);
    }
    auto expected = before;
    const std::uint64_t at = twin.uop.fileOffsetOf(cellOffset(x, y, geometry.blockHeight));
    expected[at] = 0xEF;
    expected[at + 1] = 0xBE;
    expected[at + 2] = 0xF9;
    const auto after = test::readBytes(twin.uop.path());
    ASSERT_EQ(after.size(), expected.size());
    const auto differ = std::mismatch(after.begin(), after.end(), expected.begin());
    EXPECT_TRUE(differ.first == after.end()) << "byte " << (differ.first - after.begin()) << " of the file";
    EXPECT_EQ(MapFile(twin.uop.path(), File::Mode::Read).readCell(x, y, geometry), cell);
}

std::string facetName(const MapVariant& v, std::string_view form) {
    return "map" + std::string(1, v.fileName[3]) + std::string(form);
}

class EveryVariantSize : public ::testing::TestWithParam<std::tuple<int, bool>> {};

// Each variant's size, with and without the block modern clients carry after
// the facet: the container is that variant, its cells are those of the
// .mul, a read that crosses from one entry into the next gives the .mul's
// bytes, and a write changes only the cell's 3 bytes.
TEST_P(EveryVariantSize, IsTheVariantAndReadsAndWritesAsItsMul) {
    const auto [row, trailing] = GetParam();
    const MapVariant& v = mapVariants()[static_cast<std::size_t>(row)];
    test::TempDir dir;
    test::ContainerShape shape;
    shape.stem = facetName(v, "legacymul");
    Twin twin(dir / std::string(v.fileName), v.sizeBytes, dir / facetName(v, "LegacyMUL.uop"),
              v.sizeBytes + (trailing ? Block : 0), shape);
    for (std::uint64_t boundary = EntryBytes; boundary < v.sizeBytes; boundary += EntryBytes)
        twin.paint(boundary - Block, 2 * Block);
    twin.paint(0, Block);
    twin.paint(v.sizeBytes - Block, Block);
    if (trailing)
        twin.uop.paint(v.sizeBytes, pattern(99, Block));

    EXPECT_EQ(identifyMapFile(twin.uop.path()), &v);
    EXPECT_EQ(identifyMapFile(twin.mul), &v);
    EXPECT_EQ(recogniseForMapCopy(twin.uop.path()).sizeText, recogniseForMapCopy(twin.mul).sizeText);

    const MapGeometry geometry = MapGeometry::of(v);
    {
        const MapFile map(twin.uop.path(), File::Mode::Read);
        const MapFile plain(twin.mul, File::Mode::Read);
        EXPECT_EQ(map.size(), v.sizeBytes);
        EXPECT_EQ(map.container()->trailingBlock, trailing);
        EXPECT_EQ(map.container()->entries, twin.uop.entryCount());
        for (std::uint64_t boundary = EntryBytes; boundary < v.sizeBytes; boundary += EntryBytes) {
            std::vector<std::uint8_t> run(2 * Block), expected(2 * Block);
            map.readAt(boundary - Block, run);
            plain.readAt(boundary - Block, expected);
            ASSERT_EQ(run, expected) << "across the start of entry " << boundary / EntryBytes;
        }
        for (const auto& [x, y] : {std::pair{0, 0}, {7, 7}, {v.width - 1, v.height - 1}, {v.width - 8, v.height - 1}})
            EXPECT_EQ(map.readCell(x, y, geometry), plain.readCell(x, y, geometry)) << x << "," << y;
        // Nothing reaches past the map into the trailing block.
        std::vector<std::uint8_t> past(1);
        EXPECT_THROW(map.readAt(v.sizeBytes, past), IoError);
    }
    expectCellWriteChangesOnlyItsBytes(twin, geometry, v.width - 1, v.height - 1);
}

INSTANTIATE_TEST_SUITE_P(Table, EveryVariantSize, ::testing::Combine(::testing::Range(0, 8), ::testing::Bool()));

struct Shape {
    const char* name;
    const char* fileName;
    test::ContainerShape shape;
    bool trailing = false;
};

test::ContainerShape shaped(const std::function<void(test::ContainerShape&)>& edit) {
    test::ContainerShape shape;
    shape.stem = "map4legacymul";
    edit(shape);
    return shape;
}

const Shape shapes[] = {
    {"WrittenByTools", "map4LegacyMUL.uop", shaped([](auto&) {})},
    {"ShippedShuffledWithOpaqueHeadersAndTrailingBlock", "map4LegacyMUL.uop",
     shaped([](auto& s) { s.shuffled = true; s.entryHeaderLength = 136; }), true},
    {"SeveralTablesWithFreeRecords", "map4LegacyMUL.uop",
     shaped([](auto& s) { s.shuffled = true; s.recordsPerTable = 3; s.freeRecordEvery = 2; })},
    {"NoEntryHeaders", "map4LegacyMUL.uop", shaped([](auto& s) { s.entryHeaderLength = 0; })},
    {"VersionFour", "map4LegacyMUL.uop", shaped([](auto& s) { s.version = 4; s.recordsPerTable = 100; })},
    {"FirstTableRightAfterTheHeader", "map4LegacyMUL.uop", shaped([](auto& s) { s.firstTable = 40; })},
    {"XFileWithTheFacetsNames", "map4xLegacyMUL.uop", shaped([](auto& s) { s.shuffled = true; })},
    {"XFileWithItsStemsNames", "MAP4XLEGACYMUL.UOP", shaped([](auto& s) { s.stem = "map4xlegacymul"; })},
};

class ContainerShapes : public ::testing::TestWithParam<Shape> {};

// Every form of container holds the same Tokuno map: all its bytes read as
// the .mul's, a run of blocks across an entry boundary too, and a write
// changes exactly the cell's 3 payload bytes.
TEST_P(ContainerShapes, HoldTheMapOfTheMul) {
    const Shape& s = GetParam();
    const MapVariant& tokuno = mapVariants()[6];
    const MapGeometry geometry = MapGeometry::of(tokuno);
    test::TempDir dir;
    Twin twin(dir / "map4.mul", tokuno.sizeBytes, dir / s.fileName, tokuno.sizeBytes + (s.trailing ? Block : 0),
              s.shape);
    twin.paint(0, tokuno.sizeBytes);

    EXPECT_EQ(identifyMapFile(twin.uop.path()), &tokuno);
    {
        const MapFile map(twin.uop.path(), File::Mode::Read);
        EXPECT_EQ(map.container()->version, s.shape.version);
        EXPECT_EQ(map.container()->shortestEntryHeader, s.shape.entryHeaderLength);
        std::vector<std::uint8_t> all(tokuno.sizeBytes);
        map.readAt(0, all);
        EXPECT_TRUE(all == test::readBytes(twin.mul)) << "the plain form differs from the .mul";
        // Blocks 4095 and 4096 of column 22 lie in entries 0 and 1.
        std::array<MapBlockBytes, 2> blocks{};
        map.readBlockRun(22, 113, 2, geometry, blocks);
        EXPECT_EQ(blocks[1], MapFile(twin.mul, File::Mode::Read).readBlock(22, 114, geometry));
    }
    expectCellWriteChangesOnlyItsBytes(twin, geometry, 700, 900);
}

INSTANTIATE_TEST_SUITE_P(Forms, ContainerShapes, ::testing::ValuesIn(shapes),
                         [](const auto& param) { return std::string(param.param.name); });

struct Fault {
    const char* name;
    const char* said;
    std::function<void(test::TestContainer&)> spoil;
};

const Fault faults[] = {
    {"NotAContainer", "does not begin with the container mark",
     [](auto& c) { c.write([](auto& header) { header[0] = 'X'; }); }},
    {"TooShort", "too short for the container header", [](auto& c) { std::filesystem::resize_file(c.path(), 30); }},
    {"FirstTablePastTheEnd", "lies outside the file",
     [](auto& c) { c.write([&](auto& h) { test::TestContainer::put(h, 12, c.fileSize() + 8, 8); }); }},
    {"TableRunningPastTheEnd", "runs past the end of the file",
     [](auto& c) { c.at(c.tableOffsets()[1], {0xFF, 0xFF, 0xFF, 0x00}); }},
    {"ChainThatLoops", "loops back to the table at offset",
     [](auto& c) {
         std::vector<std::uint8_t> next(8);
         test::TestContainer::put(next, 0, c.tableOffsets()[0], 8);
         c.at(c.tableOffsets().back() + 4, next);
     }},
    {"EntryMissing", "map entry 3 (build/map4legacymul/00000003.dat) is missing",
     [](auto& c) { c.records()[3].nameHash ^= 1; c.write(); }},
    {"EntryCompressed", "map entry 2 is stored compressed", [](auto& c) { c.records()[2].compression = 1; c.write(); }},
    {"SizesThatDiffer", "map entry 5 has a stored size of 802816 bytes but a decompressed size of 802817",
     [](auto& c) { c.records()[5].decompressedSize += 1; c.write(); }},
    {"EntryPastTheEnd", "points past the end of the file",
     [](auto& c) { c.records()[7].storedSize += 200; c.write(); }},
    {"EntryOverATable", "overlaps another part of the file",
     [](auto& c) {
         c.records()[1].offset = c.tableOffsets()[1] - 100;
         c.records()[1].headerLength = 0;
         c.write();
     }},
};

class ContainerFaults : public ::testing::TestWithParam<Fault> {};

// A container that cannot serve as a map is refused with one message that
// names the file and the fault; its path is not usable and it is no variant.
TEST_P(ContainerFaults, AreRefusedNamingTheFileAndTheFault) {
    const Fault& f = GetParam();
    test::TempDir dir;
    test::TestContainer container(dir / "map4LegacyMUL.uop", 6421156, shaped([](auto& s) { s.recordsPerTable = 3; }));
    container.write();
    f.spoil(container);

    std::string refusal;
    EXPECT_FALSE(isUsableMapPath(container.path(), &refusal));
    EXPECT_NE(refusal.find(f.said), std::string::npos) << refusal;
    EXPECT_NE(refusal.find(container.path().string()), std::string::npos) << refusal;
    EXPECT_EQ(identifyMapFile(container.path()), nullptr);
    EXPECT_FALSE(recogniseForMapCopy(container.path()).recognised());
    try {
        MapFile map(container.path(), File::Mode::ReadWrite);
        ADD_FAILURE() << "opened";
    } catch (const ContainerError& e) {
        EXPECT_EQ(e.path(), container.path().string());
        EXPECT_EQ(e.what(), refusal);
    }
    EXPECT_THROW((void)requireKnownMap(container.path()), ContainerError);
}

INSTANTIATE_TEST_SUITE_P(Each, ContainerFaults, ::testing::ValuesIn(faults),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(MapContainerNames, OnlyTheContainerNamesOfTheSixFacetsAreMapPaths) {
    test::TempDir dir;
    for (const char* name : {"map0LegacyMUL.uop", "MAP5XLEGACYMUL.UOP", "map6LegacyMUL.uop", "map0Legacy.uop",
                             "map01LegacyMUL.uop", "artLegacyMUL.uop"}) {
        test::TestContainer container(dir / name, 4 * Block, shaped([&](auto& s) { s.stem = asciiLower(std::filesystem::path(name).stem().string()); }));
        container.write();
    }
    EXPECT_TRUE(isUsableMapPath(dir / "map0LegacyMUL.uop"));
    EXPECT_TRUE(isUsableMapPath(dir / "MAP5XLEGACYMUL.UOP"));
    for (const char* name : {"map6LegacyMUL.uop", "map0Legacy.uop", "map01LegacyMUL.uop", "artLegacyMUL.uop"})
        EXPECT_FALSE(isUsableMapPath(dir / name)) << name;
    EXPECT_FALSE(isUsableMapPath(dir / "map1LegacyMUL.uop")) << "no such file";
}

TEST(UopNameHash, GivesTheCheckValues) {
    const std::pair<const char*, std::uint64_t> checks[] = {
        {"build/map0legacymul/00000000.dat", 0xDBB7AFA433A3764B},
        {"build/map0legacymul/00000112.dat", 0xA847E68128E451F6},
        {"build/map2legacymul/00000014.dat", 0x6790B6697D360EF3},
        {"build/artlegacymul/00000000.tga", 0x99361F7D3A53AEA8},
        {"build/artlegacymul/00000003.tga", 0xC7840107D7525481},
        {"build/artlegacymul/00016383.tga", 0x3CA5DD5A028258C5},
    };
    for (const auto& [name, hash] : checks)
        EXPECT_EQ(uopNameHash(name), hash) << name;
}

} // namespace
} // namespace stonereach
