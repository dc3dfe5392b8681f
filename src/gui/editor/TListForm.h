#pragma once

#include <filesystem>
#include <optional>

#include <QDialog>
#include <QString>

#include "editor/CoordinatesList.h"
#include "gui/app/HandlerGuard.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace stonereach {

class WindowDialogs;

// The coordinates index: a free list of X/Y places kept in coords.def in the
// program directory, imported from and exported to other .def files. OK
// takes the selected place for the main window's jump edits (the caller puts
// it there; the view does not move). Leaving the dialog by OK or Cancel saves
// the list to coords.def.
class TListForm : public QDialog {
    Q_OBJECT
public:
    // `x` and `y` are the jump edits' texts, offered as the place to add.
    TListForm(WindowDialogs& dialogs, std::filesystem::path programDir, const QString& x, const QString& y,
              QWidget* parent = nullptr);

    // The place OK took, as typed; nothing until OK.
    const std::optional<CoordinateEntry>& chosen() const { return chosen_; }

    // The places listed, in order.
    const CoordinateList& entries() const { return entries_; }

    // Cancel, Escape and the close box leave as Cancel does: the list is
    // saved first.
    void reject() override;

private:
    void TempCoords(const QString& x, const QString& y);
    void TempLoad();
    void TempSave();
    void TLAddClick();
    void TLRemoveClick();
    void TLLoadClick();
    void TLSaveClick();
    void TlOKClick();
    void showEntries();
    // The one selected place, if exactly one is.
    std::optional<std::size_t> selectedEntry() const;
    std::filesystem::path coordsFile() const;
    void listChanged();

    HandlerGuard guard_;
    std::filesystem::path programDir_;
    CoordinateList entries_;
    std::optional<CoordinateEntry> chosen_;
    // coords.def is there but could not be read: it is not replaced on
    // leaving unless the list was changed meanwhile.
    bool fileUnread_ = false;

    QTableWidget* list_;
    QLineEdit* xEdit_;
    QLineEdit* yEdit_;
    QPushButton* addButton_;
    QPushButton* removeButton_;
    QPushButton* importButton_;
    QPushButton* exportButton_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace stonereach
