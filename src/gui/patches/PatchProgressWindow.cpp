#include "gui/patches/PatchProgressWindow.h"

#include "gui/app/ProgressPump.h"
#include "gui/app/TProgressForm.h"

namespace stonereach {

PatchProgressWindow::PatchProgressWindow(QWidget* owner, int maximum) : form_(std::make_unique<TProgressForm>(owner)) {
    form_->setWindowModality(Qt::ApplicationModal);
    form_->setMaximum(maximum);
    form_->setPosition(0);
    form_->show();
    pumpEvents();
}

PatchProgressWindow::~PatchProgressWindow() { form_->close(); }

void PatchProgressWindow::step(const QString& text, int position) {
    form_->setText(text);
    form_->setPosition(position);
    pumpEvents();
}

ProgressCallback PatchProgressWindow::callback() { return form_->progressCallback(); }

} // namespace stonereach
