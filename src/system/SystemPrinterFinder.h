#pragma once

#include "print/PrinterFinder.h"

// The system's default printer, found through the print service of the
// system Quillo runs on; the build chooses which (cups/ or qt/).
class SystemPrinterFinder : public PrinterFinder {
public:
    QFuture<FoundPrinter> findDefault() override;
};
