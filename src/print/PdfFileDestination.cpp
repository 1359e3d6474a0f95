#include "print/PdfFileDestination.h"

#include "platform/DurableFile.h"
#include "print/PrintedPage.h"

PdfFileDestination::PdfFileDestination(QString path, QPageLayout layout, QString title, QString subject)
    : m_path(std::move(path)), m_layout(std::move(layout)), m_title(std::move(title)), m_subject(std::move(subject))
{}

QFuture<PrintOutcome> PdfFileDestination::print(const PrintedPage& page)
{
    try {
        DurableFile::replaceWhole(m_path, page.toPdf(m_title));
    } catch (const FileFailure& failure) {
        return QtFuture::makeReadyFuture(PrintOutcome::notPrinted(
            QStringLiteral("The %1 could not be exported to \"%2\". %3").arg(m_subject, m_path, failure.message()),
            m_path));
    }
    return QtFuture::makeReadyFuture(PrintOutcome::confirmed(m_path));
}
