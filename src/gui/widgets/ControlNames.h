#pragma once

#include <QString>

class QAbstractButton;
class QLabel;
class QWidget;

namespace stonereach {

// A label that names `control`: the control is the label's buddy, and its
// accessible name is the label's text, so a screen reader says the label
// when the control takes the focus.
QLabel* buddyLabel(const QString& name, const QString& text, QWidget* control, QWidget* parent);

// A button that shows a glyph instead of words: its hint is both its tooltip
// and the name a screen reader says.
void setGlyphHint(QAbstractButton* button, const QString& hint);

} // namespace stonereach
