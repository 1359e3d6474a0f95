#include "system/qt/QtFolderFiles.h"

#include "platform/DurableFile.h"
#include "platform/PrivateFiles.h"

#include <QDir>
#include <QFileInfo>

bool QtFolderFiles::exists(const QString& path)
{
    // A dangling link is something there too.
    return QFileInfo(path).exists() || QFileInfo(path).isSymLink();
}

void QtFolderFiles::makeFolder(const QString& path)
{
    if (!QDir().mkdir(path) || !PrivateFiles::tighten(path))
        throw FileFailure(QStringLiteral("The folder cannot be created there."));
}

void QtFolderFiles::write(const QString& path, const QByteArray& bytes)
{
    DurableFile::replaceWhole(path, bytes);
}

void QtFolderFiles::rename(const QString& from, const QString& to)
{
    // Qt's rename never replaces what is there already, an empty folder included.
    if (exists(to) || !QDir().rename(from, to))
        throw FileFailure(QStringLiteral("The folder cannot take that name."));
}

void QtFolderFiles::remove(const QString& path)
{
    QDir(path).removeRecursively();
}
