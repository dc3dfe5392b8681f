#include "gui/app/ProgramIcon.h"

#include <QDir>

namespace stonereach {

QIcon programIcon() {
    // One picture per size, each drawn from the one SVG at build time.
    QIcon icon;
    const QDir pictures(QStringLiteral(":/icons"));
    for (const QString& name : pictures.entryList(QDir::Files))
        icon.addFile(pictures.filePath(name));
    return icon;
}

} // namespace stonereach
