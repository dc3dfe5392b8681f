#pragma once

#include <array>

#include <QDialog>

#include "maptools/MapCopyTable.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace stonereach {

class EditorLink;
class WindowDialogs;

// The map copy dialog: a rectangle of cells of one map file copied into
// another map file (or another place of the same file), each file addressed
// with its own geometry. Each path edit shows green when it names a
// recognised map, each coordinate edit red while its value cannot be used;
// Copy consults those states. Nothing of the dialog outlives it.
class TMapCopyForm : public QDialog {
    Q_OBJECT
public:
    TMapCopyForm(EditorLink& link, WindowDialogs& dialogs, QWidget* parent = nullptr);

    // The six coordinate edits, in the order of their checks.
    enum Coordinate { X1, X2, Y1, Y2, DX, DY, CoordinateCount };
    bool coordinateValid(Coordinate c) const { return valid_[c]; }

    void btnSourceFileClick();
    void btnDestinationFileClick();
    void EditSourceMapChange();
    void EditDestinationMapChange();
    void EditSX1Change();
    void EditSX2Change();
    void EditSY1Change();
    void EditSY2Change();
    void EditDXChange();
    void EditDYChange();
    void btnCopyClick();

    // True while a copy runs; the dialog cannot be closed meanwhile.
    bool running() const { return running_; }

public slots:
    void reject() override;

private:
    struct Side {
        QLineEdit* path = nullptr;
        QLabel* info = nullptr;
        QLabel* size = nullptr;
        MapCopySide map;
    };

    void pathChange(Side& side, bool& valid);
    void sourceCheck(Coordinate c, int max);
    void destinationCheck(Coordinate d, Coordinate first, Coordinate second, int max);
    void showCoordinate(Coordinate c);
    void browse(Side& side, const QString& title);

    template <typename Handler>
    void guarded(Handler&& handler);

    EditorLink& link_;
    WindowDialogs& dialogs_;
    Side source_;
    Side destination_;
    bool sourceValid_ = false;
    bool destinationValid_ = false;
    std::array<QLineEdit*, CoordinateCount> edits_{};
    std::array<bool, CoordinateCount> valid_{true, true, true, true, true, true};
    QPushButton* copy_;
    QProgressBar* progress_;
    bool running_ = false;
};

} // namespace stonereach
