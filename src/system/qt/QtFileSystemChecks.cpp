#include "system/qt/QtFileSystemChecks.h"

#include "system/NativeSystem.h"

#include <QFileInfo>

bool QtFileSystemChecks::fileExists(const QString& path) const
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden() && !NativeSystem::isSystemFile(path);
}
