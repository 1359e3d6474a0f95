#include "platform/HelpDocumentLocator.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

#ifndef QUILLO_HELP_DIR_FROM_BINDIR
#define QUILLO_HELP_DIR_FROM_BINDIR "../share/quillo/help"
#endif

namespace {

const QString StartPage = QStringLiteral("index.html");

QString existingFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() ? info.absoluteFilePath() : QString();
}

} // namespace

const QString HelpDocumentLocator::QuilloHelpFile = QStringLiteral("C:\\Program Files\\Quillo\\Quillo.hlp");

HelpDocumentLocator::HelpDocumentLocator(QString executableFolder) : m_executableFolder(std::move(executableFolder)) {}

bool HelpDocumentLocator::isQuilloHelpFile(const QString& helpFile)
{
    QString path = helpFile;
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return path.compare(QuilloHelpFile, Qt::CaseInsensitive) == 0;
}

QStringList HelpDocumentLocator::quilloHelpCandidates() const
{
    const QDir folder(m_executableFolder);
    return {
        // A build tree: the help is copied beside the program.
        QDir::cleanPath(folder.absoluteFilePath(QStringLiteral("help/") + StartPage)),
        // An installation: the program in <prefix>/bin, its data in <prefix>/share.
        QDir::cleanPath(folder.absoluteFilePath(QStringLiteral(QUILLO_HELP_DIR_FROM_BINDIR "/") + StartPage)),
    };
}

bool HelpDocumentLocator::isInstallation() const
{
    return QFileInfo(QDir(m_executableFolder).absoluteFilePath(QStringLiteral(QUILLO_HELP_DIR_FROM_BINDIR))).isDir();
}

HelpDocumentLocator::Location HelpDocumentLocator::locate(const QString& helpFile) const
{
    Location location;
    if (isQuilloHelpFile(helpFile)) {
        location.lookedAt = quilloHelpCandidates();
    } else if (!helpFile.isEmpty()) {
        location.lookedAt = {QFileInfo(helpFile).absoluteFilePath()};
    }
    for (const QString& candidate : std::as_const(location.lookedAt)) {
        location.document = existingFile(candidate);
        if (location.found())
            break;
    }
    return location;
}
