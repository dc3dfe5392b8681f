#include "gui/app/TPrForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>

#include "gui/app/ProgressPump.h"

namespace stonereach {

namespace {
const QString kWorkingText = QStringLiteral("Working, please wait...");
}

TPrForm::TPrForm(QWidget* owner)
    // No close box or system menu: only the operation ends the dialog.
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      label_(new QLabel(kWorkingText, this)), bar_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("PrForm"));
    setWindowTitle(QStringLiteral("Brannock Stonereach"));
    label_->setObjectName(QStringLiteral("ProgressLabel"));
    label_->setAlignment(Qt::AlignCenter);
    bar_->setObjectName(QStringLiteral("ProgressBar"));
    layOutLabelOverBar(this, label_, bar_);
}

void TPrForm::setText(const QString& text) {
    label_->setText(text);
    bar_->setValue(0);
}

void TPrForm::setPosition(int position) { bar_->setValue(position); }

QString TPrForm::text() const { return label_->text(); }

int TPrForm::position() const { return bar_->value(); }

ProgressCallback TPrForm::progressCallback() {
    return [this, lastText = QString()](const ProgressReport& report) mutable {
        const QString text = QString::fromUtf8(report.text.data(), static_cast<qsizetype>(report.text.size()));
        if (text != lastText) {
            setText(text);
            lastText = text;
        }
        setPosition(scaledPosition(report, 100));
        pumpEvents();
    };
}

void TPrForm::showEvent(QShowEvent* event) {
    setText(kWorkingText);
    QDialog::showEvent(event);
}

void TPrForm::closeEvent(QCloseEvent* event) { event->ignore(); }

void TPrForm::reject() {
    // Escape would close a dialog; this one closes only when the work ends.
}

} // namespace stonereach
