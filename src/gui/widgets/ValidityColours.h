#pragma once

#include <QColor>

class QWidget;

namespace stonereach {

// The colours that show whether a path (or value) edit holds something
// usable. Code decides by the validity flag it keeps, never by the colour.
inline QColor validColour() { return QColor(0, 128, 0); }
inline QColor invalidColour() { return QColor(255, 0, 0); }

// Paints the edit's background green or red with light text on it.
void showValidity(QWidget& edit, bool valid);

// Paints the edit's background red while it holds something unusable and
// gives it back the normal window colours when it does not (the value edits
// that are only ever marked when wrong).
void showInvalidOnly(QWidget& edit, bool valid);

// The background the edit currently shows.
QColor shownBackground(const QWidget& edit);

} // namespace stonereach
