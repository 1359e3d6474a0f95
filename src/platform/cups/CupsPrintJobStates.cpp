#include "platform/SystemPrintJobStates.h"

#include "platform/cups/CupsDestination.h"

QFuture<PrintJobState> SystemPrintJobStates::stateOf(const QString& printer, int jobId)
{
    return CupsDestination::jobState(printer, jobId);
}
