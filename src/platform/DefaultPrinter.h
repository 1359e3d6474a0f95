#pragma once

#include "print/PrinterFinder.h"

#include <QPageLayout>

namespace DefaultPrinter {

// The page laid out when there is no printer to ask: US Letter with a quarter
// inch on every side.
QPageLayout fallbackLayout();

} // namespace DefaultPrinter

// The system's default printer, found through the print service of the
// system Quillo runs on; the build chooses which.
class SystemPrinterFinder : public PrinterFinder {
public:
    QFuture<FoundPrinter> findDefault() override;
};
