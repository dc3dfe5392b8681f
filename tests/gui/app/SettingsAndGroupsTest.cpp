#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include <QSettings>
#include <QSignalSpy>

#include "gui/app/GuiTestSupport.h"
#include "gui/app/QtSettingsStore.h"
#include "gui/app/StartupPaths.h"
#include "gui/widgets/RadioGroup.h"

using namespace stonereach;

TEST(QtSettingsStore, KeepsStringValuesInTheConfigurationFolderOfTheEnvironment) {
    test::editorApp();
    QtSettingsStore store;
    EXPECT_FALSE(store.value("NeverWritten").has_value());
    store.setValue("CoordX", "100");
    store.setValue("MAPx.mul", "/maps/map0.mul");

    QtSettingsStore reopened;
    EXPECT_EQ(reopened.value("CoordX"), "100");
    EXPECT_EQ(reopened.value("MAPx.mul"), "/maps/map0.mul");

    const std::filesystem::path config = std::getenv("XDG_CONFIG_HOME");
    EXPECT_TRUE(std::filesystem::exists(config / "BrannockStonereach" / "stonereach.ini"));
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
