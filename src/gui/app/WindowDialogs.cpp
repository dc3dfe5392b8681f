#include "gui/app/WindowDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>

#include "gui/app/ErrorBoundary.h"

namespace stonereach {

void QtWindowDialogs::showError(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, applicationTitle(), text);
}

ErrorChoice QtWindowDialogs::showErrorDetected(QWidget* parent, const QString& text) {
    // The text's lines end in CR LF; the message box breaks lines at LF.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const auto answer = QMessageBox::critical(parent, applicationTitle(), shown,
                                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
    return answer == QMessageBox::Cancel ? ErrorChoice::Cancel : ErrorChoice::Ok;
}

std::optional<QString> QtWindowDialogs::chooseMapFile(QWidget* parent, const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
    if (path.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(path);
}

std::optional<QString> QtWindowDialogs::chooseDirectory(QWidget* parent, const QString& caption) {
    // The browser starts at the desktop, like the system's folder browser.
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString dir = QFileDialog::getExistingDirectory(parent, caption, desktop);
    if (dir.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dir);
}

} // namespace stonereach
