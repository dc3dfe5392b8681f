#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "gui/app/GuiTestSupport.h"
#include "gui/app/ProgramIcon.h"
#include "gui/app/TInfoForm.h"

using namespace stonereach;

TEST(ShortVersionText, ShowsMajorMinorReleaseWithoutBuild) {
    EXPECT_EQ(shortVersionText("1.3.1.0"), "1.3.1");
    EXPECT_EQ(shortVersionText("0.1.0"), "0.1.0");
    EXPECT_EQ(shortVersionText("2"), "2.0.0");
    EXPECT_EQ(shortVersionText(""), "");
}

TEST(InfoForm, ShowsNameVersionAndOpensTheProjectPageFromItsLink) {
    test::editorApp();
    QCoreApplication::setApplicationVersion("1.3.1.0");
    QList<QUrl> opened;
    QPointer<TInfoForm> form = new TInfoForm(nullptr, [&](const QUrl& url) { opened.push_back(url); });
    form->show();
    EXPECT_EQ(form->windowTitle(), "Brannock Stonereach - About program");
    EXPECT_EQ(form->findChild<QLabel*>("TextCopy")->text(), "Brannock Stonereach");
    EXPECT_EQ(form->findChild<QLabel*>("VerzeText")->text(), "Program version :");
    EXPECT_EQ(form->findChild<QLabel*>("VypisVerze")->text(), "1.3.1");
    // The program's icon beside its name, drawn from the sizes built in.
    const QPixmap icon = form->findChild<QLabel*>("ProgramIcon")->pixmap();
    EXPECT_EQ(icon.size(), QSize(kAboutIconSize, kAboutIconSize));
    EXPECT_GT(icon.toImage().pixelColor(kAboutIconSize / 2, kAboutIconSize / 2).alpha(), 0) << "the icon is drawn";
    const QList<QSize> sizes = programIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(256, 256))) << sizes.size() << " sizes";
    EXPECT_FALSE(form->windowIcon().isNull());

    auto* link = form->findChild<QLabel*>("Odkaz");
    ASSERT_NE(link, nullptr);
    emit link->linkActivated(QString::fromLatin1(kProjectPageUrl));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.front(), QUrl(QString::fromLatin1(kProjectPageUrl)));

    QTest::mouseClick(form->findChild<QPushButton*>("TlacitkoOK"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull()) << "Ok closes and releases the about box";
    QCoreApplication::setApplicationVersion({});
}
