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

void showInvalidOnly(QWidget& edit, bool valid) {
    if (valid) {
        edit.setPalette(QPalette());
        return;
    }
    showValidity(edit, false);
}

QColor shownBackground(const QWidget& edit) { return edit.palette().color(QPalette::Base); }

} // namespace stonereach
