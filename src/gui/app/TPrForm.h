#pragma once

#include <QDialog>

#include "mapdata/Progress.h"

class QLabel;
class QProgressBar;

namespace stonereach {

// The small progress dialog of the long diff patch operations: a label over
// a 0..100 bar. The user cannot close it; the operation hides it when done.
class TPrForm : public QDialog {
    Q_OBJECT
public:
    explicit TPrForm(QWidget* owner = nullptr);

    // Shows the text and puts the bar back to 0.
    void setText(const QString& text);
    // Moves the bar to `position` (0..100).
    void setPosition(int position);

    QString text() const;
    int position() const;

    // A callback for the engines: a new stage text resets the bar, the
    // position is scaled to 0..100, and pending events are let through so the
    // window stays responsive.
    ProgressCallback progressCallback();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QLabel* label_;
    QProgressBar* bar_;
};

} // namespace stonereach
