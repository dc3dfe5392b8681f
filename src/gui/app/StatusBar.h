#pragma once

#include <QFrame>

class QLabel;

namespace stonereach {

// The window's two-panel status line. The panels are placed by hand rather
// than by a layout, so their widths follow what the window sets and never
// hold the window at a minimum size.
class StatusBar : public QFrame {
    Q_OBJECT
public:
    explicit StatusBar(QWidget* parent = nullptr);

    void setPanelText(int panel, const QString& text);
    QString panelText(int panel) const;
    void setPanelWidth(int panel, int width);
    int panelWidth(int panel) const;

    // A line that says what the user must know now (the open map was
    // deleted, say), shown over both panels until it is cleared with an
    // empty text.
    void showNotice(const QString& text);
    QString notice() const;

private:
    void placePanels();

    QLabel* panels_[2];
    QLabel* notice_;
    int widths_[2] = {250, 250};
};

} // namespace stonereach
