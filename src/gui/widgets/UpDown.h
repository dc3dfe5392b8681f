#pragma once

#include <QWidget>

class QToolButton;

namespace stonereach {

// An up-down control: two small arrow buttons that step a position within a
// range. It has no text of its own; its owner shows the position where it
// belongs, usually in an edit beside it, its buddy. Up and Down step it by
// one and Page Up and Page Down by ten, when it or its buddy has the focus;
// with a buddy, the buddy alone takes the focus.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(int minimum, int maximum, int position, QWidget* parent = nullptr);

    int position() const { return position_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    // Sets the position (kept within the range) without reporting it.
    void setPosition(int position);
    // The edit that shows the position: its keys step the control.
    void setBuddy(QWidget* buddy);

    static constexpr int PageStep = 10;

signals:
    // The user stepped the control; `position` is the new position.
    void clicked(int position);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step(int delta);
    // Steps for a stepping key; false for any other key.
    bool stepByKey(const QKeyEvent& event);

    int minimum_;
    int maximum_;
    int position_;
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace stonereach
