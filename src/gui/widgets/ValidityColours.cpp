#include "gui/widgets/ValidityColours.h"

#include <QPalette>
#include <QWidget>

namespace stonereach {

void showValidity(QWidget& edit, bool valid) {
    QPalette palette = edit.palette();
    palette.setColor(QPalette::Base, valid ? validColour() : invalidColour());
    palette.setColor(QPalette::Text, Qt::white);
    edit.setPalette(palette);
}

QColor shownBackground(const QWidget& edit) { return edit.palette().color(QPalette::Base); }

} // namespace stonereach
