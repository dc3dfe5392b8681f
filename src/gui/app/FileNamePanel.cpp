#include "gui/app/FileNamePanel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace stonereach {

namespace {

QToolButton* browseButton(const QString& name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(QStringLiteral("..."));
    return button;
}

QLabel* label(const QString& name, const QString& text, QWidget* parent) {
    auto* result = new QLabel(text, parent);
    result->setObjectName(name);
    return result;
}

} // namespace

FileNamePanel::FileNamePanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("FileNamePanel"));

    mapEdit = new QLineEdit(QStringLiteral("Path to MAPx file"), this);
    mapEdit->setObjectName(QStringLiteral("MapEdit"));
    loadMapButton = browseButton(QStringLiteral("TlLoadMap"), this);
    clientDirEdit = new QLineEdit(QStringLiteral("Path to Ultima Online directory"), this);
    clientDirEdit->setObjectName(QStringLiteral("UOPathEdit"));
    selectDirButton = browseButton(QStringLiteral("TlSelectDir"), this);

    mapInfoPanel = new QGroupBox(QStringLiteral(" Map file information "), this);
    mapInfoPanel->setObjectName(QStringLiteral("MapInfoPanel"));
    mapInfo = label(QStringLiteral("MapInfo"), QStringLiteral("Map version"), mapInfoPanel);
    mapSize = label(QStringLiteral("MapSize"), QStringLiteral("MapSize"), mapInfoPanel);
    auto* infoLayout = new QVBoxLayout(mapInfoPanel);
    infoLayout->setContentsMargins(6, 2, 6, 2);
    infoLayout->setSpacing(0);
    infoLayout->addWidget(mapInfo);
    infoLayout->addWidget(mapSize);
    mapInfoPanel->setFixedWidth(190);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setVerticalSpacing(2);
    layout->addWidget(label(QStringLiteral("MapLabel"), QStringLiteral("MAPx.mul :"), this), 0, 0);
    layout->addWidget(mapEdit, 0, 1);
    layout->addWidget(loadMapButton, 0, 2);
    layout->addWidget(label(QStringLiteral("UOPathLabel"), QStringLiteral("Ultima Online directory :"), this), 1, 0);
    layout->addWidget(clientDirEdit, 1, 1);
    layout->addWidget(selectDirButton, 1, 2);
    layout->addWidget(mapInfoPanel, 0, 3, 2, 1);
    layout->setColumnStretch(1, 1);
}

} // namespace stonereach
