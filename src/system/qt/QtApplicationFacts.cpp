#include "system/qt/QtApplicationFacts.h"

#include "platform/BuildFacts.h"
#include "platform/HelpDocumentLocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <unistd.h>

QString QtApplicationFacts::title() const
{
    return QStringLiteral("Quillo");
}

int QtApplicationFacts::versionMajor() const
{
    return BuildFacts::VersionMajor;
}

int QtApplicationFacts::versionMinor() const
{
    return BuildFacts::VersionMinor;
}

int QtApplicationFacts::versionRevision() const
{
    return BuildFacts::VersionRevision;
}

QString QtApplicationFacts::executableFolder() const
{
    return QCoreApplication::applicationDirPath();
}

bool QtApplicationFacts::executableFolderTakesFiles() const
{
    return folderTakesFiles(executableFolder());
}

QString QtApplicationFacts::documentsFolder() const
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // A dialog pointed at a missing folder starts somewhere else entirely.
    QDir().mkpath(folder);
    return folder;
}

bool folderTakesFiles(const QString& folder)
{
    // An installed Quillo sits among the system's or the user's programs
    // (/usr/bin, ~/.local/bin): no place for checks, even where the user may
    // write to it.
    if (folder.isEmpty() || HelpDocumentLocator(folder).isInstallation())
        return false;
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}
