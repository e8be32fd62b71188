#include "platform/AppFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace {

QString dataHome()
{
    // Set explicitly so the folder does not depend on whether a QCoreApplication exists
    // or on the name the running binary was given.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base + QStringLiteral("/Tarnwick/Java Reelcraft");
}

} // namespace

QString ProgramFolder()
{
    const QString folder = QDir::cleanPath(dataHome());
    QDir().mkpath(folder);
    return folder;
}

QString GetTempFolder()
{
    QString folder = QDir::tempPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}
