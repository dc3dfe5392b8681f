#include <gtest/gtest.h>

#include "mapdata/Errors.h"
#include "mapdata/MapLayout.h"
#include "mapdata/MapVariant.h"
#include "maptools/MapEnlarger.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

const MapVariant& variantNamed(std::string_view name) {
    for (const auto& v : mapVariants())
        if (v.name == name)
            return v;
    throw std::logic_error("no such variant");
}

// A map file of the variant's exact size with a byte pattern, so every cell
// and header differs from its neighbours.
std::filesystem::path writeSource(const test::TempDir& dir, const MapVariant& v) {
    const auto path = dir / std::string(v.fileName);
    test::writePatternFile(path, v.sizeBytes);
    return path;
}

// The enlargement done the plain way: a zero file, then every source cell
// copied to the same coordinates.
std::vector<std::uint8_t> enlargeCellByCell(const std::vector<std::uint8_t>& source, const MapVariant& v) {
    std::vector<std::uint8_t> out(89915392, 0);
    for (int x = 0; x < v.width; ++x)
        for (int y = 0; y < v.height; ++y) {
            const auto from = cellOffset(x, y, v.blockHeight);
            const auto to = cellOffset(x, y, 512);
            for (int i = 0; i < 3; ++i)
                out[to + static_cast<std::uint64_t>(i)] = source[from + static_cast<std::uint64_t>(i)];
        }
    return out;
}

class Enlarge : public ::testing::TestWithParam<const char*> {};

TEST_P(Enlarge, GivesTheSameBytesAsTheCellByCellCopy) {
    test::TempDir dir;
    const MapVariant& v = variantNamed(GetParam());
    const auto source = writeSource(dir, v);
    const auto sourceBytes = test::readBytes(source);
    std::filesystem::create_directory(dir / "out");
    const auto output = dir / "out" / "map0.mul";

    std::vector<std::string> texts;
    std::vector<std::int64_t> copied;  // the cell columns reported while copying
    enlargeMap(source, output, [&](const ProgressReport& r) {
        texts.emplace_back(r.text);
        if (texts.back().starts_with("Copying source map to new map ("))
            copied.push_back(r.position);
    });

    const auto result = test::readBytes(output);
    ASSERT_EQ(result.size(), 89915392u);
    EXPECT_TRUE(result == enlargeCellByCell(sourceBytes, v)) << "enlarged bytes differ";
    EXPECT_EQ(test::readBytes(source), sourceBytes) << "the source is only read";
    EXPECT_EQ(texts.front(), "Creating new map file");
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Creating new map file (99%)"), texts.end());
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "Creating new map file (100%)"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Copying source map to new map (100%)"), texts.end());
    EXPECT_EQ(texts.back(), "Done.");
    // Two threads copy, but each block column is reported once, in order.
    ASSERT_EQ(copied.size(), static_cast<std::size_t>(v.width / 8));
    for (std::size_t i = 0; i < copied.size(); ++i)
        EXPECT_EQ(copied[i], static_cast<std::int64_t>(i) * 8 + 7);
}

INSTANTIATE_TEST_SUITE_P(Sources, Enlarge, ::testing::Values("Tokuno", "Ilshenar"));

TEST(EnlargeMap, AFeluccaMapGainsZeroColumnsAndLosesItsHeaders) {
    test::TempDir dir;
    const MapVariant& v = variantNamed("Felucca+Trammel");
    const auto source = writeSource(dir, v);
    const auto output = dir / "big.mul";
    enlargeMap(source, output);
    const auto out = test::readBytes(output);
    const auto in = test::readBytes(source);
    ASSERT_EQ(out.size(), 89915392u);
    for (const auto& [x, y] : {std::pair{0, 0}, {6143, 4095}, {3000, 17}})
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(out[cellOffset(x, y, 512) + static_cast<unsigned>(i)], in[cellOffset(x, y, 512) + static_cast<unsigned>(i)]);
    for (std::size_t b = 0; b < out.size(); b += MapLayout::BlockSize)
        ASSERT_EQ(out[b] | out[b + 1] | out[b + 2] | out[b + 3], 0) << "header of block " << b / 196;
    const auto firstNew = blockOffset(768, 0, 512);
    EXPECT_TRUE(std::all_of(out.begin() + static_cast<long>(firstNew), out.end(), [](auto c) { return c == 0; }));
}

TEST(EnlargeMap, RefusesAnUnrecognisedSourceAndWritesNothing) {
    test::TempDir dir;
    const auto source = dir / "map9.mul";
    test::writePatternFile(source, 6421156);
    try {
        enlargeMap(source, dir / "out.mul");
        FAIL();
    } catch (const Refusal& e) {
        EXPECT_STREQ(e.what(), "Wrong source map file!");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out.mul"));
}

TEST(EnlargeMap, RefusesToWriteOverItsOwnSource) {
    test::TempDir dir;
    const auto source = writeSource(dir, variantNamed("Tokuno"));
    const auto before = test::readBytes(source);
    EXPECT_THROW(enlargeMap(source, source), Refusal);
    EXPECT_THROW(enlargeMap(source, dir.path() / "." / "map4.mul"), Refusal);
    EXPECT_EQ(test::readBytes(source), before);
}

} // namespace
} // namespace stonereach
