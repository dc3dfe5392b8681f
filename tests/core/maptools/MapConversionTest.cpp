#include <gtest/gtest.h>

#include "mapdata/Errors.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapIdentity.h"
#include "mapdata/UopNameHash.h"
#include "maptools/MapConversion.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"
#include "support/TestContainer.h"

namespace stonereach {
namespace {

constexpr std::uint64_t TokunoBytes = 6421156;
constexpr std::uint64_t EntryBytes = 0xC4000;

std::uint64_t u64(const std::vector<std::uint8_t>& b, std::uint64_t at) {
    return le::u32(&b[at]) | (std::uint64_t{le::u32(&b[at + 4])} << 32);
}

// Adler-32 as its definition gives it, to check the data hash the writer
// stores.
std::uint32_t adler32(const std::uint8_t* p, std::size_t n) {
    std::uint32_t a = 1, b = 0;
    for (std::size_t i = 0; i < n; ++i) {
        a = (a + p[i]) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// A container in the form tools write, read field by field: the header, one
// table at 0x200 of 1000 records, the entries in their order right after it,
// each a 12-byte version-4 style header (its Adler-32 the record's data hash)
// and then its part of the map.
void expectWrittenForm(const std::vector<std::uint8_t>& c, const std::vector<std::uint8_t>& map, int facet) {
    const std::uint64_t entries = (map.size() + EntryBytes - 1) / EntryBytes;
    ASSERT_GE(c.size(), 0x200u + 12 + 34000);
    EXPECT_EQ(le::u32(&c[0]), 0x0050594Du);
    EXPECT_EQ(le::u32(&c[4]), 5u);
    EXPECT_EQ(le::u32(&c[8]), 0xFD23EC43u);
    EXPECT_EQ(u64(c, 12), 0x200u);
    EXPECT_EQ(le::u32(&c[20]), 1000u);
    EXPECT_EQ(le::u32(&c[24]), entries);
    EXPECT_TRUE(std::all_of(c.begin() + 28, c.begin() + 0x200, [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(le::u32(&c[0x200]), entries);
    EXPECT_EQ(u64(c, 0x204), 0u);

    std::uint64_t at = 0x200 + 12 + 34000;
    for (std::uint64_t i = 0; i < entries; ++i) {
        const std::uint64_t r = 0x200 + 12 + 34 * i;
        const std::uint64_t size = std::min(EntryBytes, map.size() - i * EntryBytes);
        const std::string name = test::testEntryName("map" + std::to_string(facet) + "legacymul", i);
        EXPECT_EQ(u64(c, r), at) << "entry " << i;
        EXPECT_EQ(le::u32(&c[r + 8]), 12u);
        EXPECT_EQ(le::u32(&c[r + 12]), size);
        EXPECT_EQ(le::u32(&c[r + 16]), size);
        EXPECT_EQ(u64(c, r + 20), uopNameHash(name));
        EXPECT_EQ(le::u32(&c[r + 28]), adler32(&c[at], 12));
        EXPECT_EQ(le::u16(&c[r + 32]), 0u);
        EXPECT_EQ(le::u16(&c[at]), 3u);
        EXPECT_EQ(le::u16(&c[at + 2]), 8u);
        EXPECT_TRUE(std::equal(c.begin() + static_cast<std::ptrdiff_t>(at + 12),
                               c.begin() + static_cast<std::ptrdiff_t>(at + 12 + size),
                               map.begin() + static_cast<std::ptrdiff_t>(i * EntryBytes)))
            << "payload of entry " << i;
        at += 12 + size;
    }
    EXPECT_EQ(c.size(), at);
}

MapConversionRequest request(std::filesystem::path in, std::filesystem::path out,
                             std::optional<int> facet = std::nullopt, bool numberBlocks = false) {
    return {std::move(in), std::move(out), facet, numberBlocks};
}

class Conversion : public ::testing::Test {
protected:
    test::TempDir dir;
    std::filesystem::path mul = dir / "map4.mul";

    void SetUp() override { test::writePatternFile(mul, TokunoBytes); }
};

TEST_F(Conversion, AMulBecomesAContainerOfTheWrittenFormAndComesBackByteForByte) {
    const auto result = convertMap(request(mul, dir / "map4LegacyMUL.uop"));
    EXPECT_TRUE(result.outputIsContainer);
    EXPECT_EQ(result.entries, 8u);
    const auto container = test::readBytes(dir / "map4LegacyMUL.uop");
    expectWrittenForm(container, test::readBytes(mul), 4);
    EXPECT_EQ(identifyMapFile(dir / "map4LegacyMUL.uop")->name, "Tokuno");

    std::filesystem::create_directories(dir / "back");
    convertMap(request(dir / "map4LegacyMUL.uop", dir / "back/map4.mul"));
    EXPECT_EQ(test::readBytes(dir / "back/map4.mul"), test::readBytes(mul));
    convertMap(request(dir / "back/map4.mul", dir / "back/map4LegacyMUL.uop"));
    EXPECT_EQ(test::readBytes(dir / "back/map4LegacyMUL.uop"), container);
}

// A container as a client ships it (entries shuffled, long opaque headers,
// the extra block after the map, an x file whose entries carry the facet's
// names) becomes exactly its map: the payloads in entry order, less that
// block.
TEST_F(Conversion, AShippedContainerBecomesItsMapWithoutTheTrailingBlock) {
    test::ContainerShape shape;
    shape.shuffled = true;
    shape.entryHeaderLength = 137;
    shape.stem = "map4legacymul";
    test::TestContainer shipped(dir / "map4xLegacyMUL.uop", TokunoBytes + 196, shape);
    shipped.write();
    shipped.paint(0, test::readBytes(mul));
    shipped.paint(TokunoBytes, std::vector<std::uint8_t>(196, 0xEE));

    std::filesystem::create_directories(dir / "out");
    const auto result = convertMap(request(shipped.path(), dir / "out/plain.mul", 4));
    EXPECT_FALSE(result.outputIsContainer);
    EXPECT_EQ(test::readBytes(dir / "out/plain.mul"), test::readBytes(mul));
}

TEST_F(Conversion, NumberingBlocksWritesEachBlocksOrdinalIntoItsHeaderOnly) {
    const auto unnumbered = convertMap(request(mul, dir / "map4LegacyMUL.uop"));
    EXPECT_FALSE(unnumbered.firstHeadersIncreasing);
    const auto numbered = convertMap(request(mul, dir / "map4LegacyMUL.uop", std::nullopt, true));
    EXPECT_TRUE(numbered.firstHeadersIncreasing);

    std::filesystem::create_directories(dir / "back");
    convertMap(request(dir / "map4LegacyMUL.uop", dir / "back/map4.mul"));
    const auto before = test::readBytes(mul);
    const auto after = test::readBytes(dir / "back/map4.mul");
    ASSERT_EQ(after.size(), before.size());
    for (std::uint32_t block = 0; block < TokunoBytes / 196; ++block) {
        const auto at = std::size_t{block} * 196;
        ASSERT_EQ(le::u32(&after[at]), block);
        ASSERT_TRUE(std::equal(after.begin() + static_cast<std::ptrdiff_t>(at + 4),
                               after.begin() + static_cast<std::ptrdiff_t>(at + 196),
                               before.begin() + static_cast<std::ptrdiff_t>(at + 4)))
            << "cells of block " << block;
    }
}

TEST_F(Conversion, RefusesWhatItCannotWrite) {
    EXPECT_THROW(convertMap(request(mul, dir / "map4.bak")), Refusal);
    EXPECT_THROW(convertMap(request(mul, mul)), Refusal);
    EXPECT_THROW(convertMap(request(mul, dir / "world.uop")), Refusal) << "no facet to name the entries by";
    EXPECT_NO_THROW(convertMap(request(mul, dir / "world.uop", 2)));
    EXPECT_THROW(convertMap(request(dir / "world.uop", dir / "back.mul")), ContainerError) << "its names are map2's";
    EXPECT_NO_THROW(convertMap(request(dir / "world.uop", dir / "map2.mul")));
    EXPECT_EQ(test::readBytes(dir / "map2.mul"), test::readBytes(mul));
    EXPECT_FALSE(std::filesystem::exists(dir / "map4.bak"));
}

// At every file operation failing in turn, either way: the error names the
// file and the cause, an earlier output is kept and no file is left behind.
TEST_F(Conversion, AFailedRunLeavesNoFileAndChangesNone) {
    test::expectCleanFailureAtEveryStep(dir.path(), [&] { convertMap(request(mul, dir / "map4LegacyMUL.uop")); }, 200);
    convertMap(request(mul, dir / "map4LegacyMUL.uop"));
    test::writeBytes(dir / "out.mul", {1, 2, 3});
    test::expectCleanFailureAtEveryStep(dir.path(), [&] { convertMap(request(dir / "map4LegacyMUL.uop", dir / "out.mul")); },
                                        200);
}

} // namespace
} // namespace stonereach
