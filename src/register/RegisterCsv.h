#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <vector>

class DraftRegister;
struct DraftSummary;

// One draft as a line of the register's CSV file.
struct CsvDraft {
    QDateTime printed; // UTC
    QString checkNumber;
    QString payor;
    QString payee;
    QString amount;
    QString status;
    QString destination; // the printer or the file
    QString accountLastFour;
    // Only written with the full bank numbers.
    QString routingNumber;
    QString accountNumber;
};

// The register's drafts as CSV (RFC 4180: comma-separated, fields quoted
// where they hold a comma, a quote or a line break, quotes doubled, CRLF
// after every line), in UTF-8 with a heading line. Account numbers show only
// their last four digits unless `fullBankNumbers`, which adds the routing
// number and the whole account number. A field that starts with "=", "+",
// "-", "@", a tab or a carriage return gets a leading apostrophe, so that a
// spreadsheet reads it as text rather than as a formula.
namespace RegisterCsv {

QByteArray write(const std::vector<CsvDraft>& drafts, bool fullBankNumbers);

// The listed drafts of `source` as CSV, their payors (and with
// `fullBankNumbers` their bank numbers) opened.
QByteArray write(DraftRegister& source, const std::vector<DraftSummary>& drafts, bool fullBankNumbers);

} // namespace RegisterCsv
