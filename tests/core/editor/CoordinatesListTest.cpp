#include <gtest/gtest.h>

#include <fstream>

#include "editor/CoordinatesList.h"
#include "mapdata/Errors.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"

namespace stonereach {
namespace {

void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string readText(const std::filesystem::path& path) {
    const auto bytes = test::readBytes(path);
    return {bytes.begin(), bytes.end()};
}

TEST(CoordinatesFile, CountsSectionLinesAndReadsThatManyNumberedSections) {
    test::TempDir dir;
    // Three section lines, so sections 0, 1 and 2 are read: 2 is missing and
    // reads as "0", "0"; 5 is never read. " [x]" does not start with "[".
    writeText(dir / "places.def", "[0]\r\nX=10\r\nY=20\r\n[1]\r\nY=7\r\n[5]\r\nX=50\r\nY=50\r\n [x]\r\n");
    EXPECT_EQ(readCoordinatesFile(dir / "places.def"),
              (CoordinateList{{"10", "20"}, {"0", "7"}, {"0", "0"}}));
    EXPECT_EQ(importCoordinatesFile(dir / "places.def").size(), 3u);
}

TEST(CoordinatesFile, AFileWithoutSectionLinesIsEmptyAndRefusedForImport) {
    test::TempDir dir;
    EXPECT_TRUE(readCoordinatesFile(dir / "coords.def").empty()) << "missing file";
    writeText(dir / "plain.def", "X=1\r\nY=2\r\n");
    EXPECT_TRUE(readCoordinatesFile(dir / "plain.def").empty());
    for (const char* name : {"plain.def", "missing.def"}) {
        try {
            importCoordinatesFile(dir / name);
            ADD_FAILURE() << name;
        } catch (const Refusal& e) {
            EXPECT_STREQ(e.what(), "Empty file!");
        }
    }
}

TEST(CoordinatesFile, WritesExactlyTheCurrentEntriesSoRemovedOnesStayRemoved) {
    test::TempDir dir;
    const auto path = dir / "coords.def";
    writeCoordinatesFile(path, {{"1", "2"}, {"3", "4"}, {"5", "6"}, {"7", "8"}, {"a b", "-9"}});
    // Two of five removed: the file then holds sections 0..2 only.
    writeCoordinatesFile(path, {{"1", "2"}, {"5", "6"}, {"a b", "-9"}});
    EXPECT_EQ(readText(path), "[0]\r\nX=1\r\nY=2\r\n[1]\r\nX=5\r\nY=6\r\n[2]\r\nX=a b\r\nY=-9\r\n");
    EXPECT_EQ(readCoordinatesFile(path), (CoordinateList{{"1", "2"}, {"5", "6"}, {"a b", "-9"}}));
    writeCoordinatesFile(path, {});
    EXPECT_EQ(readText(path), "");

    // A new user's program directory is made by the first save.
    writeCoordinatesFile(dir / "fresh" / "home" / "coords.def", {{"1", "2"}});
    EXPECT_EQ(readText(dir / "fresh" / "home" / "coords.def"), "[0]\r\nX=1\r\nY=2\r\n");

    writeCoordinatesFile(path, {{"1", "2"}});
    test::expectCleanFailureAtEveryStep(dir.path(), [&] { writeCoordinatesFile(path, {{"9", "9"}, {"8", "8"}}); });
}

} // namespace
} // namespace stonereach
