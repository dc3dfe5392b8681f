#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QSettings>
#include <QTest>
#include <QSignalSpy>

#include "gui/app/GuiTestSupport.h"
#include "gui/app/QtSettingsStore.h"
#include "gui/app/StartupPaths.h"
#include "gui/widgets/RadioGroup.h"
#include "support/TempDir.h"

using namespace stonereach;

TEST(QtSettingsStore, KeepsStringValuesInTheConfigurationFolderOfTheEnvironment) {
    test::editorApp();
    {
        QtSettingsStore store;
        EXPECT_FALSE(store.value("NeverWritten").has_value());
        store.setValue("CoordX", "100");
        store.setValue("MAPx.mul", "/maps/map0.mul");
    } // written when the store goes

    QtSettingsStore reopened;
    EXPECT_EQ(reopened.value("CoordX"), "100");
    EXPECT_EQ(reopened.value("MAPx.mul"), "/maps/map0.mul");

    const std::filesystem::path config = std::getenv("XDG_CONFIG_HOME");
    EXPECT_TRUE(std::filesystem::exists(config / "BrannockStonereach" / "stonereach.ini"));
}

// Typing a path stores it at every keystroke; the file is written once the
// typing pauses (or the application quits), not at each of them. The test
// sets how long a pause is, so a slow machine cannot make one by accident.
TEST(QtSettingsStore, ValuesSetWhileTypingAreWrittenTogetherWhenTheTypingPausesOrTheProgramQuits) {
    test::editorApp();
    const std::filesystem::path file =
        std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "BrannockStonereach" / "stonereach.ini";
    const auto contents = [&] {
        const std::vector<std::uint8_t> bytes = test::readBytes(file);
        return std::string(bytes.begin(), bytes.end());
    };
    QtSettingsStore{}.setValue("CoordY", "1"); // the file exists before the typing
    const std::string before = contents();
    ASSERT_NE(before.find("CoordY=1"), std::string::npos);

    const std::string typed = "/home/builder/worlds/map0.mul";
    {
        // No pause between the keys however long a turn of the event loop takes.
        QtSettingsStore store(std::chrono::hours(1));
        for (std::size_t length = 1; length <= typed.size(); ++length) {
            store.setValue("MAPx.mul", typed.substr(0, length));
            store.setValue("UOPath", typed.substr(0, length));
            QCoreApplication::processEvents(); // a turn of the event loop after each key
            QCoreApplication::sendPostedEvents();
        }
        EXPECT_EQ(contents(), before) << "nothing written while typing";
        EXPECT_EQ(store.value("MAPx.mul"), typed) << "the store answers with what was set";
    }

    // A pause at once after the last key.
    QtSettingsStore store(std::chrono::milliseconds(0));
    store.setValue("MAPx.mul", typed + ".bak");
    EXPECT_EQ(contents().find("MAPx.mul=" + typed + ".bak"), std::string::npos);
    EXPECT_TRUE(QTest::qWaitFor([&] { return contents().find("MAPx.mul=" + typed + ".bak") != std::string::npos; }, 5000))
        << "written when the typing pauses, so a crash later loses nothing";
    EXPECT_EQ(QtSettingsStore().value("UOPath"), typed) << "written when the store went";

    // What the application does after its last window has closed.
    store.setValue("CoordX", "4321");
    QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection);
    EXPECT_NE(contents().find("CoordX=4321"), std::string::npos) << contents();
}

TEST(QtSettingsStore, ValueOfAnotherTypeReadsAsAbsent) {
    test::editorApp();
    {
        QSettings raw(QSettings::IniFormat, QSettings::UserScope, "BrannockStonereach", "stonereach");
        raw.setValue("Grid", QStringList{"0", "1"});
    }
    EXPECT_FALSE(QtSettingsStore().value("Grid").has_value());
}

TEST(StartupPathStore, CommandLinePathsReplaceStoredOnesUntilThePathsAreStoredAgain) {
    MemorySettingsStore user;
    user.setValue(SettingNames::MapPath, "/stored/map0.mul");
    user.setValue(SettingNames::ClientDir, "/stored/client");
    user.setValue(SettingNames::CoordX, "7");
    StartupPathStore store(user, StartupPaths{"/given/map2.mul", std::nullopt});

    EXPECT_EQ(store.value(SettingNames::MapPath), "/given/map2.mul");
    EXPECT_EQ(store.value(SettingNames::ClientDir), "/stored/client");
    EXPECT_EQ(store.value(SettingNames::CoordX), "7");
    EXPECT_EQ(user.value(SettingNames::MapPath), "/stored/map0.mul") << "nothing written by reading";

    store.setValue(SettingNames::MapPath, "/chosen/map3.mul");
    EXPECT_EQ(store.value(SettingNames::MapPath), "/chosen/map3.mul");
    EXPECT_EQ(user.value(SettingNames::MapPath), "/chosen/map3.mul");
}

TEST(RadioGroup, ReportsAChangeOfSelectionAsAClickAndNothingElse) {
    test::editorApp();
    RadioGroup group(" Grid ", {"On", "Off"});
    group.setItemIndex(1);
    QSignalSpy clicks(&group, &RadioGroup::clicked);

    EXPECT_FALSE(group.selectAsIfClicked(1));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_TRUE(group.selectAsIfClicked(0));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.front().front().toInt(), 0);

    EXPECT_TRUE(group.selectAsIfClicked(-1));
    EXPECT_EQ(group.itemIndex(), -1) << "an index below 0 selects none";
    group.setItemIndex(1);
    EXPECT_EQ(clicks.count(), 2) << "setItemIndex alone reports nothing";
}
