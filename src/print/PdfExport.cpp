#include "print/PdfExport.h"

#include "document/FileCommands.h"

#include "platform/FileDialogs.h"
#include "platform/MessageBoxService.h"
#include "platform/QuilloError.h"
#include "print/PrintSurface.h"

#include <QDir>
#include <QFileInfo>

PdfExport::PdfExport(FileDialogs& dialogs, MessageBoxService& messages, OpenFile openFile)
    : m_dialogs(dialogs), m_messages(messages), m_openFile(std::move(openFile))
{}

QString PdfExport::suggestedName(const QString& text1)
{
    const QString name = FileCommands::suggestedFileName(text1, QStringLiteral(".pdf"));
    return name.isEmpty() ? QStringLiteral("check.pdf") : name;
}

QString PdfExport::documentTitle(const QString& text6)
{
    const QString number = text6.trimmed();
    return number.isEmpty() ? QStringLiteral("Check") : QStringLiteral("Check ") + number;
}

void PdfExport::run(const CheckTexts& texts, const PrintedCaptions& captions, const QString& firstFolder,
                    const PageSetup& setup)
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.initialFolder = m_lastFolder.isEmpty() ? firstFolder : m_lastFolder;
    request.fileName = suggestedName(texts[0]);
    request.filters = {{QStringLiteral("PDF Files (*.pdf)"), {QStringLiteral("*.pdf")}}};
    request.selectedFilter = 0;
    request.confirmOverwrite = true;
    request.hideReadOnly = true;
    const std::optional<QString> path = m_dialogs.choose(request);
    if (!path)
        return;
    m_lastFolder = QFileInfo(*path).absolutePath();

    std::unique_ptr<PrintSurface> file = m_openFile(*path, documentTitle(texts[5]));
    const std::vector<QuickPrint::Overflow> overflows = QuickPrint::compose(texts, captions, *file, setup);
    if (!overflows.empty())
        throw QuilloError(QuickPrint::refusal(overflows, file->printableWidth() / file->unitsPerInch()));
    file->endDoc();
    m_messages.show(QStringLiteral("The check was exported to \"%1\".").arg(QDir::toNativeSeparators(*path)));
}
