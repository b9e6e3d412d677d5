#include "app/ProgramIcon.h"

#include <QDir>

QIcon ProgramIcon() {
    // Every size rendered at build time, built into the program.
    QIcon icon;
    const QDir pictures(QStringLiteral(":/icons"));
    for (const QString& name : pictures.entryList({QStringLiteral("corvelo-*.png")}, QDir::Files))
        icon.addFile(pictures.filePath(name));
    return icon;
}
