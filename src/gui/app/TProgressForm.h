#pragma once

#include <QDialog>

#include "mapdata/Progress.h"

class QLabel;
class QProgressBar;

namespace stonereach {

// The progress dialog of the point patch operations: a label and a bar whose
// maximum the operation sets.
class TProgressForm : public QDialog {
    Q_OBJECT
public:
    explicit TProgressForm(QWidget* owner = nullptr);

    void setText(const QString& text);
    void setMaximum(int maximum);
    void setPosition(int position);

    QString text() const;
    int maximum() const;
    int position() const;

    // A callback for the engines: takes over the report's text, maximum and
    // position, then lets pending events run.
    ProgressCallback progressCallback();

private:
    QLabel* label_;
    QProgressBar* bar_;
};

} // namespace stonereach
