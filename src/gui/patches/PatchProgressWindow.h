#pragma once

#include <memory>

#include <QString>

#include "mapdata/Progress.h"

class QWidget;

namespace stonereach {

class TProgressForm;

// The progress window of one point patch operation (load, save, apply): shown
// when made and closed and released when the operation ends, also by an
// error. It is modal, so the events let through between entries cannot start
// anything else meanwhile.
class PatchProgressWindow {
public:
    PatchProgressWindow(QWidget* owner, int maximum);
    PatchProgressWindow(const PatchProgressWindow&) = delete;
    PatchProgressWindow& operator=(const PatchProgressWindow&) = delete;
    ~PatchProgressWindow();

    // Shows the text and the position, then lets pending events run.
    void step(const QString& text, int position);
    // A callback for the engines that does the same with their reports.
    ProgressCallback callback();

    TProgressForm& form() { return *form_; }

private:
    std::unique_ptr<TProgressForm> form_;
};

} // namespace stonereach
