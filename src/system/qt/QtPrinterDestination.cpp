#include "system/qt/QtPrinterDestination.h"

#include "print/PrintedPage.h"

#include <QPainter>
#include <QPrinter>

QtPrinterDestination::QtPrinterDestination(std::unique_ptr<QPrinter> printer) : m_printer(std::move(printer)) {}

QtPrinterDestination::~QtPrinterDestination() = default;

QString QtPrinterDestination::name() const
{
    return m_printer->outputFormat() == QPrinter::PdfFormat ? m_printer->outputFileName() : m_printer->printerName();
}

QPageLayout QtPrinterDestination::pageLayout() const
{
    return m_printer->pageLayout();
}

QFuture<PrintOutcome> QtPrinterDestination::print(const PrintedPage& page)
{
    return QtFuture::makeReadyFuture(printNow(page));
}

PrintOutcome QtPrinterDestination::printNow(const PrintedPage& page)
{
    m_printer->setPageLayout(page.layout());
    QPainter painter;
    if (!painter.begin(m_printer.get())) {
        return PrintOutcome::notPrinted(
            QStringLiteral("The printer \"%1\" could not be started, so the check was not printed. "
                           "Check that the printer is switched on and set up, and try again.")
                .arg(name()),
            name());
    }
    page.paint(painter);
    if (!painter.end() || m_printer->printerState() == QPrinter::Error) {
        return PrintOutcome::notPrinted(
            QStringLiteral("The printer \"%1\" did not accept the check, so it was not printed. "
                           "Check the printer and try again.")
                .arg(name()),
            name());
    }
    return PrintOutcome::confirmed(name());
}
