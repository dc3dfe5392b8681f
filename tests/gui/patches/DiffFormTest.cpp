// The diff dialog on a sample world and a modified copy of it: the fields'
// states and the enabling rule, a patch generated from the dialog compared
// byte for byte with the engine's, and the modified set rebuilt from it.
#include <filesystem>

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "gui/app/ScriptedDialogs.h"
#include "gui/app/TPrForm.h"
#include "gui/patches/TSRDiffForm.h"
#include "gui/widgets/ValidityColours.h"
#include "mapdata/LittleEndian.h"
#include "mapdata/MapLayout.h"
#include "patches/DiffPatchGenerator.h"
#include "support/TempDir.h"
#include "gui/patches/ToolTestSupport.h"

using namespace stonereach;
namespace fs = std::filesystem;

namespace {

const char* const kEdits[6] = {"OStaIdxEdit", "OStaticsEdit", "OMapEdit", "MStaIdxEdit", "MStaticsEdit", "MMapEdit"};

// The records of every block of a statics pair, whatever their places in the
// data file.
std::vector<std::vector<std::uint8_t>> blockRecords(const fs::path& index, const fs::path& data) {
    const auto idx = test::readBytes(index);
    const auto records = test::readBytes(data);
    std::vector<std::vector<std::uint8_t>> blocks(DiffGrid{}.blockCount());
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        const std::uint32_t start = le::u32(&idx[k * 12]);
        const std::uint32_t length = le::u32(&idx[k * 12 + 4]);
        if (start != 0xFFFFFFFF)
            blocks[k].assign(records.begin() + start, records.begin() + start + length);
    }
    return blocks;
}

class DiffDialog : public ::testing::Test, protected test::WithEditorApp {
protected:
    static void SetUpTestSuite() {
        const auto& world = test::sharedSampleWorld("Felucca+Trammel");
        original = new DiffFileSet{world.staticsIndexPath, world.staticsPath, world.mapPath};
        modified = new DiffFileSet(makeModifiedSet(*original, modifiedFolder().path()));
    }
    static void TearDownTestSuite() {
        delete original;
        delete modified;
    }

    static test::TempDir& modifiedFolder() {
        static test::TempDir folder;
        return folder;
    }

    // A copy of the set with changed map cells (one in the last block
    // column), one block's statics moved to new records and one emptied.
    static DiffFileSet makeModifiedSet(const DiffFileSet& from, const fs::path& folder) {
        DiffFileSet to{folder / "staidx0.mul", folder / "statics0.mul", folder / "map0.mul"};
        // The suite may run again in the same program (repeated runs).
        const auto overwrite = fs::copy_options::overwrite_existing;
        fs::copy_file(from.staIdx, to.staIdx, overwrite);
        fs::copy_file(from.statics, to.statics, overwrite);
        fs::copy_file(from.map, to.map, overwrite);
        MapFile map(to.map, File::Mode::ReadWrite);
        const MapGeometry geometry{6144, 4096, 512};
        map.writeCell(10, 20, MapCell{0x0003, 44}, geometry);
        map.writeCell(3000, 4095, MapCell{0x0100, -3}, geometry);
        map.writeCell(6143, 17, MapCell{0x0101, 9}, geometry);

        auto statics = test::readBytes(to.statics);
        auto index = test::readBytes(to.staIdx);
        const auto start = static_cast<std::uint32_t>(statics.size());
        for (int i = 0; i < 14; ++i)
            statics.push_back(static_cast<std::uint8_t>(i * 17 + 1));
        le::put32(&index[1000 * 12], start);
        le::put32(&index[1000 * 12 + 4], 14);
        le::put32(&index[2000 * 12], 0xFFFFFFFF);
        test::writeBytes(to.statics, statics);
        test::writeBytes(to.staIdx, index);
        return to;
    }

    QLineEdit& edit(int i) { return *form.findChild<QLineEdit*>(kEdits[i]); }
    QPushButton& button(const char* name) { return *form.findChild<QPushButton*>(name); }
    QCheckBox& box(const char* name) { return *form.findChild<QCheckBox*>(name); }

    void fill(const DiffFileSet& orig, const DiffFileSet& mod) {
        const fs::path paths[6] = {orig.staIdx, orig.statics, orig.map, mod.staIdx, mod.statics, mod.map};
        for (int i = 0; i < 6; ++i)
            edit(i).setText(qPath(paths[i]));
    }

    static DiffFileSet* original;
    static DiffFileSet* modified;
    test::TempDir dir;
    test::FakeEditorLink link;
    test::ScriptedDialogs dialogs;
    MemorySettingsStore store;
    TSRDiffForm form{link, dialogs, store, link.mainWindow()};
};

DiffFileSet* DiffDialog::original = nullptr;
DiffFileSet* DiffDialog::modified = nullptr;

TEST_F(DiffDialog, FieldsShowTheirFilesAndTheActionsStayEnabledOnceAllWereGreen) {
    form.show();
    EXPECT_FALSE(button("GenerateButton").isEnabled());
    EXPECT_FALSE(button("ApplyButton").isEnabled());

    // The map column takes any case of map0.mul, and only that name.
    fs::create_directories(dir / "caps");
    test::writeBytes(dir / "caps/MAP0.MUL", {1});
    test::writeBytes(dir / "caps/map1.mul", {1});
    const fs::path paths[6] = {original->staIdx, original->statics, dir / "caps/map1.mul",
                               modified->staIdx, modified->statics, modified->map};
    for (int i = 0; i < 6; ++i)
        edit(i).setText(qPath(paths[i]));
    EXPECT_EQ(shownBackground(edit(2)), invalidColour());
    EXPECT_EQ(shownBackground(edit(0)), validColour());
    EXPECT_FALSE(button("GenerateButton").isEnabled());
    EXPECT_TRUE(store.values().empty());
    edit(2).setText(qPath(dir / "caps/MAP0.MUL"));
    EXPECT_TRUE(form.fieldValid(2));
    EXPECT_TRUE(button("GenerateButton").isEnabled());
    EXPECT_TRUE(button("ApplyButton").isEnabled());
    EXPECT_TRUE(box("StaticsCheckBox").isEnabled());
    EXPECT_EQ(store.value("Orig-map0.mul"), (dir / "caps/MAP0.MUL").string());
    EXPECT_EQ(store.value("Mod-statics0.mul"), modified->statics.string());

    edit(5).setText(qPath(dir / "nothing/map0.mul"));
    EXPECT_EQ(shownBackground(edit(5)), invalidColour());
    EXPECT_TRUE(button("GenerateButton").isEnabled()) << "nothing is ever disabled again";

    // One section stays checked.
    QTest::keyClick(&box("StaticsCheckBox"), Qt::Key_Space);
    EXPECT_FALSE(box("StaticsCheckBox").isChecked());
    QTest::keyClick(&box("MapCheckBox"), Qt::Key_Space);
    EXPECT_TRUE(box("StaticsCheckBox").isChecked());
    EXPECT_FALSE(box("MapCheckBox").isChecked());
    QTest::keyClick(&box("StaticsCheckBox"), Qt::Key_Space);
    EXPECT_TRUE(box("MapCheckBox").isChecked());

    // The next dialog starts from the remembered paths.
    TSRDiffForm next(link, dialogs, store, link.mainWindow());
    next.show();
    EXPECT_EQ(next.findChild<QLineEdit*>("OMapEdit")->text(), qPath(dir / "caps/MAP0.MUL"));
    EXPECT_TRUE(next.fieldValid(5));
    EXPECT_TRUE(next.findChild<QPushButton*>("GenerateButton")->isEnabled());
}

TEST_F(DiffDialog, GeneratedPatchMatchesTheEngineAndAppliedRebuildsTheModifiedSet) {
    form.show();
    fill(*original, *modified);
    // The players' set goes to a folder chosen with its "...".
    dialogs.directory = qPath(dir / "players");
    QTest::mouseClick(form.findChild<QToolButton*>("PlayersSetBrowse"), Qt::LeftButton);
    EXPECT_TRUE(box("PlayersSetCheckBox").isChecked());
    test::saveScreenshot(form, "diff-dialog");
    const fs::path patch = dir / "dialog.bsr";
    dialogs.saveFiles.push_back(qPath(dir / "dialog"));  // typed without its extension
    QTest::mouseClick(&button("GenerateButton"), Qt::LeftButton);
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join("|").toStdString();
    EXPECT_EQ(dialogs.saveRequests[0].fileName, "bnpatch.bsr");
    EXPECT_EQ(dialogs.saveRequests[0].filters, QStringList{"Brannock SR (Version 3) (*.bsr)"});
    EXPECT_EQ(dialogs.messages, QStringList{"Done.\nThe players' set was written to " + qPath(dir / "players") +
                                            ".\nThe players' staidx0.mul will differ from the modified one: make "
                                            "the next patch from the players' set (" + qPath(dir / "players") +
                                            ") as the original set."});
    EXPECT_EQ(store.value("Players-set"), (dir / "players").string());
    EXPECT_EQ(dialogs.messageTitles, QStringList{"Patch file ..."});
    EXPECT_TRUE(form.isEnabled());
    EXPECT_FALSE(link.mainWindow()->findChild<TPrForm*>()->isVisible());

    DiffPatchRequest request{*original, *modified, dir / "engine.bsr", true, true, DiffGrid{}};
    generateDiffPatch(request, {});
    const auto written = test::readBytes(patch);
    ASSERT_GT(written.size(), 1031u + 3145728u + 1572864u);
    EXPECT_TRUE(written == test::readBytes(request.patch)) << "the dialog's patch differs from the engine's";

    // Applied to the original set, the patch rebuilds the modified set in a
    // folder that holds only a copy of the original map.
    fs::create_directories(dir / "rebuilt");
    const DiffFileSet rebuilt{dir / "rebuilt/staidx0.mul", dir / "rebuilt/statics0.mul", dir / "rebuilt/map0.mul"};
    fs::copy_file(original->map, rebuilt.map);
    fill(*original, rebuilt);
    EXPECT_FALSE(form.fieldValid(3)) << "the new statics files do not exist yet";
    dialogs.openFiles.push_back(qPath(patch));
    QTest::mouseClick(&button("ApplyButton"), Qt::LeftButton);
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join("|").toStdString();
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages[1], "Done.\nThe modified staidx0.mul, statics0.mul, map0.mul were written.")
        << "applying ends with a message too";
    EXPECT_TRUE(test::readBytes(rebuilt.map) == test::readBytes(modified->map));
    EXPECT_TRUE(blockRecords(rebuilt.staIdx, rebuilt.statics) == blockRecords(modified->staIdx, modified->statics));
    for (const char* name : {"staidx0.mul", "statics0.mul", "map0.mul"})
        EXPECT_TRUE(test::readBytes(dir / "rebuilt" / name) == test::readBytes(dir / "players" / name))
            << name << ": the players' set is what applying gives";
    EXPECT_EQ(link.written, std::vector<fs::path>{rebuilt.map});
    EXPECT_EQ(link.replaced.back(), rebuilt.statics);
    EXPECT_TRUE(form.isEnabled());
}

TEST_F(DiffDialog, RefusalsAndFailuresAreReportedAndWriteNothing) {
    form.show();
    fs::create_directories(dir / "out");
    const DiffFileSet out{dir / "out/staidx0.mul", dir / "out/statics0.mul", dir / "out/map0.mul"};
    fs::copy_file(original->map, out.map);
    fill(*original, *modified);
    fill(*original, out);

    dialogs.openFiles.push_back(qPath(dir / "changes.bnp"));
    QTest::mouseClick(&button("ApplyButton"), Qt::LeftButton);
    EXPECT_EQ(dialogs.errors, QStringList{"You can't apply this file! If you want to apply a .bsr file, please use "
                                          "Brannock Stonereach."});

    // A patch made from other original files: the checksums differ.
    const fs::path foreign = dir / "FOREIGN.BSR";
    generateDiffPatch(DiffPatchRequest{*modified, *original, foreign, true, true, DiffGrid{}}, {});
    dialogs.openFiles.push_back(qPath(foreign));
    QTest::mouseClick(&button("ApplyButton"), Qt::LeftButton);
    ASSERT_EQ(dialogs.messageTitles, QStringList{"CRC error!"});
    EXPECT_TRUE(dialogs.messages[0].startsWith("The CRC value of your orginal statics file ("));
    EXPECT_TRUE(dialogs.messages[0].endsWith("). To apply this BSR you need to get the correct original files!"));
    EXPECT_FALSE(fs::exists(out.staIdx));
    EXPECT_FALSE(fs::exists(out.statics));
    EXPECT_TRUE(link.written.empty());

    // A modified map too short for the grid: the engine's error is shown and
    // the dialog comes back.
    fs::create_directories(dir / "short");
    test::writeBytes(dir / "short/map0.mul", std::vector<std::uint8_t>(196 * 10));
    edit(5).setText(qPath(dir / "short/map0.mul"));
    edit(3).setText(qPath(modified->staIdx));
    edit(4).setText(qPath(modified->statics));
    dialogs.saveFiles.push_back(qPath(dir / "short.bsr"));
    QTest::mouseClick(&button("GenerateButton"), Qt::LeftButton);
    ASSERT_EQ(dialogs.errors.size(), 2);
    EXPECT_TRUE(dialogs.errors[1].contains("short")) << dialogs.errors[1].toStdString();
    EXPECT_FALSE(fs::exists(dir / "short.bsr"));
    EXPECT_TRUE(form.isEnabled());
    EXPECT_FALSE(link.mainWindow()->findChild<TPrForm*>()->isVisible());

    // Cancelling the save dialog does nothing.
    QTest::mouseClick(&button("GenerateButton"), Qt::LeftButton);
    EXPECT_EQ(dialogs.errors.size(), 2);
    EXPECT_EQ(dialogs.messages.size(), 1);

    // A players' set asked for without a folder is refused before anything
    // is written.
    box("PlayersSetCheckBox").setChecked(true);
    QTest::mouseClick(&button("GenerateButton"), Qt::LeftButton);
    EXPECT_EQ(dialogs.messages.last(), "Choose the folder for the players' set, or uncheck \"Also write the players' "
                                       "set to:\".");
    EXPECT_EQ(dialogs.saveRequests.size(), 2u) << "no patch asked for";
}

TEST_F(DiffDialog, EachPathHasABrowseButtonAndTheFieldsGrowWithTheDialog) {
    form.show();
    dialogs.openFiles.push_back(qPath(original->map));
    QTest::mouseClick(form.findChild<QToolButton*>("OMapEditBrowse"), Qt::LeftButton);
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].filters, QStringList{"map0.mul (map0.mul)"});
    EXPECT_EQ(dialogs.openRequests[0].title, "Original files: Map0.mul");
    EXPECT_EQ(edit(2).text(), qPath(original->map));
    EXPECT_TRUE(form.fieldValid(2));
    for (const char* name : kEdits)
        EXPECT_NE(form.findChild<QToolButton*>(QString::fromLatin1(name) + "Browse"), nullptr) << name;

    const int narrow = edit(4).width();
    form.resize(form.width() + 300, form.height());
    QCoreApplication::processEvents();
    EXPECT_GE(edit(4).width(), narrow + 90);
}

} // namespace
