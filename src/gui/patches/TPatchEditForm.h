#pragma once

#include <vector>

#include <QDialog>
#include <QString>

#include "mapdata/MapLayout.h"
#include "patches/PointPatch.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace stonereach {

class WindowDialogs;
class EditorLink;

// The patch editor: a list of single-cell changes that the user builds by
// hand or by capturing cells from the map view, loads from and saves to .bnp
// files. It is not modal and lives for the whole run; hiding it keeps the
// list. While it is visible, the main window's Insert key captures cells.
class TPatchEditForm : public QDialog {
    Q_OBJECT
public:
    TPatchEditForm(EditorLink& link, WindowDialogs& dialogs, QWidget* parent = nullptr);

    // True when an entry has exactly these X and Y texts ("07" and "7" differ).
    bool IsOnPatchList(const QString& x, const QString& y) const;
    // Appends the cell as an entry: X, Y and the altitude in decimal, the tile
    // id as two spaced hexadecimal bytes. The caller checks IsOnPatchList.
    void addCapturedCell(int x, int y, const MapCell& cell);

    // The entries as the list shows them, in list order.
    std::vector<PointPatchEntry> entries() const;

    void TLAddClick();
    void TlEditClick();
    void TLRemoveClick();
    void TlClearClick();
    void SeznamClick();
    void SeznamDblClick();
    void TLLoadClick();
    void TLSaveClick();
    void TlCloseClick();

private:
    void appendEntry(const PointPatchEntry& entry);
    PointPatchEntry entryAt(int row) const;
    PointPatchEntry entryFields() const;
    // True when the entry fields read as applying reads them; else the
    // field at fault is named in a message and takes the keyboard.
    bool entryFieldsUsable();
    std::vector<int> selectedRows() const;
    QString fileDialogFolder() const;

    template <typename Handler>
    void guarded(Handler&& handler);

    EditorLink& link_;
    WindowDialogs& dialogs_;
    QTableWidget* list_;
    QLineEdit* x_;
    QLineEdit* y_;
    QLineEdit* z_;
    QLineEdit* id_;
    QPushButton* load_ = nullptr;
    QPushButton* save_ = nullptr;
    // The folder of the last .bnp file loaded or saved, where the next file
    // dialog starts.
    QString lastFolder_;
};

} // namespace stonereach
