#pragma once

#include <QByteArray>
#include <vector>

class DraftRegister;
struct DraftSummary;

// The register's drafts as CSV (RFC 4180: comma-separated, fields quoted
// where they hold a comma, a quote or a line break, quotes doubled, CRLF
// after every line), in UTF-8 with a heading line: each draft as listed, its
// amount also as a plain number, its status with its day and the reason it
// last came back, and its authorization (who, how, when, the kind of sale).
// Account numbers show only their last four digits unless
// `fullBankNumbers`, which adds the routing number and the whole account
// number. A field that starts with "=", "+", "-", "@", a tab or a carriage
// return gets a leading apostrophe, so that a spreadsheet reads it as text
// rather than as a formula.
namespace RegisterCsv {

// The listed drafts of `source` as CSV, their payors (and with
// `fullBankNumbers` their bank numbers) opened.
QByteArray write(DraftRegister& source, const std::vector<DraftSummary>& drafts, bool fullBankNumbers);

} // namespace RegisterCsv
