#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include <QByteArray>
#include <QFile>
#include <QString>

namespace stonereach {

// How the core's texts and paths become Qt's and back: one conversion for
// each kind of text the core holds.

// Text of the program's own 8-bit files (tile lists, selection groups,
// brushes, coordinates): each byte is one Latin-1 character.
inline QString fromFileText(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string toFileText(const QString& text) { return text.toLatin1().toStdString(); }

// Text the core writes for the user (messages, variant names, progress) and
// the values of the settings store: UTF-8.
inline QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string stdText(const QString& text) { return text.toStdString(); }

// Paths, spelled as the platform spells file names (UTF-16 on Windows, the
// file name encoding elsewhere), so a path typed or chosen in a window names
// the same file in the core, and back.
inline std::filesystem::path pathOf(const QString& text) {
#ifdef Q_OS_WIN
    return std::filesystem::path(text.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(text).toStdString());
#endif
}
inline QString qPath(const std::filesystem::path& path) {
#ifdef Q_OS_WIN
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

} // namespace stonereach
