#include "print/PdfExport.h"

#include "document/FileCommands.h"

#include "platform/FileDialogs.h"
#include "print/PdfFileDestination.h"
#include "print/Printing.h"

#include <QDir>
#include <QFileInfo>

PdfExport::PdfExport(FileDialogs& dialogs, Printing& printing) : m_dialogs(dialogs), m_printing(printing) {}

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

void PdfExport::run(const SentDraft& draft, const PrintedCaptions& captions, const QString& firstFolder)
{
    const CheckTexts& texts = draft.texts;
    const std::optional<QString> path = m_dialogs.choose(FileDialogRequest::exportTo(
        m_lastFolder.isEmpty() ? firstFolder : m_lastFolder, suggestedName(texts[Box::PayorLine1]),
        {QStringLiteral("PDF Files (*.pdf)"), {QStringLiteral("*.pdf")}}));
    if (!path)
        return;
    m_lastFolder = QFileInfo(*path).absolutePath();

    const QString title = documentTitle(texts[Box::CheckNumber]);
    m_printing.toDestination(
        [path = *path, title](const QPageLayout& layout) {
            return std::make_unique<PdfFileDestination>(path, layout, title);
        },
        QuickPrint::page(texts, captions, draft.setup),
        QStringLiteral("The check was exported to \"%1\".").arg(QDir::toNativeSeparators(*path)), {}, draft);
}
