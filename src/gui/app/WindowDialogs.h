#pragma once

#include <optional>

#include <QString>

#include "mapdata/DataFileDialogs.h"

class QWidget;

namespace stonereach {

// The modal dialogs the main window asks questions with. The program uses the
// real message boxes and file dialogs; tests answer from a script, so no test
// ever waits on a modal box.
class WindowDialogs {
public:
    virtual ~WindowDialogs() = default;

    // An error that ended a handler: its text, with OK.
    virtual void showError(QWidget* parent, const QString& text) = 0;
    // The data file error dialog: the full text, OK and Cancel.
    virtual ErrorChoice showErrorDetected(QWidget* parent, const QString& text) = 0;
    // The open-file dialog for a map file; nothing when cancelled.
    virtual std::optional<QString> chooseMapFile(QWidget* parent, const QString& filter) = 0;
    // The folder browser for the client directory; nothing when cancelled.
    virtual std::optional<QString> chooseDirectory(QWidget* parent, const QString& caption) = 0;
};

// The real dialogs.
class QtWindowDialogs final : public WindowDialogs {
public:
    void showError(QWidget* parent, const QString& text) override;
    ErrorChoice showErrorDetected(QWidget* parent, const QString& text) override;
    std::optional<QString> chooseMapFile(QWidget* parent, const QString& filter) override;
    std::optional<QString> chooseDirectory(QWidget* parent, const QString& caption) override;
};

} // namespace stonereach
