#include "gui/app/ProgressPump.h"

#include <algorithm>

#include <QCoreApplication>

namespace stonereach {

void pumpEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

int scaledPosition(const ProgressReport& report, int barMaximum) {
    if (report.maximum <= 0)
        return 0;
    const std::int64_t position = std::clamp<std::int64_t>(report.position, 0, report.maximum);
    return static_cast<int>(position * barMaximum / report.maximum);
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
