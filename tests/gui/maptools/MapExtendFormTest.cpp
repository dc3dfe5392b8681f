// The enlargement dialog: the source recognised, the progress of both phases
// as the user sees it, the new file on disk, and the refusals and failures.
#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>

#include "gui/app/ScriptedDialogs.h"
#include "gui/maptools/TMapExtendForm.h"
#include "mapdata/FaultInjection.h"
#include "mapdata/MapFile.h"
#include "support/FailingDevice.h"
#include "support/TempDir.h"
#include "gui/patches/ToolTestSupport.h"

using namespace stonereach;
namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kTokunoSize = 6421156;
constexpr std::uint64_t kEnlargedSize = 89915392;

class EnlargeDialog : public ::testing::Test, protected test::WithEditorApp {
protected:
    EnlargeDialog() {
        fs::create_directories(dir / "src");
        fs::create_directories(dir / "out");
        test::writePatternFile(source, kTokunoSize);
        QObject::connect(&bar(), &QProgressBar::valueChanged, [this](int value) {
            shown.push_back({label("ProgressInfo"), value});
        });
    }

    QString label(const char* name) { return form.findChild<QLabel*>(name)->text(); }
    QProgressBar& bar() { return *form.findChild<QProgressBar*>("ProgressBar"); }
    QPushButton& saveButton() { return *form.findChild<QPushButton*>("TLMapSave"); }
    void chooseSource(const fs::path& path) {
        dialogs.openFiles.push_back(qPath(path));
        QTest::mouseClick(form.findChild<QToolButton*>("TLMapLoad"), Qt::LeftButton);
    }
    void enlargeTo(const std::optional<fs::path>& output) {
        dialogs.saveFiles.push_back(output ? std::optional(qPath(*output)) : std::nullopt);
        QTest::mouseClick(&saveButton(), Qt::LeftButton);
    }

    // The percentages the label showed in the phase whose text starts so.
    std::vector<int> percentages(const QString& phase) {
        std::vector<int> result;
        const QRegularExpression pattern(QRegularExpression::escape(phase) + R"( \((\d+)%\)$)");
        for (const auto& [text, value] : shown) {
            const auto match = pattern.match(text);
            if (match.hasMatch() && (result.empty() || result.back() != match.captured(1).toInt()))
                result.push_back(match.captured(1).toInt());
        }
        return result;
    }

    struct Shown {
        QString text;
        int value;
    };
    test::TempDir dir;
    fs::path source = dir / "src/map4.mul";
    test::FakeEditorLink link;
    test::ScriptedDialogs dialogs;
    TMapExtendForm form{link, dialogs, link.mainWindow()};
    std::vector<Shown> shown;
};

TEST_F(EnlargeDialog, ShowsBothPhasesAndWritesTheSourceIntoANewMondainsLegacyMap) {
    form.show();
    EXPECT_EQ(label("MapInfo"), "None");
    EXPECT_EQ(label("ProgressInfo"), "");
    chooseSource(source);
    EXPECT_EQ(dialogs.openRequests[0].filters,
              (QStringList{"Ultima Online MAP (map*.mul)", "Ultima Online MAP container (map*.uop)"}));
    EXPECT_EQ(form.findChild<QLineEdit*>("SourceMap")->text(), qPath(source));
    EXPECT_EQ(label("MapInfo"), "Tokuno");
    EXPECT_EQ(label("MapSize"), "1448x1448");

    const fs::path output = dir / "out/map0.mul";
    enlargeTo(output);
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join("|").toStdString();
    EXPECT_EQ(dialogs.saveRequests[0].fileName, "map0.mul");
    EXPECT_EQ(dialogs.saveRequests[0].filters,
              (QStringList{"Ultima Online MAP (*.mul)", "Ultima Online MAP container (*.uop)"}));

    const auto creating = percentages("Creating new map file");
    const auto copying = percentages("Copying source map to new map");
    ASSERT_FALSE(creating.empty());
    ASSERT_FALSE(copying.empty());
    EXPECT_EQ(creating.front(), 0);
    EXPECT_EQ(creating.back(), 99) << "creating never shows 100";
    EXPECT_TRUE(std::is_sorted(creating.begin(), creating.end()));
    EXPECT_EQ(copying.front(), 0);
    EXPECT_EQ(copying.back(), 100);
    EXPECT_EQ(label("ProgressInfo"), "Done.");
    EXPECT_EQ(bar().value(), 0);
    test::saveScreenshot(form, "map-enlargement");
    EXPECT_TRUE(saveButton().isEnabled());
    EXPECT_EQ(link.replaced, std::vector<fs::path>{output}) << "an open map at the output is reopened";

    ASSERT_EQ(fs::file_size(output), kEnlargedSize);
    const MapFile from(source, File::Mode::Read);
    const MapFile to(output, File::Mode::Read);
    const MapGeometry tokuno{1448, 1448, 181};
    const MapGeometry enlarged{7168, 4096, 512};
    for (const auto& [x, y] : {std::pair{0, 0}, {1447, 1447}, {700, 3}, {5, 1200}})
        EXPECT_EQ(to.readCell(x, y, enlarged), from.readCell(x, y, tokuno)) << x << "," << y;
    for (const auto& [x, y] : {std::pair{1448, 0}, {0, 1448}, {7167, 4095}})
        EXPECT_EQ(to.readCell(x, y, enlarged), MapCell{}) << x << "," << y;
    for (const auto& [bx, by] : {std::pair{0, 0}, {100, 100}, {895, 511}}) {
        const MapBlockBytes block = to.readBlock(bx, by, enlarged);
        EXPECT_TRUE(std::all_of(block.begin(), block.begin() + 4, [](std::uint8_t b) { return b == 0; }))
            << "the header of block " << bx << "," << by << " is zero";
    }
}

TEST_F(EnlargeDialog, RefusesWithoutARecognisedSourceAndOverItsOwnSource) {
    form.show();
    QTest::mouseClick(&saveButton(), Qt::LeftButton);
    fs::copy_file(source, dir / "src/map9.mul");
    chooseSource(dir / "src/map9.mul");
    EXPECT_EQ(label("MapInfo"), "None");
    QTest::mouseClick(&saveButton(), Qt::LeftButton);
    EXPECT_EQ(dialogs.messages, (QStringList{"Wrong source map file!", "Wrong source map file!"}));
    EXPECT_TRUE(dialogs.saveRequests.empty()) << "no file is asked for";

    chooseSource(source);
    const auto before = test::readBytes(source);
    enlargeTo(source);
    ASSERT_EQ(dialogs.messages.size(), 3);
    EXPECT_TRUE(dialogs.messages[2].contains("cannot be written over its own source map")) << dialogs.messages[2].toStdString();
    EXPECT_TRUE(test::readBytes(source) == before);

    enlargeTo(std::nullopt);
    EXPECT_EQ(dialogs.messages.size(), 3);
    EXPECT_TRUE(saveButton().isEnabled());
    EXPECT_TRUE(fs::is_empty(dir / "out"));
    EXPECT_TRUE(link.replaced.empty());
}

TEST_F(EnlargeDialog, AFailingDiskIsReportedWithTheFileAndTheCauseAndTheButtonComesBack) {
    form.show();
    chooseSource(source);
    const fs::path output = dir / "out/map0.mul";
    test::writeBytes(output, {1, 2, 3});
    {
        test::FailingDevice device(3, ENOSPC, {IoOperation::Write});
        const ScopedFaultInjector injected(device);
        enlargeTo(output);
        ASSERT_TRUE(device.failed());
    }
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("No space left on device")) << dialogs.errors[0].toStdString();
    EXPECT_TRUE(dialogs.errors[0].contains(qPath(dir / "out"))) << dialogs.errors[0].toStdString();
    EXPECT_TRUE(saveButton().isEnabled());
    EXPECT_FALSE(form.running());
    EXPECT_EQ(test::readBytes(output), (std::vector<std::uint8_t>{1, 2, 3})) << "the earlier file stays";
    EXPECT_TRUE(link.replaced.empty());

    // The source was closed and can be used again at once.
    enlargeTo(output);
    EXPECT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(fs::file_size(output), kEnlargedSize);
}

} // namespace
