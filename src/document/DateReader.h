#pragma once

#include <QDate>
#include <QString>
#include <optional>

// Reads the date of a cheque as US merchants write it.
namespace DateReader {

// "12/08/2026", "12/8/26" (two-digit years are 2000 to 2099),
// "December 8, 2026", "Dec 8, 2026", "Dec. 8 2026" or "2026-12-08", in any
// letter case. Nothing for any other text or a day the calendar does not have.
std::optional<QDate> read(const QString& text);

} // namespace DateReader
