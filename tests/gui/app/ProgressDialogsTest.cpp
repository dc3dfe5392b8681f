#include <stdexcept>

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "gui/app/ProgressPump.h"
#include "gui/app/TPrForm.h"
#include "gui/app/TProgressForm.h"
#include "gui/app/GuiTestSupport.h"

using namespace stonereach;

namespace {

class ProgressDialogs : public ::testing::Test {
protected:
    void SetUp() override { test::editorApp(); }
};

} // namespace

TEST_F(ProgressDialogs, SmallDialogShowsWorkingTextAndResetsBarWithEachText) {
    TPrForm form;
    EXPECT_EQ(form.windowTitle(), "Brannock Stonereach");
    form.setText("Stage one");
    form.setPosition(70);
    form.show();
    EXPECT_EQ(form.findChild<QLabel*>("ProgressLabel")->text(), "Working, please wait...");
    EXPECT_EQ(form.position(), 0);

    form.setPosition(40);
    form.setText("Stage two");
    EXPECT_EQ(form.text(), "Stage two");
    EXPECT_EQ(form.findChild<QProgressBar*>("ProgressBar")->value(), 0);
    EXPECT_EQ(form.findChild<QProgressBar*>("ProgressBar")->maximum(), 100);
}

TEST_F(ProgressDialogs, SmallDialogCannotBeClosedByTheUser) {
    TPrForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_FALSE(form.windowFlags() & Qt::WindowCloseButtonHint);
    form.close();
    EXPECT_TRUE(form.isVisible());
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
    form.hide();
    EXPECT_FALSE(form.isVisible());
}

TEST_F(ProgressDialogs, SmallDialogCallbackScalesPositionAndResetsOnNewStage) {
    TPrForm form;
    form.show();
    const ProgressCallback progress = form.progressCallback();
    progress({"Reading index", 50, 200});
    EXPECT_EQ(form.text(), "Reading index");
    EXPECT_EQ(form.position(), 25);
    progress({"Reading index", 200, 200});
    EXPECT_EQ(form.position(), 100);
    progress({"Writing map", 0, 10});
    EXPECT_EQ(form.text(), "Writing map");
    EXPECT_EQ(form.position(), 0);
}

TEST_F(ProgressDialogs, PatchDialogTakesTextMaximumAndPosition) {
    TProgressForm form;
    EXPECT_EQ(form.windowTitle(), "Progress ...");
    EXPECT_EQ(form.findChild<QLabel*>("PBarText")->text(), "Patching ...");
    const ProgressCallback progress = form.progressCallback();
    progress({"Patching 3 of 7", 3, 7});
    EXPECT_EQ(form.text(), "Patching 3 of 7");
    EXPECT_EQ(form.findChild<QProgressBar*>("PBar")->maximum(), 7);
    EXPECT_EQ(form.position(), 3);
    // Counts beyond the bar's range are scaled.
    progress({"Huge", 3'000'000'000LL, 6'000'000'000LL});
    EXPECT_EQ(form.position() * 2, form.maximum());
}

TEST_F(ProgressDialogs, StartControlIsDisabledWhileRunningAndEnabledAfterAnError) {
    QPushButton start("Start");
    try {
        DisabledWhileRunning running(&start);
        EXPECT_FALSE(start.isEnabled());
        throw std::runtime_error("failed half-way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(start.isEnabled());

    start.setEnabled(false);
    { DisabledWhileRunning running(&start); }
    EXPECT_FALSE(start.isEnabled()) << "a control disabled before stays disabled";
}
