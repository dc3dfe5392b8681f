#pragma once

#include <QFrame>

class QLineEdit;
class QToolButton;
class QPushButton;

namespace stonereach {

class RadioGroup;

// The left region of the main window: zoom, jump coordinates and the two
// display switch groups. The top of the region is kept free for the brush
// size controls of the painting tools.
class LeftPanel : public QFrame {
    Q_OBJECT
public:
    explicit LeftPanel(QWidget* parent = nullptr);

    QToolButton* zoomOutButton;
    QToolButton* zoomInButton;
    QLineEdit* zoomLevel;
    QPushButton* zoomDefaultButton;
    QLineEdit* xJumpEdit;
    QLineEdit* yJumpEdit;
    QToolButton* goButton;
    RadioGroup* showAltitude;
    RadioGroup* grid;
};

} // namespace stonereach
