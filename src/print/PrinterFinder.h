#pragma once

#include "print/PrintDestination.h"

#include <QFuture>
#include <QString>
#include <memory>

// The default printer, or why there is none.
struct FoundPrinter {
    std::shared_ptr<PrintDestination> printer;
    QString failure; // the sentence for the merchant when `printer` is null
};

// Finds the system's default printer. Asking the print service may take
// time, so the answer follows without blocking the caller.
class PrinterFinder {
public:
    virtual ~PrinterFinder() = default;
    virtual QFuture<FoundPrinter> findDefault() = 0;
};
