#pragma once

#include <QPointer>
#include <QWidget>

#include "mapdata/Progress.h"

class QLabel;
class QProgressBar;

namespace stonereach {

// Lets pending window events run between the steps of a long operation, so
// the window repaints and the progress bar moves.
void pumpEvents();

// The report's position on a bar of 0..barMaximum.
int scaledPosition(const ProgressReport& report, int barMaximum);

// Lays out a progress dialog's label over its bar (0..100, at 0, no text on
// the bar), at least 320 pixels wide. Both widgets are children of dialog.
void layOutLabelOverBar(QWidget* dialog, QLabel* label, QProgressBar* bar);

// Disables the control that starts a long operation for as long as the
// operation runs, so events let through by pumpEvents() cannot start a second
// run; enables it again when the operation ends, also by an error.
class DisabledWhileRunning {
public:
    explicit DisabledWhileRunning(QWidget* control);
    DisabledWhileRunning(const DisabledWhileRunning&) = delete;
    DisabledWhileRunning& operator=(const DisabledWhileRunning&) = delete;
    ~DisabledWhileRunning();

private:
    QPointer<QWidget> control_;
    bool wasEnabled_;
};

} // namespace stonereach
