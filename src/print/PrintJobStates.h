#pragma once

#include <QFuture>
#include <QString>

// What a print service says of a job it was given.
enum class PrintJobState {
    Pending,   // not ended yet (waiting, held, printing, stopped): it may still print
    Completed, // printed
    Canceled,  // ended without printing, on someone's request
    Aborted,   // ended without printing, through a fault
    Unknown,   // the service could not be asked, or did not say
};

// Asks the print service what became of a job, by printer and job number:
// how an uncertain print is settled later. The answer follows without
// blocking the caller.
class PrintJobStates {
public:
    virtual ~PrintJobStates() = default;
    virtual QFuture<PrintJobState> stateOf(const QString& printer, int jobId) = 0;
};
