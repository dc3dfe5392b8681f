#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace stonereach {

class EditorLink;
class WindowDialogs;
struct MapVariant;

// The enlargement dialog: writes a new map file of the Mondain's Legacy size
// holding a recognised source map in its top-left corner. The source is
// chosen with the "..." button only; the dialog keeps it after a run, so
// another can follow.
class TMapExtendForm : public QDialog {
    Q_OBJECT
public:
    TMapExtendForm(EditorLink& link, WindowDialogs& dialogs, QWidget* parent = nullptr);

    void TLMapLoadClick();
    void TLMapSaveClick();
    // Shows the variant of the file named by the source edit, "None" when
    // no variant is recognised.
    void NazevMapy();

    bool running() const { return running_; }

public slots:
    void reject() override;

private:
    template <typename Handler>
    void guarded(Handler&& handler);

    EditorLink& link_;
    WindowDialogs& dialogs_;
    QLineEdit* source_;
    QLabel* mapInfo_;
    QLabel* mapSize_;
    QLabel* progressInfo_;
    QProgressBar* progress_;
    QPushButton* save_;
    const MapVariant* variant_ = nullptr;
    bool running_ = false;
};

} // namespace stonereach
