#pragma once

#include "print/PrintOutcome.h"

#include <QFuture>
#include <QPageLayout>
#include <QString>
#include <functional>

class PrintedPage;

// Why nothing prints on a machine without a default printer.
inline QString noDefaultPrinterMessage()
{
    return QStringLiteral("No default printer is set up, so the check could not be printed. "
                          "Set up a printer in the system's printer settings and try again.");
}

// Where a finished page goes: a printer, a PDF file. The page is laid out for
// the destination's paper and printable area, then handed over whole.
class PrintDestination {
public:
    virtual ~PrintDestination() = default;

    // The destination's name as the merchant knows it: a printer's name as the
    // system's printer settings show it, a file's path.
    virtual QString name() const = 0;

    // The paper and the printable area that the page is laid out for.
    virtual QPageLayout pageLayout() const = 0;

    // Hands over the whole page as one job. A destination that has to wait
    // for a print service does so without blocking the caller, and the
    // outcome follows when the service has answered or its time is up.
    virtual QFuture<PrintOutcome> print(const PrintedPage& page) = 0;

    // Told the job's number as soon as the print service gives it, before
    // the document is sent, on the thread that waits for the service. Only
    // destinations with a print service's jobs tell it.
    using JobStarted = std::function<void(int jobId)>;
    void onJobStarted(JobStarted started) { m_jobStarted = std::move(started); }

protected:
    const JobStarted& jobStarted() const { return m_jobStarted; }

private:
    JobStarted m_jobStarted;
};
