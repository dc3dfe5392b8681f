#include "gui/app/StatusBar.h"

#include <algorithm>

#include <QLabel>

namespace stonereach {

StatusBar::StatusBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("StatusBar"));
    for (int i = 0; i < 2; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panels_[i]->setIndent(2);
    }
    notice_ = new QLabel(this);
    notice_->setObjectName(QStringLiteral("StatusNotice"));
    notice_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    notice_->setIndent(2);
    notice_->setAutoFillBackground(true);
    notice_->hide();
    setFixedHeight(panels_[0]->sizeHint().height() + 4);
    placePanels();
}

void StatusBar::showNotice(const QString& text) {
    notice_->setText(text);
    notice_->setToolTip(text);
    notice_->setVisible(!text.isEmpty());
}

QString StatusBar::notice() const { return notice_->isVisible() ? notice_->text() : QString(); }

void StatusBar::setPanelText(int panel, const QString& text) {
    texts_[panel] = text;
    // A panel may be narrower than its text: the whole text shows on hover.
    panels_[panel]->setToolTip(text);
    showTexts();
}

QString StatusBar::shownText(int panel) const { return panels_[panel]->text(); }

void StatusBar::showTexts() {
    for (int i = 0; i < 2; ++i) {
        QLabel* label = panels_[i];
        const int room = label->contentsRect().width() - 2 * label->indent();
        label->setText(label->fontMetrics().elidedText(texts_[i], Qt::ElideRight, std::max(room, 0)));
    }
}

void StatusBar::setPanelWidth(int panel, int width) {
    widths_[panel] = width;
    placePanels();
}

int StatusBar::panelWidth(int panel) const { return widths_[panel]; }

void StatusBar::placePanels() {
    const int h = height() - 2;
    panels_[0]->setGeometry(0, 1, widths_[0], h);
    panels_[1]->setGeometry(widths_[0], 1, widths_[1], h);
    notice_->setGeometry(0, 1, widths_[0] + widths_[1], h);
    showTexts();
}

} // namespace stonereach
