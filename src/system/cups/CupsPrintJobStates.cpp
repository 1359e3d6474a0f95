#include "system/SystemPrintJobStates.h"

#include "system/cups/CupsDestination.h"

QFuture<PrintJobState> SystemPrintJobStates::stateOf(const QString& printer, int jobId)
{
    return CupsDestination::jobState(printer, jobId);
}
