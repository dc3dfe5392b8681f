#pragma once

#include <QWidget>

class QToolButton;

namespace stonereach {

// An up-down control: two small arrow buttons that step a position within a
// range. It has no text of its own; its owner shows the position where it
// belongs. Up and Down keys step it too when it has the focus.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(int minimum, int maximum, int position, QWidget* parent = nullptr);

    int position() const { return position_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    // Sets the position (kept within the range) without reporting it.
    void setPosition(int position);

signals:
    // The user stepped the control; `position` is the new position.
    void clicked(int position);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void step(int delta);

    int minimum_;
    int maximum_;
    int position_;
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace stonereach
