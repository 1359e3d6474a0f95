#include "platform/CommonDialog.h"

#include "platform/DialogCancelled.h"
#include "platform/HelpViewer.h"
#include "platform/QuilloError.h"

#include <QFileInfo>

CommonDialog::CommonDialog(FileDialogs& dialogs, HelpViewer* help) : m_dialogs(dialogs), m_help(help) {}

void CommonDialog::ShowHelp()
{
    if (!m_help)
        throw QuilloError(QStringLiteral("Quillo's help cannot be shown: no help viewer is available."));
    m_help->showHelp(HelpFile, HelpCommand);
}

bool CommonDialog::ShowOpen()
{
    return show(FileDialogRequest::Kind::Open);
}

bool CommonDialog::ShowSave()
{
    return show(FileDialogRequest::Kind::Save);
}

FileDialogRequest CommonDialog::request(FileDialogRequest::Kind kind) const
{
    FileDialogRequest request;
    request.kind = kind;
    request.initialFolder = InitDir;
    request.fileName = FileName;
    request.filters = parseFilter(Filter);
    if (!request.filters.isEmpty()) {
        // An index outside the list falls back to the first filter.
        const bool inRange = FilterIndex >= 1 && FilterIndex <= request.filters.size();
        request.selectedFilter = inRange ? FilterIndex - 1 : 0;
    }
    request.fileMustExist = (Flags & FileMustExist) != 0;
    request.confirmOverwrite = (Flags & OverwritePrompt) != 0;
    request.hideReadOnly = (Flags & HideReadOnly) != 0;
    return request;
}

QList<NameFilter> CommonDialog::parseFilter(const QString& filter)
{
    QList<NameFilter> filters;
    if (filter.isEmpty())
        return filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            if (!trimmed.isEmpty())
                patterns.append(trimmed);
        }
        filters.append(NameFilter{parts.at(i), patterns});
    }
    return filters;
}

bool CommonDialog::show(FileDialogRequest::Kind kind)
{
    const std::optional<QString> chosen = m_dialogs.choose(request(kind));
    // A dialog that hands back an empty path has not chosen anything; treating
    // it as Cancel keeps "a completed dialog sets a non-empty FileName" true.
    if (!chosen || chosen->isEmpty()) {
        if (CancelError)
            throw DialogCancelled();
        return false;
    }
    FileName = *chosen;
    FileTitle = QFileInfo(*chosen).fileName();
    return true;
}
