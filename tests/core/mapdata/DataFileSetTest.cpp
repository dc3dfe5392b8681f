#include <gtest/gtest.h>

#include <functional>

#include "mapdata/ClientFiles.h"
#include "mapdata/DataFileSet.h"
#include "mapdata/Errors.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

// Records what the data file set asked of the window and answers as told.
class RecordingDialogs : public DataFileDialogs {
public:
    std::vector<std::pair<std::string, std::string>> errors;
    ErrorChoice answer = ErrorChoice::Ok;
    int browses = 0;
    std::function<void()> onBrowse;

    ErrorChoice showErrorDetected(const std::string& title, const std::string& detail) override {
        errors.emplace_back(title, detail);
        return answer;
    }
    void browseClientDirectory() override {
        ++browses;
        if (onBrowse)
            onBrowse();
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> t;
        for (const auto& e : errors)
            t.push_back(e.first);
        return t;
    }
};

class DataFiles : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string clientDir = (dir / "client").string();
    std::string mapPath = (dir / "map4.mul").string();
    MemorySettingsStore store;
    RecordingDialogs dialogs;
    DataFileSet files{store, dialogs};

    void SetUp() override {
        std::filesystem::create_directories(clientDir);
        for (const char* name : {"artidx.mul", "art.mul", "texidx.mul", "texmaps.mul"})
            test::writeBytes(clientFilePath(clientDir, name), std::vector<std::uint8_t>(24));
        test::writeBytes(clientFilePath(clientDir, "radarcol.mul"), std::vector<std::uint8_t>(65536, 1));
        std::vector<std::uint8_t> map(6421156);
        map[4] = 0x1A;
        map[5] = 0x01;
        map[6] = 0xFB;
        test::writeBytes(mapPath, map);
    }

    // What the window does when the user picks both paths.
    void choosePaths() {
        files.changeMapPath(mapPath);
        files.changeClientDirectory(clientDir, "Tokuno");
    }
};

TEST_F(DataFiles, FirstRunOpensNoMapAndAsksForTheClientDirectory) {
    dialogs.onBrowse = [&] { files.changeClientDirectory(clientDir, "None"); };
    const auto paths = files.restoreDataFiles();
    EXPECT_EQ(paths.mapPath, "");
    EXPECT_EQ(paths.clientDir, clientDir);
    EXPECT_EQ(dialogs.browses, 1);
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_TRUE(files.clientDirValid());
    EXPECT_FALSE(files.mapPathValid());
}

TEST_F(DataFiles, ACancelledBrowserLeavesTheDesignTextAndEachClientFileFailsInTurn) {
    const auto paths = files.restoreDataFiles();
    EXPECT_EQ(paths.clientDir, "Path to Ultima Online directory");
    EXPECT_EQ(dialogs.titles(),
              (std::vector<std::string>{"Load ArtIdx", "Load Art", "Load TextureIdx", "Load Texture"}));
    EXPECT_EQ(dialogs.errors[0].second, "File : Path to Ultima Online directory/artidx.mul\r\nartidx.mul is missing");
}

TEST_F(DataFiles, CancelInTheErrorDialogStopsFurtherOpensAndMarksClosing) {
    store.setValue("MAPx.mul", (dir / "missing" / "map0.mul").string());
    store.setValue("UOPath", clientDir);
    dialogs.answer = ErrorChoice::Cancel;
    files.restoreDataFiles();
    EXPECT_EQ(dialogs.titles(), (std::vector<std::string>{"Load File Names"}));
    EXPECT_TRUE(files.closingAfterError());
    EXPECT_EQ(dialogs.browses, 0);
}

TEST_F(DataFiles, AStoredSetOpensWithoutQuestions) {
    store.setValue("MAPx.mul", mapPath);
    store.setValue("UOPath", clientDir);
    const auto paths = files.restoreDataFiles();
    EXPECT_EQ(paths.mapPath, mapPath);
    EXPECT_EQ(paths.clientDir, clientDir);
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(dialogs.browses, 0);
}

TEST_F(DataFiles, MapPathValidityNeedsAnExistingFileWithAMapName) {
    files.changeMapPath(mapPath);
    EXPECT_TRUE(files.mapPathValid());
    EXPECT_TRUE(files.mapReopenPending());
    files.storePathsAndReopen(files.mapPath(), files.clientDir());
    ASSERT_TRUE(files.openMap().isOpen());
    EXPECT_EQ(files.openMap().variantName(), "Tokuno");

    const auto other = (dir / "mymap0.mul").string();
    test::writeBytes(other, {1});
    files.changeMapPath(other);
    EXPECT_FALSE(files.mapPathValid());
    EXPECT_FALSE(files.mapReopenPending());
    EXPECT_FALSE(files.openMap().isOpen()) << "a path that names no map lets go of the open one";
    EXPECT_EQ(files.openMap().variant(), nullptr);

    files.changeMapPath((dir / "map0.mul").string());
    EXPECT_FALSE(files.mapPathValid()) << "no such file";
}

TEST_F(DataFiles, AValidMapOfUnknownSizeIsValidButHasNoVariant) {
    const auto odd = (dir / "MAP0.MUL").string();
    test::writeBytes(odd, std::vector<std::uint8_t>(1000));
    files.changeMapPath(odd);
    EXPECT_TRUE(files.mapPathValid());
    files.storePathsAndReopen(files.mapPath(), files.clientDir());
    EXPECT_TRUE(files.openMap().isOpen());
    EXPECT_EQ(files.openMap().variant(), nullptr);
    EXPECT_EQ(files.openMap().sizeText(), "None");
}

TEST_F(DataFiles, ClientDirectoryNeedsItsFourFilesButNotTheRadarColours) {
    std::filesystem::remove(clientFilePath(clientDir, "radarcol.mul"));
    EXPECT_THROW(files.changeClientDirectory(clientDir, "Tokuno"), IoError);
    EXPECT_TRUE(files.clientDirValid()) << "valid even though the radar colours failed";
    EXPECT_TRUE(files.clientReopenPending());

    std::filesystem::remove(clientFilePath(clientDir, "art.mul"));
    files.changeClientDirectory(clientDir, "Tokuno");
    EXPECT_FALSE(files.clientDirValid());
    EXPECT_TRUE(files.clientReopenPending()) << "pending whatever the outcome";
}

TEST_F(DataFiles, ReadinessReopensOnceAndStoresBothPaths) {
    choosePaths();
    EXPECT_FALSE(store.value("MAPx.mul"));
    EXPECT_TRUE(files.dataFilesReady());
    EXPECT_EQ(store.value("MAPx.mul"), mapPath);
    EXPECT_EQ(store.value("UOPath"), clientDir);
    EXPECT_FALSE(files.mapReopenPending());
    EXPECT_FALSE(files.clientReopenPending());
    const MapGeometry tokuno{1448, 1448, 181};
    EXPECT_EQ(files.openMap().file().readCell(0, 0, tokuno), (MapCell{0x011A, -5}));

    const auto generation = files.clientFilesGeneration();
    EXPECT_TRUE(files.dataFilesReady());
    EXPECT_EQ(files.clientFilesGeneration(), generation) << "nothing pending, nothing reopened";
}

TEST_F(DataFiles, NotReadyWhileEitherPathIsInvalid) {
    files.changeMapPath(mapPath);
    EXPECT_FALSE(files.dataFilesReady());
    EXPECT_TRUE(files.mapReopenPending()) << "the flag waits for a test that finds both paths valid";
    TileImage image(1, 1, 0x7FFF);
    EXPECT_FALSE(files.loadTextureImage(1, image));
    EXPECT_FALSE(files.loadLandArtImage(1, image));
    EXPECT_TRUE(files.loadLandArtImage(7, image));
    EXPECT_EQ(image.at(0, 0), 0x7FFF);
}

TEST_F(DataFiles, AMapTruncatedWhileOpenFailsAtTheNextReadAndTheSetCarriesOn) {
    choosePaths();
    ASSERT_TRUE(files.dataFilesReady());
    const MapGeometry tokuno{1448, 1448, 181};
    std::filesystem::resize_file(mapPath, 1000);
    EXPECT_THROW(files.openMap().file().readCell(1447, 1447, tokuno), IoError);
    EXPECT_NO_THROW(files.openMap().file().readCell(0, 0, tokuno));
    EXPECT_TRUE(files.dataFilesReady());
}

TEST_F(DataFiles, AReopenThatFailsReportsSaveFileNames) {
    choosePaths();
    // The file goes away after the path was found valid.
    std::filesystem::remove(mapPath);
    std::filesystem::create_directory(mapPath);
    EXPECT_TRUE(files.dataFilesReady());
    EXPECT_EQ(dialogs.titles(), (std::vector<std::string>{"Save File Names"}));
    EXPECT_EQ(dialogs.errors[0].second.rfind("File : " + mapPath + "\r\n", 0), 0u) << "then why it failed";
    EXPECT_EQ(dialogs.errors[0].second.find("missing"), std::string::npos) << "a folder stands there";
    try {
        files.openMap().file().readCell(0, 0, MapGeometry{1448, 1448, 181});
        FAIL() << "read from a file that is not open";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), mapPath);
    }
}

TEST_F(DataFiles, ClosingReportsNothingForAHealthySet) {
    choosePaths();
    ASSERT_TRUE(files.dataFilesReady());
    files.closeForExit();
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_FALSE(files.openMap().file().isOpen());
}

} // namespace
} // namespace stonereach
