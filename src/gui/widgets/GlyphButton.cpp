#include "gui/widgets/GlyphButton.h"

#include <QToolButton>

namespace stonereach {

QToolButton* glyphButton(const QString& name, const QString& glyph, const QString& hint) {
    auto* button = new QToolButton;
    button->setObjectName(name);
    button->setText(glyph);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setFixedSize(26, 24);
    return button;
}

} // namespace stonereach
