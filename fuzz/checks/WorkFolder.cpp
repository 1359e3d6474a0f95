#include "WorkFolder.h"

#include <QDir>
#include <QTemporaryDir>

QString workFolder()
{
    static const QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).isReadable()
                                          ? QStringLiteral("/dev/shm/quillo-fuzz-XXXXXX")
                                          : QDir::tempPath() + QStringLiteral("/quillo-fuzz-XXXXXX"));
    return folder.path();
}
