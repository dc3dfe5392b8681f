#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

#include "ClientFileBuilder.h"
#include "mapdata/ClientFiles.h"
#include "mapdata/DataFileSet.h"
#include "mapdata/Errors.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

class SilentDialogs : public DataFileDialogs {
public:
    int errors = 0;
    ErrorChoice showErrorDetected(const std::string&, const std::string&) override {
        ++errors;
        return ErrorChoice::Ok;
    }
    void browseClientDirectory() override {}
};

// A data file set over a Tokuno map and client files where tile 1 has a
// texture and land art.
class DataFileSetFaults : public ::testing::Test {
protected:
    test::TempDir dir;
    std::filesystem::path clientDir = dir / "client";
    std::filesystem::path mapPath = dir / "map4.mul";
    MemorySettingsStore store;
    SilentDialogs dialogs;
    DataFileSet files{store, dialogs};
    const MapGeometry tokuno{1448, 1448, 181};

    void SetUp() override {
        std::filesystem::create_directories(clientDir);
        test::IndexedFileBuilder textures(4);
        textures.add(1, test::wordBytes(test::numberedWords(64 * 64)));
        textures.write(clientFilePath(clientDir, ClientFile::TextureIndex), clientFilePath(clientDir, ClientFile::Textures));
        test::IndexedFileBuilder art(4);
        art.add(1, test::wordBytes(test::numberedWords(1024)));
        art.write(clientFilePath(clientDir, ClientFile::ArtIndex), clientFilePath(clientDir, ClientFile::Art));
        test::writeBytes(clientFilePath(clientDir, ClientFile::RadarColours), std::vector<std::uint8_t>(65536));
        test::writePatternFile(mapPath, 6421156);
        files.changeMapPath(mapPath.string());
        files.changeClientDirectory(clientDir.string(), "Tokuno");
        ASSERT_TRUE(files.dataFilesReady());
    }
};

TEST_F(DataFileSetFaults, AClientFileTruncatedWhileOpenFailsTheNextImageAndTheSetCarriesOn) {
    TileImage image;
    ASSERT_TRUE(files.loadTextureImage(1, image));
    ASSERT_TRUE(files.loadLandArtImage(1, image));

    std::filesystem::resize_file(clientFilePath(clientDir, ClientFile::Textures), 100);
    std::filesystem::resize_file(clientFilePath(clientDir, ClientFile::Art), 100);
    try {
        files.loadTextureImage(1, image);
        FAIL() << "a texture past the end of a cut texmaps.mul";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), clientFilePath(clientDir, ClientFile::Textures).string());
    }
    EXPECT_THROW(files.loadLandArtImage(1, image), IoError);

    // The handles stay usable: the map reads on, and once the files are whole
    // again (another program finished writing them) the images load again.
    EXPECT_NO_THROW(files.openMap().file().readCell(1447, 1447, tokuno));
    SetUp();
    EXPECT_TRUE(files.loadTextureImage(1, image));
    EXPECT_TRUE(files.loadLandArtImage(1, image));
    EXPECT_EQ(dialogs.errors, 0);
}

TEST_F(DataFileSetFaults, AFailingDeviceUnderTheOpenFilesReportsFileAndCauseAndTheSetCarriesOn) {
    TileImage image;
    for (const int error : {EIO, EACCES}) {
        test::FailingDevice device(0, error, {IoOperation::Read});
        ScopedFaultInjector guard(device);
        try {
            files.openMap().file().readCell(5, 5, tokuno);
            FAIL() << "a failing read of the map";
        } catch (const IoError& e) {
            EXPECT_EQ(e.path(), mapPath.string());
            EXPECT_NE(e.cause().find(std::strerror(error)), std::string::npos) << e.what();
        }
        EXPECT_TRUE(files.loadTextureImage(1, image)) << "only the one read failed";
    }
    for (std::size_t step = 0; step < 2; ++step) {
        test::FailingDevice device(step, EIO, {IoOperation::Read});
        ScopedFaultInjector guard(device);
        EXPECT_THROW(files.loadTextureImage(1, image), IoError) << "index record or texture data, step " << step;
    }
    EXPECT_TRUE(files.dataFilesReady());
    EXPECT_TRUE(files.loadTextureImage(1, image));
    EXPECT_EQ(files.openMap().file().readCell(5, 5, tokuno), files.openMap().file().readCell(5, 5, tokuno));
}

} // namespace
} // namespace stonereach
