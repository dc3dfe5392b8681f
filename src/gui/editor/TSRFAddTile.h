#pragma once

#include <filesystem>
#include <vector>

#include <QDialog>
#include <QString>

#include "gui/app/HandlerGuard.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace stonereach {

class MapDrawSource;
class TilePalette;
class WindowDialogs;

// Edits one entry of a texture list in the options dialog: the entry's text,
// typed or taken from a row of tile pictures. The caller sets the caption,
// the edit's label and the starting text, and reads the text after OK.
class TSRFAddTile : public QDialog {
    Q_OBJECT
public:
    TSRFAddTile(WindowDialogs& dialogs, const std::filesystem::path& programDir, MapDrawSource& pictures,
                QWidget* parent = nullptr);

    void setEditLabel(const QString& label);
    QString entryText() const;
    void setEntryText(const QString& text);

private:
    // OK: closes only when the entry is a tile id.
    void BitBtn1Click();
    void btnAddIDClick();

    HandlerGuard guard_;
    QLabel* editLabel_;
    QLineEdit* entryEdit_;
    QLabel* note_;
    TilePalette* palette_;
    QToolButton* addIdButton_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace stonereach
