#pragma once

#include "print/PrintDestination.h"
#include "print/PrintJobStates.h"
#include "print/PrinterFinder.h"

#include <QByteArray>

// A printer of the CUPS print service, which Quick Print talks to itself:
// Qt's own CUPS printing drops the answer to the job's submission, so a queue
// that refuses jobs would look as if it had printed, and it waits on a print
// service that does not answer without any limit.
//
// Every request has a time limit, the caller goes on while Quillo waits, and
// a job counts as printed only on the service's positive answers.
class CupsDestination : public PrintDestination {
public:
    // Time limits, in seconds, of each request to the print service: sending
    // the document may take longer than the short questions around it, and
    // cancelling a job after a failure is kept short, because the merchant
    // waits for it.
    static constexpr int RequestLimit = 10;
    static constexpr int DocumentLimit = 30;
    static constexpr int CancelLimit = 5;

    // The default printer as the CUPS commands choose it: $LPDEST, $PRINTER,
    // the user's own lpoptions, the system-wide lpoptions in CUPS's server
    // folder, then the print service's own default; without one, why not.
    static QFuture<FoundPrinter> findDefault();

    // What the service says of job `jobId` on `printer`.
    static QFuture<PrintJobState> jobState(const QString& printer, int jobId);

    QString name() const override;
    QPageLayout pageLayout() const override;
    // Printed only when the service has given the job a number, answered for
    // the whole document, and then reports the job as pending, held,
    // processing or completed with the document in it (some of its size, or
    // a document counted). A job without the document is cancelled and
    // uncertain. After any failure once the job exists, it is
    // cancelled: not printed when nothing of the document was sent, the
    // cancel was confirmed or the job reads canceled or aborted, and
    // uncertain otherwise, naming the printer and the job.
    QFuture<PrintOutcome> print(const PrintedPage& page) override;

private:
    CupsDestination(QString name, QByteArray uri, QPageLayout layout);

    QString m_name;
    QByteArray m_uri;
    QPageLayout m_layout;
};
