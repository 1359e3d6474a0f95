#include "platform/DefaultPrinter.h"

#include "platform/cups/CupsDestination.h"

std::unique_ptr<PrintDestination> DefaultPrinter::find()
{
    return CupsDestination::findDefault();
}
