#include "system/SystemPrinterFinder.h"

#include "system/qt/QtPrinterDestination.h"

#include <QPrinter>
#include <QPrinterInfo>

// Where no print service of Quillo's own is built in, Qt's printing finds the
// default printer and sends the job.
QFuture<FoundPrinter> SystemPrinterFinder::findDefault()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return QtFuture::makeReadyFuture(FoundPrinter{nullptr, noDefaultPrinterMessage()});
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    // QPrinter starts at A4 whatever the printer says; the printer's own
    // default page size is the one that applies.
    printer->setPageSize(info.defaultPageSize());
    return QtFuture::makeReadyFuture(FoundPrinter{std::make_shared<QtPrinterDestination>(std::move(printer)), {}});
}
