#include "gui/app/TProgressForm.h"

#include <algorithm>
#include <limits>

#include <QLabel>
#include <QProgressBar>

#include "gui/app/ProgressPump.h"

namespace stonereach {

TProgressForm::TProgressForm(QWidget* owner)
    : QDialog(owner), label_(new QLabel(QStringLiteral("Patching ..."), this)), bar_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("ProgressForm"));
    setWindowTitle(QStringLiteral("Progress ..."));
    label_->setObjectName(QStringLiteral("PBarText"));
    bar_->setObjectName(QStringLiteral("PBar"));
    layOutLabelOverBar(this, label_, bar_);
}

void TProgressForm::setText(const QString& text) { label_->setText(text); }

void TProgressForm::setMaximum(int maximum) { bar_->setMaximum(maximum); }

void TProgressForm::setPosition(int position) { bar_->setValue(position); }

QString TProgressForm::text() const { return label_->text(); }

int TProgressForm::maximum() const { return bar_->maximum(); }

int TProgressForm::position() const { return bar_->value(); }

ProgressCallback TProgressForm::progressCallback() {
    return [this](const ProgressReport& report) {
        setText(QString::fromUtf8(report.text.data(), static_cast<qsizetype>(report.text.size())));
        // Counts beyond the bar's int range are scaled down to it.
        constexpr std::int64_t limit = std::numeric_limits<int>::max();
        if (report.maximum <= limit) {
            setMaximum(static_cast<int>(report.maximum));
            setPosition(static_cast<int>(std::clamp<std::int64_t>(report.position, 0, report.maximum)));
        } else {
            setMaximum(1000000);
            setPosition(scaledPosition(report, 1000000));
        }
        pumpEvents();
    };
}

} // namespace stonereach
