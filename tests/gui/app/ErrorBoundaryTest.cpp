#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <QWidget>

#include "gui/app/ErrorBoundary.h"
#include "mapdata/Errors.h"

using namespace stonereach;

TEST(ErrorBoundary, ErrorEndsTheHandlerAndIsShownOnce) {
    QStringList shown;
    const ErrorSink sink = [&](const QString& text) { shown.push_back(text); };
    int stepsRun = 0;
    runGuarded(sink, [&] {
        ++stepsRun;
        throw ConversionError("abc");
        ++stepsRun;
    });
    runGuarded(sink, [&] { ++stepsRun; });
    EXPECT_EQ(stepsRun, 2);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.front(), "'abc' is not a valid integer value");
}

TEST(ErrorBoundary, ApplicationShowsAnErrorThatLeavesAnEventHandlerAndCarriesOn) {
    auto* app = dynamic_cast<GuardedApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr) << "the application of the test program is not the editor's";
    QStringList shown;
    app->setErrorSink([&](const QString& text) { shown.push_back(text); });

    QTimer failing;
    failing.setSingleShot(true);
    QObject::connect(&failing, &QTimer::timeout, [] { throw IoError("/maps/map0.mul", "Read error"); });
    failing.start(0);
    bool laterEventRan = false;
    QTimer::singleShot(5, [&] { laterEventRan = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return laterEventRan; }, 2000));

    app->setErrorSink(showErrorMessageBox);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.front(), "Read error (file '/maps/map0.mul')");
}
