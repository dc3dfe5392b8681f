#pragma once

#include <functional>
#include <optional>

#include <QString>
#include <QStringList>

#include "mapdata/DataFileDialogs.h"

class QWidget;

namespace stonereach {

// What an open or save file dialog shows: its title, the filters (Qt's
// "Name (*.ext)" form, one per entry), the folder it starts in and the file
// name it proposes.
struct FileDialogRequest {
    QString title;
    QStringList filters;
    QString directory;
    QString fileName;
};

// The filters of a dialog that chooses a map file: the plain form's filter
// (such as "Ultima Online MAP (map*.mul)") and the container form's beside
// it, with the form of `currentPath` first so the dialog opens on it.
// `pattern` is the name pattern without its extension ("map*" or "*").
QStringList mapFileFilters(const QString& plainFilter, const QString& pattern, const QString& currentPath);

// What the user did with a name prompt that can also throw the work away.
struct NamePromptAnswer {
    enum class Choice {
        Name,    // OK with a name: `name`
        Back,    // Cancel, Escape or the close box: back to the work, kept
        Discard, // the discard button: the work is thrown away
    };
    Choice choice = Choice::Back;
    QString name;
};

// Why a typed name cannot be used (shown under the field, OK disabled), or
// an empty text when it can.
using NameCheck = std::function<QString(const QString&)>;

// The modal dialogs the windows ask questions with. The program uses the
// real message boxes and file dialogs; tests answer from a script, so no test
// ever waits on a modal box.
class WindowDialogs {
public:
    virtual ~WindowDialogs() = default;

    // An error that ended a handler: its text, with OK.
    virtual void showError(QWidget* parent, const QString& text) = 0;
    // The data file error dialog: the full text, OK and Cancel.
    virtual ErrorChoice showErrorDetected(QWidget* parent, const QString& text) = 0;
    // The folder browser, starting in `directory` when it is given; nothing
    // when cancelled.
    virtual std::optional<QString> chooseDirectory(QWidget* parent, const QString& caption,
                                                   const QString& directory) = 0;

    // A plain message with OK: the program's own refusals and notices.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    // The same with a title of its own ("Patch file ...", "CRC error!").
    virtual void showTitledMessage(QWidget* parent, const QString& title, const QString& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text) = 0;
    // An open-file dialog; the chosen path, nothing when cancelled.
    virtual std::optional<QString> chooseOpenFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // A save-file dialog that asks before an existing file is replaced; the
    // chosen path, nothing when cancelled.
    virtual std::optional<QString> chooseSaveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // An input box with a caption, a prompt and an initial text; the text
    // typed, nothing when cancelled.
    virtual std::optional<QString> inputText(QWidget* parent, const QString& caption, const QString& prompt,
                                             const QString& initial) = 0;
    // An input box for a name with OK, Cancel and a button captioned
    // `discardCaption`: OK takes a name that `check` accepts; Cancel, Escape
    // and closing the box go back; only the discard button throws away.
    virtual NamePromptAnswer askNameOrDiscard(QWidget* parent, const QString& caption, const QString& prompt,
                                              const QString& discardCaption, const NameCheck& check) = 0;
};

// The real dialogs.
class QtWindowDialogs final : public WindowDialogs {
public:
    void showError(QWidget* parent, const QString& text) override;
    ErrorChoice showErrorDetected(QWidget* parent, const QString& text) override;
    std::optional<QString> chooseDirectory(QWidget* parent, const QString& caption,
                                           const QString& directory) override;
    void showMessage(QWidget* parent, const QString& text) override;
    void showTitledMessage(QWidget* parent, const QString& title, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& text) override;
    std::optional<QString> chooseOpenFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> chooseSaveFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> inputText(QWidget* parent, const QString& caption, const QString& prompt,
                                     const QString& initial) override;
    NamePromptAnswer askNameOrDiscard(QWidget* parent, const QString& caption, const QString& prompt,
                                      const QString& discardCaption, const NameCheck& check) override;
};

} // namespace stonereach
