#include "gui/editor/BrushesPart.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QSignalBlocker>
#include <QToolButton>

#include "editor/BrushFile.h"
#include "gui/app/QtConversions.h"
#include "gui/app/WindowRegions.h"
#include "gui/editor/TSRCustomBrush.h"
#include "gui/widgets/ControlNames.h"

namespace stonereach {

BrushesPart::BrushesPart(const HandlerGuard& guard, std::filesystem::path programDir, MapDrawSource& pictures,
                         WindowRegions& regions)
    : guard_(guard), programDir_(std::move(programDir)), pictures_(pictures) {
    chooser_ = new QComboBox;
    chooser_->setObjectName(QStringLiteral("cbCustomBrushes"));
    chooser_->setAccessibleName(QStringLiteral("Custom brush"));
    chooser_->setToolTip(QStringLiteral("Custom brush"));
    chooser_->setMinimumContentsLength(10);
    chooser_->setPlaceholderText(QStringLiteral("(no brush)"));
    editButton_ = new QToolButton;
    editButton_->setObjectName(QStringLiteral("SpeedButton6"));
    editButton_->setText(QStringLiteral("Edit"));
    setGlyphHint(editButton_, QStringLiteral("Edit custom brushes"));
    regions.brushChooser->addWidget(chooser_);
    regions.brushChooser->addWidget(editButton_);
    guard_.connect(chooser_, &QComboBox::textActivated, this,
                   [this](const QString& name) { cbCustomBrushesChange(name); });
    guard_.connect(editButton_, &QToolButton::clicked, this, [this] { SpeedButton6Click(); });
}

void BrushesPart::listBrushes() {
    const QSignalBlocker blocker(chooser_);
    const QString current = chooser_->currentText();
    chooser_->clear();
    for (const std::string& name : listBrushNames(programDir_ / kBrushFolderName))
        chooser_->addItem(fromFileText(name));
    // The box shows the brush that is loaded while it is still listed.
    chooser_->setCurrentIndex(chooser_->findText(current));
}

QString BrushesPart::brushName() const { return chooser_->currentIndex() < 0 ? QString() : chooser_->currentText(); }

void BrushesPart::chooseBrush(const QString& name) {
    const int index = chooser_->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return;
    {
        const QSignalBlocker blocker(chooser_);
        chooser_->setCurrentIndex(index);
    }
    cbCustomBrushesChange(name);
}

void BrushesPart::cbCustomBrushesChange(const QString& name) {
    // A brush that cannot be read leaves no brush loaded.
    emit brushChosen({});
    emit brushChosen(readBrushFile(brushFilePath(programDir_ / kBrushFolderName, toFileText(name))));
}

void BrushesPart::SpeedButton6Click() {
    QStringList names;
    for (int i = 0; i < chooser_->count(); ++i)
        names << chooser_->itemText(i);
    TSRCustomBrush editor(guard_.dialogs(), programDir_, pictures_, names, guard_.window());
    if (editor.exec() == QDialog::Accepted)
        listBrushes();
}

} // namespace stonereach
