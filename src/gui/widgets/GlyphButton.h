#pragma once

#include <QString>

class QToolButton;

namespace stonereach {

// A small tool button that shows a glyph instead of a caption. Its hint is
// both its tooltip and the name a screen reader says.
QToolButton* glyphButton(const QString& name, const QString& glyph, const QString& hint);

} // namespace stonereach
