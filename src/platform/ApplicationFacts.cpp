#include "platform/ApplicationFacts.h"

QString versionText(const ApplicationFacts& facts)
{
    return QStringLiteral("Version %1.%2.%3")
        .arg(facts.versionMajor())
        .arg(facts.versionMinor())
        .arg(facts.versionRevision());
}

QString fileDialogFolder(const ApplicationFacts& facts)
{
    return facts.executableFolderTakesFiles() ? facts.executableFolder() : facts.documentsFolder();
}
