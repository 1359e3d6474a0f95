#pragma once

#include "print/PrintDestination.h"

#include <memory>

class QPrinter;

// A printer that Qt's own printing drives: the page is painted straight onto
// it. The way to the default printer on systems without CUPS, and to a PDF
// file that a QPrinter writes.
class QtPrinterDestination : public PrintDestination {
public:
    explicit QtPrinterDestination(std::unique_ptr<QPrinter> printer);
    ~QtPrinterDestination() override;

    QString name() const override;
    QPageLayout pageLayout() const override;
    QFuture<PrintOutcome> print(const PrintedPage& page) override;

private:
    // Qt's printing returns only once the job has gone to the system.
    PrintOutcome printNow(const PrintedPage& page);

    std::unique_ptr<QPrinter> m_printer;
};
