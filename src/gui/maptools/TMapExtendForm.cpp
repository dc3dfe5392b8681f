#include "gui/maptools/TMapExtendForm.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/app/EditorLink.h"
#include "gui/app/ProgressPump.h"
#include "gui/app/ToolSupport.h"
#include "gui/app/WindowDialogs.h"
#include "gui/widgets/ControlNames.h"
#include "mapdata/MapIdentity.h"
#include "maptools/MapEnlarger.h"

namespace stonereach {

namespace {

const QString kNone = QStringLiteral("None");

} // namespace

TMapExtendForm::TMapExtendForm(EditorLink& link, WindowDialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      link_(link), dialogs_(dialogs) {
    setObjectName(QStringLiteral("MapExtendForm"));
    setWindowTitle(QStringLiteral("Brannock Stonereach - Map Enlagement"));

    source_ = new QLineEdit(this);
    source_->setObjectName(QStringLiteral("SourceMap"));
    source_->setEnabled(false);
    source_->setMinimumWidth(320);
    QLabel* label1 = buddyLabel(QStringLiteral("Label1"), QStringLiteral("Path to map file (source) :"), source_, this);
    auto* load = new QToolButton(this);
    load->setObjectName(QStringLiteral("TLMapLoad"));
    load->setText(QStringLiteral("..."));
    setGlyphHint(load, QStringLiteral("Choose the source map file"));

    auto* infoPanel = new QGroupBox(QStringLiteral(" Map file information "), this);
    infoPanel->setObjectName(QStringLiteral("MapInfoPanel"));
    mapInfo_ = new QLabel(kNone, infoPanel);
    mapInfo_->setObjectName(QStringLiteral("MapInfo"));
    mapSize_ = new QLabel(kNone, infoPanel);
    mapSize_->setObjectName(QStringLiteral("MapSize"));
    auto* infoLayout = new QVBoxLayout(infoPanel);
    infoLayout->addWidget(mapInfo_);
    infoLayout->addWidget(mapSize_);

    progressInfo_ = new QLabel(this);
    progressInfo_->setObjectName(QStringLiteral("ProgressInfo"));
    progressInfo_->setAlignment(Qt::AlignCenter);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar"));
    progress_->setAccessibleName(QStringLiteral("Enlargement progress"));
    progress_->setTextVisible(false);
    progress_->setValue(0);
    save_ = new QPushButton(QStringLiteral("Enlarge to Mondain's Legacy"), this);
    save_->setObjectName(QStringLiteral("TLMapSave"));

    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(source_, 1);
    sourceRow->addWidget(load);
    auto* saveRow = new QHBoxLayout;
    saveRow->addStretch(1);
    saveRow->addWidget(save_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1);
    layout->addLayout(sourceRow);
    layout->addWidget(infoPanel);
    layout->addWidget(progressInfo_);
    layout->addWidget(progress_);
    layout->addLayout(saveRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(load, &QToolButton::clicked, this, [this] { guarded([this] { TLMapLoadClick(); }); });
    connect(save_, &QPushButton::clicked, this, [this] { guarded([this] { TLMapSaveClick(); }); });
    connect(source_, &QLineEdit::textChanged, this, [this] { guarded([this] { NazevMapy(); }); });
}

template <typename Handler>
void TMapExtendForm::guarded(Handler&& handler) {
    runToolHandler(dialogs_, this, std::forward<Handler>(handler));
}

void TMapExtendForm::reject() {
    // The run goes on inside this dialog's event handling; it ends first.
    if (!running_)
        QDialog::reject();
}

void TMapExtendForm::TLMapLoadClick() {
    const auto chosen = dialogs_.chooseOpenFile(
        this, FileDialogRequest{QString(),
                                mapFileFilters(QStringLiteral("Ultima Online MAP (map*.mul)"), QStringLiteral("map*"),
                                               source_->text()),
                                QString(), QString()});
    if (!chosen)
        return;
    source_->setText(*chosen);
    // The same path chosen again is looked at again: the file may have changed.
    NazevMapy();
}

void TMapExtendForm::NazevMapy() {
    variant_ = source_->text().isEmpty() ? nullptr : identifyMapFile(pathOf(source_->text()));
    mapInfo_->setText(variant_ ? qText(variant_->name) : kNone);
    mapSize_->setText(variant_ ? qText(variant_->sizeText) : kNone);
}

void TMapExtendForm::TLMapSaveClick() {
    if (variant_ == nullptr) {
        dialogs_.showMessage(this, QStringLiteral("Wrong source map file!"));
        return;
    }
    // The save dialog asks before an existing file is replaced.
    const auto chosen = dialogs_.chooseSaveFile(
        this, FileDialogRequest{QString(),
                                mapFileFilters(QStringLiteral("Ultima Online MAP (*.mul)"), QStringLiteral("*"),
                                               QString()),
                                QString(),
                                QStringLiteral("map0.mul")});
    if (!chosen)
        return;

    const std::filesystem::path output = pathOf(*chosen);
    {
        const RunningFlag running(running_);
        const DisabledWhileRunning disabled(save_);
        enlargeMap(pathOf(source_->text()), output, [this](const ProgressReport& report) {
            progressInfo_->setText(qText(report.text));
            progress_->setMaximum(static_cast<int>(report.maximum));
            progress_->setValue(static_cast<int>(report.position));
            pumpEvents();
        });
    }
    link_.mapFileReplaced(output);
}

} // namespace stonereach
