#pragma once

#include "print/PrintDestination.h"
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
    // the document may take longer than the short questions around it.
    static constexpr int RequestLimit = 10;
    static constexpr int DocumentLimit = 30;

    // The default printer of the user's own printer settings, or else the
    // print service's; without one, why not.
    static QFuture<FoundPrinter> findDefault();

    QString name() const override;
    QPageLayout pageLayout() const override;
    // Succeeds only when the service has given the job a number, answered
    // for the whole document, and then reports the job as pending, held,
    // processing or completed. Otherwise any job created is cancelled.
    QFuture<PrintOutcome> print(const PrintedPage& page) override;

private:
    CupsDestination(QString name, QByteArray uri, QPageLayout layout);

    QString m_name;
    QByteArray m_uri;
    QPageLayout m_layout;
};
