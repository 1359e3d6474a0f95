#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// An amount in figures as US dollars: "$1,234.56", "1234.56", "$75".
namespace AmountInFigures {

// The amount in cents: an optional "$", digits with or without thousands
// commas, and an optional point with two digits; spaces around it are
// ignored. Nothing for any other text or past 999,999,999.99.
std::optional<qint64> read(const QString& figures);

// `cents` as "$1,234.56", the form read() takes and reasons quote.
QString write(qint64 cents);

} // namespace AmountInFigures
