#include "platform/qt/QtApplicationFacts.h"

#include "platform/BuildFacts.h"

#include <QCoreApplication>

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
