// Land art from artLegacyMUL.uop, and the editor's file set on a client of
// the newer kind: a map container and an art container, no .mul map or art.
#include <gtest/gtest.h>

#include "mapdata/ArtContainer.h"
#include "mapdata/ClientFiles.h"
#include "mapdata/DataFileSet.h"
#include "mapdata/Errors.h"
#include "mapdata/LandArtFiles.h"
#include "mapdata/MapIdentity.h"
#include "mapdata/TileImagesByPath.h"
#include "mapdata/UopWriter.h"
#include "sample/SampleClientFiles.h"
#include "sample/SampleMap.h"
#include "sample/SampleWorld.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

constexpr std::uint32_t LandIds = 0x4000;

// Every land tile drawn from both directories: the same answer and the same
// picture, id by id.
void expectSameLandArt(const std::filesystem::path& expectedDir, const std::filesystem::path& dir) {
    const LandArtFiles expected(expectedDir);
    const LandArtFiles art(dir);
    int drawn = 0;
    for (std::uint32_t id = 0; id < LandIds; ++id) {
        TileImage a(1, 1, 0x1234), b(1, 1, 0x1234);
        const bool hasArt = expected.load(static_cast<std::uint16_t>(id), a);
        ASSERT_EQ(art.load(static_cast<std::uint16_t>(id), b), hasArt) << "tile " << id;
        ASSERT_EQ(a.pixels, b.pixels) << "tile " << id;
        drawn += hasArt && a.width == 45;
    }
    EXPECT_GT(drawn, 10);
}

TEST(ArtContainer, AClientWithOnlyTheContainerDrawsTheSameLandArtAsWithTheMulPair) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "mul");
    std::filesystem::create_directories(dir / "uop");
    sample::writeSampleClientFiles(dir / "mul", 4);
    // Stored and zlib entries by turns, in a shuffled order in the file.
    sample::writeSampleClientFiles(dir / "uop", 4, sample::SampleArtForm::Container);
    ASSERT_FALSE(std::filesystem::exists(dir / "uop/artidx.mul"));
    EXPECT_EQ(landArtKindIn(dir / "uop"), LandArtKind::Container);
    expectSameLandArt(dir / "mul", dir / "uop");
    // The dialogs' loaders, which open the files for each picture, too.
    for (std::uint32_t id = 0; id < 600; ++id) {
        TileImage a, b;
        ASSERT_EQ(loadLandArtImageByPath(dir / "uop", id, b), loadLandArtImageByPath(dir / "mul", id, a)) << id;
        ASSERT_EQ(a.pixels, b.pixels) << id;
    }
}

TEST(ArtContainer, TheMulPairWinsWhenBothAreThere) {
    test::TempDir dir;
    sample::writeSampleClientFiles(dir.path(), 4);
    std::filesystem::create_directories(dir / "other");
    sample::writeSampleClientFiles(dir / "other", 9, sample::SampleArtForm::Container);
    std::filesystem::copy_file(dir / "other/artLegacyMUL.uop", dir / "artLegacyMUL.uop");
    EXPECT_EQ(landArtKindIn(dir.path()), LandArtKind::MulPair);
    std::filesystem::remove(dir / "artLegacyMUL.uop");
    std::filesystem::create_directories(dir / "pair");
    sample::writeSampleClientFiles(dir / "pair", 4);
    expectSameLandArt(dir / "pair", dir.path());
}

// An entry compressed some other way is a tile without art, told once; an
// entry missing is a tile without art, told never; a zlib stream that does
// not inflate to its length is an error naming the file.
TEST(ArtContainer, EntriesThatCannotBeReadAreTilesWithoutArt) {
    test::TempDir dir;
    const std::vector<std::uint8_t> art(2048, 0x42);
    std::vector<UopPayload> entries{{uopArtEntryName(3), art, 2048, UopLayout::Stored},
                                    {uopArtEntryName(4), {1, 2, 3, 4}, 2048, 3},
                                    {uopArtEntryName(5), {1, 2, 3, 4}, 2048, 3},
                                    {uopArtEntryName(6), {0x78, 0x9C, 0x01, 0x02}, 2048, UopLayout::Zlib},
                                    {uopArtEntryName(10), {}, 2048, UopLayout::Zlib}};
    writeUopFile(dir / "artLegacyMUL.uop", entries);
    ArtContainer container(File(dir / "artLegacyMUL.uop", File::Mode::Read));

    TileImage image(1, 1, 0x1234);
    EXPECT_FALSE(loadLandArtImage(container, 9, image));
    EXPECT_FALSE(container.takeNotice()) << "a missing entry is nothing to tell";
    EXPECT_FALSE(loadLandArtImage(container, 4, image));
    EXPECT_FALSE(loadLandArtImage(container, 5, image));
    EXPECT_EQ(image.pixels, std::vector<std::uint16_t>{0x1234});
    const auto notice = container.takeNotice();
    ASSERT_TRUE(notice);
    EXPECT_NE(notice->find("tile 4"), std::string::npos) << *notice;
    EXPECT_FALSE(container.takeNotice()) << "told once";
    EXPECT_TRUE(loadLandArtImage(container, 3, image));
    EXPECT_EQ(image.width, 45);
    try {
        (void)loadLandArtImage(container, 6, image);
        FAIL() << "a damaged stream was read";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), (dir / "artLegacyMUL.uop").string());
    }
    // The same from memory, with an entry of no bytes at all.
    const auto bytes = test::readBytes(dir / "artLegacyMUL.uop");
    const MemoryByteSource memory(bytes, "in memory");
    ArtContainer fromMemory(memory);
    EXPECT_TRUE(loadLandArtImage(fromMemory, 3, image));
    EXPECT_THROW((void)loadLandArtImage(fromMemory, 10, image), IoError);
}

class NoDialogs : public DataFileDialogs {
public:
    std::vector<std::string> errors;
    ErrorChoice showErrorDetected(const std::string& title, const std::string& detail) override {
        errors.push_back(title + ": " + detail);
        return ErrorChoice::Ok;
    }
    void browseClientDirectory() override { errors.push_back("browse"); }
};

// The editor's file set on a newer client: a map container and the art
// container are valid paths, the variant is the map's, cells are read and
// written in the container, and land art comes from the art container.
TEST(ArtContainer, TheEditorsFileSetOpensANewerClient) {
    test::TempDir dir;
    sample::SampleWorldOptions options;
    options.variantName = "Tokuno";
    options.containers = true;
    const auto world = sample::generateSampleWorld(dir.path(), options);
    ASSERT_EQ(world.mapPath.filename(), "map4LegacyMUL.uop");
    MemorySettingsStore store;
    store.setValue(SettingNames::MapPath, world.mapPath.string());
    store.setValue(SettingNames::ClientDir, dir.path().string());
    NoDialogs dialogs;
    DataFileSet files(store, dialogs);
    (void)files.restoreDataFiles();
    files.changeMapPath(world.mapPath.string());
    files.changeClientDirectory(dir.path().string(), "Tokuno");
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    EXPECT_TRUE(files.mapPathValid());
    EXPECT_TRUE(files.clientDirValid());
    ASSERT_TRUE(files.dataFilesReady());
    OpenMap& map = files.openMap();
    ASSERT_NE(map.variant(), nullptr);
    EXPECT_EQ(map.variantName(), "Tokuno");
    EXPECT_EQ(map.file().container()->entries, 8u);
    EXPECT_TRUE(map.file().container()->trailingBlock);

    const MapGeometry geometry = *map.geometry();
    map.file().writeCell(1000, 1001, MapCell{0x0203, 12}, geometry);
    EXPECT_EQ(map.readCell(1000, 1001), (MapCell{0x0203, 12}));
    EXPECT_EQ(MapFile(world.mapPath, File::Mode::Read).readCell(1000, 1001, geometry), (MapCell{0x0203, 12}));

    std::filesystem::create_directories(dir / "mul");
    sample::writeSampleClientFiles(dir / "mul", options.seed);
    const LandArtFiles expected(dir / "mul");
    for (std::uint16_t id = 0; id < 600; ++id) {
        TileImage a, b;
        ASSERT_EQ(files.loadLandArtImage(id, a), expected.load(id, b)) << id;
        ASSERT_EQ(a.pixels, b.pixels) << id;
    }
}

// A damaged map container is an invalid path whose reason the window can
// show; a directory with neither form of art is no client directory.
TEST(ArtContainer, ADamagedContainerIsAnInvalidPathWithItsReason) {
    test::TempDir dir;
    test::writeBytes(dir / "map0LegacyMUL.uop", std::vector<std::uint8_t>(100, 7));
    for (const char* name : {"texidx.mul", "texmaps.mul"})
        test::writeBytes(dir / name, std::vector<std::uint8_t>(24));
    MemorySettingsStore store;
    NoDialogs dialogs;
    DataFileSet files(store, dialogs);
    files.changeMapPath((dir / "map0LegacyMUL.uop").string());
    EXPECT_FALSE(files.mapPathValid());
    EXPECT_NE(files.mapRefusal().find("does not begin with the container mark"), std::string::npos)
        << files.mapRefusal();
    files.changeClientDirectory(dir.path().string(), "None");
    EXPECT_FALSE(files.clientDirValid());
}

} // namespace
} // namespace stonereach
