#pragma once

#include "print/PrintJobStates.h"

// The jobs of the print service of the system Quillo runs on; the build
// chooses which.
class SystemPrintJobStates : public PrintJobStates {
public:
    QFuture<PrintJobState> stateOf(const QString& printer, int jobId) override;
};
