#pragma once

#include <filesystem>

#include <QDialog>
#include <QString>

#include "gui/app/HandlerGuard.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace stonereach {

class MapDrawSource;
class TileChooser;
class WindowDialogs;

// Edits one selection group of the options dialog: its caption and its tile
// ids as one comma-separated text, typed or added from the palette. The
// caller sets the caption, the help text and the starting texts, and reads
// the texts back after OK.
class TDlgSelectMode : public QDialog {
    Q_OBJECT
public:
    TDlgSelectMode(WindowDialogs& dialogs, const std::filesystem::path& programDir, MapDrawSource& pictures,
                   QWidget* parent = nullptr);

    void setHelpText(const QString& text);
    QString groupCaption() const;
    void setGroupCaption(const QString& caption);
    QString tileList() const;
    void setTileList(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void btnAddIDClick();
    // OK: closes only when every tile id of the list can be painted with.
    void BitBtn1Click();

    HandlerGuard guard_;
    QLineEdit* captionEdit_;
    QPlainTextEdit* tileListEdit_;
    QLabel* helpText_;
    TileChooser* chooser_;
    QToolButton* addIdButton_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace stonereach
