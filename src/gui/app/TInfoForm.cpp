#include "gui/app/TInfoForm.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVersionNumber>

#include "gui/app/ProgramIcon.h"

namespace stonereach {

QString shortVersionText(const QString& version) {
    const QVersionNumber number = QVersionNumber::fromString(version);
    if (number.isNull())
        return {};
    return QStringLiteral("%1.%2.%3").arg(number.majorVersion()).arg(number.minorVersion()).arg(number.microVersion());
}

TInfoForm::TInfoForm(QWidget* owner, UrlOpener openUrl)
    : QDialog(owner), openUrl_(openUrl ? std::move(openUrl) : UrlOpener([](const QUrl& url) {
                                   QDesktopServices::openUrl(url);
                               })) {
    setObjectName(QStringLiteral("InfoForm"));
    setWindowTitle(QStringLiteral("Brannock Stonereach - About program"));
    setAttribute(Qt::WA_DeleteOnClose);

    setWindowIcon(programIcon());
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(programIcon().pixmap(kAboutIconSize, kAboutIconSize));

    auto* name = new QLabel(QStringLiteral("Brannock Stonereach"), this);
    name->setObjectName(QStringLiteral("TextCopy"));
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    name->setFont(big);

    auto* versionCaption = new QLabel(QStringLiteral("Program version :"), this);
    versionCaption->setObjectName(QStringLiteral("VerzeText"));
    auto* version = new QLabel(shortVersionText(QCoreApplication::applicationVersion()), this);
    version->setObjectName(QStringLiteral("VypisVerze"));
    auto* versionRow = new QHBoxLayout;
    versionRow->addWidget(versionCaption);
    versionRow->addWidget(version);
    versionRow->addStretch();

    auto* credit = new QLabel(QStringLiteral("A terrain editor for Ultima Online map files, made for shard builders."),
                              this);
    credit->setObjectName(QStringLiteral("CreditLine"));

    const QString page = QString::fromLatin1(kProjectPageUrl);
    auto* link = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(page), this);
    link->setObjectName(QStringLiteral("Odkaz"));
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setOpenExternalLinks(false);
    connect(link, &QLabel::linkActivated, this, [this](const QString& url) { openUrl_(QUrl(url)); });

    auto* thanks = new QPlainTextEdit(this);
    thanks->setObjectName(QStringLiteral("Podekovani"));
    thanks->setReadOnly(true);
    thanks->setPlainText(QStringLiteral(
        "Thanks to the shard builders who mapped out the client's file formats and shared what they found,\n"
        "to everyone who reported a problem with a map and sent the file along,\n"
        "and to the Qt, expat, CLI11 and GoogleTest projects, on which this program is built."));
    thanks->setFixedHeight(thanks->fontMetrics().lineSpacing() * 5 + 12);

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("TlacitkoOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    auto* title = new QHBoxLayout;
    title->addStretch();
    title->addWidget(icon);
    title->addWidget(name);
    title->addStretch();
    layout->addLayout(title);
    layout->addLayout(versionRow);
    layout->addWidget(credit);
    layout->addWidget(link);
    layout->addWidget(thanks);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace stonereach
