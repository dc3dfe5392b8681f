#include "gui/app/LeftPanel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/widgets/RadioGroup.h"

namespace stonereach {

namespace {

// Height kept free at the top for the brush size group of the painting tools.
constexpr int kBrushSizeGroupHeight = 96;
constexpr int kPanelWidth = 140;

QToolButton* glyphButton(const QString& name, const QString& glyph, const QString& hint, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(glyph);
    button->setToolTip(hint);
    button->setAutoRaise(false);
    button->setFixedSize(26, 24);
    return button;
}

QLineEdit* jumpEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setFixedWidth(52);
    return edit;
}

} // namespace

LeftPanel::LeftPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("LeftPanel"));
    setFixedWidth(kPanelWidth);

    auto* zoomGroup = new QGroupBox(QStringLiteral(" Zoom "), this);
    zoomGroup->setObjectName(QStringLiteral("ZoomGroup"));
    zoomOutButton = glyphButton(QStringLiteral("SpeedButton2"), QStringLiteral("\u2212"), QStringLiteral("Zoom out"),
                                zoomGroup);
    zoomInButton = glyphButton(QStringLiteral("SpeedButton3"), QStringLiteral("+"), QStringLiteral("Zoom in"),
                               zoomGroup);
    // Holds the cell size the settings keep; never shown.
    zoomLevel = new QLineEdit(QStringLiteral("45"), zoomGroup);
    zoomLevel->setObjectName(QStringLiteral("ZoomLevel"));
    zoomLevel->setVisible(false);
    zoomDefaultButton = new QPushButton(QStringLiteral("Default"), zoomGroup);
    zoomDefaultButton->setObjectName(QStringLiteral("TLZoomLevel"));
    auto* zoomLayout = new QHBoxLayout(zoomGroup);
    zoomLayout->setContentsMargins(4, 2, 4, 4);
    zoomLayout->addWidget(zoomOutButton);
    zoomLayout->addWidget(zoomInButton);
    zoomLayout->addWidget(zoomDefaultButton);

    auto* coordsGroup = new QGroupBox(QStringLiteral(" Coords "), this);
    coordsGroup->setObjectName(QStringLiteral("CoordsGroup"));
    xJumpEdit = jumpEdit(QStringLiteral("XJumpEdit"), coordsGroup);
    yJumpEdit = jumpEdit(QStringLiteral("YJumpEdit"), coordsGroup);
    goButton = glyphButton(QStringLiteral("CoordGoBtn"), QString(), QStringLiteral("Go"), coordsGroup);
    goButton->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    auto* coordsLayout = new QGridLayout(coordsGroup);
    coordsLayout->setContentsMargins(4, 2, 4, 4);
    coordsLayout->addWidget(new QLabel(QStringLiteral("X"), coordsGroup), 0, 0);
    coordsLayout->addWidget(xJumpEdit, 0, 1);
    coordsLayout->addWidget(new QLabel(QStringLiteral("Y"), coordsGroup), 1, 0);
    coordsLayout->addWidget(yJumpEdit, 1, 1);
    coordsLayout->addWidget(goButton, 0, 2, 2, 1, Qt::AlignVCenter);

    const QStringList onOff{QStringLiteral("On"), QStringLiteral("Off")};
    showAltitude = new RadioGroup(QStringLiteral(" Altitude "), onOff, this);
    showAltitude->setObjectName(QStringLiteral("ShowAltitudeRadioGroup"));
    showAltitude->setItemIndex(1);
    grid = new RadioGroup(QStringLiteral(" Grid "), onOff, this);
    grid->setObjectName(QStringLiteral("GridBox"));
    grid->setItemIndex(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addSpacing(kBrushSizeGroupHeight);
    layout->addWidget(zoomGroup);
    layout->addWidget(coordsGroup);
    layout->addWidget(showAltitude);
    layout->addWidget(grid);
    layout->addStretch();
}

} // namespace stonereach
