#pragma once

#include <QFrame>

class QLabel;

namespace stonereach {

// The window's two-panel status line. The panels are placed by hand rather
// than by a layout, so their widths follow what the window sets and never
// hold the window at a minimum size. A text wider than its panel ends in
// "..." there and shows whole as the panel's tooltip.
class StatusBar : public QFrame {
    Q_OBJECT
public:
    explicit StatusBar(QWidget* parent = nullptr);

    void setPanelText(int panel, const QString& text);
    // The whole text, however much of it the panel shows.
    QString panelText(int panel) const { return texts_[panel]; }
    // What the panel shows: the text, cut short with "..." to fit.
    QString shownText(int panel) const;
    void setPanelWidth(int panel, int width);
    int panelWidth(int panel) const;

    // A line that says what the user must know now (the open map was
    // deleted, say), shown over both panels until it is cleared with an
    // empty text.
    void showNotice(const QString& text);
    QString notice() const;

private:
    void placePanels();
    void showTexts();

    QLabel* panels_[2];
    QLabel* notice_;
    QString texts_[2];
    int widths_[2] = {250, 250};
};

} // namespace stonereach
