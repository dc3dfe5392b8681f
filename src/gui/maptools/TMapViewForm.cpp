#include "gui/maptools/TMapViewForm.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/app/EditorLink.h"
#include "gui/app/ProgressPump.h"
#include "gui/app/ToolSupport.h"
#include "gui/app/WindowDialogs.h"
#include "gui/maptools/OverviewCanvas.h"
#include "mapdata/OpenMap.h"
#include "maptools/OverviewPicture.h"
#include "render/OverviewImage.h"

namespace stonereach {

namespace {

// The hourglass for as long as the build runs, also when it fails.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

TMapViewForm::TMapViewForm(EditorLink& link, WindowDialogs& dialogs, const MapGeometry& geometry, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      link_(link), dialogs_(dialogs), geometry_(geometry), canvas_(new OverviewCanvas(this)),
      generateText_(new QLabel(QStringLiteral("Building map overview ..."), canvas_)) {
    setObjectName(QStringLiteral("MapViewForm"));
    setWindowTitle(QStringLiteral("Brannock Stonereach - Overview"));

    canvas_->setObjectName(QStringLiteral("Mapa"));
    canvas_->setAccessibleName(QStringLiteral("Overview picture"));
    canvas_->setAccessibleDescription(
        QStringLiteral("Click a place, or mark it with the arrow keys and press Enter, to move the map view there"));
    canvas_->setPictureSize(QSize(geometry.blocksAcross(), geometry.height / 8));

    generateText_->setObjectName(QStringLiteral("GenerateText"));
    QFont font = generateText_->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    generateText_->setFont(font);
    generateText_->setAlignment(Qt::AlignCenter);
    generateText_->hide();
    auto* canvasLayout = new QVBoxLayout(canvas_);
    canvasLayout->addWidget(generateText_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(canvas_);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(canvas_, &OverviewCanvas::pixelPressed, this,
            [this](int px, int py) { runToolHandler(dialogs_, this, [&] { MapaMouseDown(px, py); }); });
}

QImage TMapViewForm::picture() const { return canvas_->picture(); }

void TMapViewForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(*this);
    // The build is posted, so it starts once the window is on screen.
    if (!requested_) {
        requested_ = true;
        QMetaObject::invokeMethod(this, &TMapViewForm::buildRequest, Qt::QueuedConnection);
    }
}

void TMapViewForm::buildRequest() {
    bool failed = true;
    runToolHandler(dialogs_, this, [this, &failed] {
        build();
        failed = false;
    });
    built_ = true;
    // A map that cannot be read leaves nothing to show.
    if (failed)
        reject();
}

void TMapViewForm::build() {
    const std::filesystem::path map = link_.openMap().path();
    if (map.empty() && !link_.clientDirectoryValid()) {
        reject();
        return;
    }
    {
        const BusyCursor busy;
        generateText_->show();
        pumpEvents();
        // Without a usable map path the picture stays empty; without a client
        // directory the radar colours are all black.
        if (!map.empty())
            canvas_->setPicture(toQImage(buildOverview(map, geometry_, link_.radarColours())));
        generateText_->hide();
    }
    pumpEvents();
}

void TMapViewForm::MapaMouseDown(int px, int py) {
    link_.goToCell(8 * px, 8 * py);
    accept();
}

} // namespace stonereach
