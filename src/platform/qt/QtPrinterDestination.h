#pragma once

#include "platform/PrintDestination.h"

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
    void print(const PrintedPage& page) override;

private:
    std::unique_ptr<QPrinter> m_printer;
};
