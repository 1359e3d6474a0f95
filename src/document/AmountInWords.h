#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// An amount as US cheque wording: "One thousand two hundred thirty-four and
// 56/100". Writing and reading share one vocabulary and one grouping into
// millions, thousands and hundreds, so every amount written reads back as
// itself.
namespace AmountInWords {

// 999,999,999.99 dollars, in cents: the largest amount that has words here.
inline constexpr qint64 MaxCents = 99'999'999'999;

// The wording of `cents` (0 to MaxCents): first letter capital, hyphens from
// twenty-one to ninety-nine, then "and" and the cents as two digits over 100.
// Empty outside that range.
QString write(qint64 cents);

// The amount in cents that cheque wording gives: number words with or without
// hyphens and "and", an optional "dollars", the cents as "NN/100", "no/100" or
// "xx/100" (none means no cents), and an optional "only", in any letter case.
// Nothing when the text is not such wording.
std::optional<qint64> read(const QString& words);

} // namespace AmountInWords
