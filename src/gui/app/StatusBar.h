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

private:
    void placePanels();

    QLabel* panels_[2];
    int widths_[2] = {250, 250};
};

} // namespace stonereach
