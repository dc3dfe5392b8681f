#include <gtest/gtest.h>

#include <fstream>

#include "gui/app/ProgramDirectory.h"
#include "support/TempDir.h"

using namespace stonereach;
namespace fs = std::filesystem;

// An installation's folders: the executable's (bin), the one its desktop
// entry marks as installed, and the user's data folder.
class ProgramDirectoryChoice : public ::testing::Test {
protected:
    test::TempDir root;
    fs::path bin = root / "prefix/bin";
    fs::path userData = root / "home/.local/share/BrannockStonereach/stonereach";

    void SetUp() override { fs::create_directories(bin); }

    void install() {
        const fs::path marker = (bin / installedLayoutMarker()).lexically_normal();
        fs::create_directories(marker.parent_path());
        std::ofstream(marker) << "[Desktop Entry]\n";
    }
};

TEST_F(ProgramDirectoryChoice, AnInstalledEditorKeepsItsFilesInTheUserDataFolderThoughItsFolderIsWritable) {
    install();
    // Writable (this test may even run as root) and holding editor files:
    // an installed layout is never taken for a portable one.
    fs::create_directories(bin / "textures");
    EXPECT_EQ(chooseProgramDirectory(std::nullopt, bin, userData), userData);
    EXPECT_TRUE(installedLayoutMarker().is_relative());
}

TEST_F(ProgramDirectoryChoice, APortableCopyOrTheBuildFolderKeepsThemBesideTheExecutable) {
    EXPECT_EQ(chooseProgramDirectory(std::nullopt, bin, userData), bin);
}

TEST_F(ProgramDirectoryChoice, StonereachHomeWinsOverEverything) {
    install();
    const fs::path home = root / "elsewhere";
    EXPECT_EQ(chooseProgramDirectory(home, bin, userData), home);
    EXPECT_EQ(chooseProgramDirectory(fs::path(), bin, userData), userData) << "an empty STONEREACH_HOME is unset";
}
