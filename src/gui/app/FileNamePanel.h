#pragma once

#include <QFrame>

class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace stonereach {

// The bottom region of the main window: the map path and the client
// directory with their browse buttons, and the map file information. The
// window runs the handlers; this only lays the controls out.
class FileNamePanel : public QFrame {
    Q_OBJECT
public:
    explicit FileNamePanel(QWidget* parent = nullptr);

    QLineEdit* mapEdit;
    QToolButton* loadMapButton;
    QLineEdit* clientDirEdit;
    QToolButton* selectDirButton;
    QGroupBox* mapInfoPanel;
    QLabel* mapInfo;
    QLabel* mapSize;
};

} // namespace stonereach
