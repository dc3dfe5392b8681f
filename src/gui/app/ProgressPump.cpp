#include "gui/app/ProgressPump.h"

#include <algorithm>

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace stonereach {

void pumpEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

int scaledPosition(const ProgressReport& report, int barMaximum) {
    if (report.maximum <= 0)
        return 0;
    const std::int64_t position = std::clamp<std::int64_t>(report.position, 0, report.maximum);
    return static_cast<int>(position * barMaximum / report.maximum);
}

void layOutLabelOverBar(QWidget* dialog, QLabel* label, QProgressBar* bar) {
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(label);
    layout->addWidget(bar);
    dialog->setMinimumWidth(320);
    dialog->adjustSize();
}

DisabledWhileRunning::DisabledWhileRunning(QWidget* control)
    : control_(control), wasEnabled_(control != nullptr && control->isEnabled()) {
    if (control_)
        control_->setEnabled(false);
}

DisabledWhileRunning::~DisabledWhileRunning() {
    if (control_)
        control_->setEnabled(wasEnabled_);
}

} // namespace stonereach
