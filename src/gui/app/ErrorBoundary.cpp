#include "gui/app/ErrorBoundary.h"

#include <QMessageBox>

namespace stonereach {

QString errorText(const std::exception& error) {
    // The core's messages are 8-bit text; names of files may carry UTF-8.
    return QString::fromUtf8(error.what());
}

GuardedApplication::GuardedApplication(int& argc, char** argv)
    : QApplication(argc, argv), sink_(showErrorMessageBox) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        sink_(errorText(error));
    } catch (...) {
        sink_(QStringLiteral("Unknown error"));
    }
    // The event counts as handled: the handler that failed has ended.
    return true;
}

void showErrorMessageBox(const QString& message) {
    QMessageBox::critical(QApplication::activeWindow(), applicationTitle(), message);
}

} // namespace stonereach
