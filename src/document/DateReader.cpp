#include "document/DateReader.h"

#include <QRegularExpression>
#include <array>

namespace {

constexpr std::array<const char*, 12> Months = {"january", "february", "march",     "april",   "may",      "june",
                                                "july",    "august",   "september", "october", "november", "december"};

// 1 to 12 for a month's name or its first three letters ("sept" too); 0 else.
int monthNumber(const QString& name)
{
    for (std::size_t i = 0; i < Months.size(); ++i) {
        const QString month = QLatin1String(Months[i]);
        if (name == month || name == month.left(3) || (i == 8 && name == QLatin1String("sept")))
            return int(i) + 1;
    }
    return 0;
}

std::optional<QDate> valid(int year, int month, int day)
{
    const QDate date(year, month, day);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

} // namespace

std::optional<QDate> DateReader::read(const QString& text)
{
    static const QRegularExpression numeric(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4}|\\d{2})$"));
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    static const QRegularExpression written(QStringLiteral("^([a-z]+)\\.?\\s+(\\d{1,2}),?\\s+(\\d{4})$"));

    const QString date = text.trimmed().toLower();
    if (const QRegularExpressionMatch m = numeric.match(date); m.hasMatch()) {
        const int year = m.captured(3).toInt();
        return valid(m.captured(3).size() == 2 ? 2000 + year : year, m.captured(1).toInt(), m.captured(2).toInt());
    }
    if (const QRegularExpressionMatch m = iso.match(date); m.hasMatch())
        return valid(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (const QRegularExpressionMatch m = written.match(date); m.hasMatch()) {
        if (const int month = monthNumber(m.captured(1)))
            return valid(m.captured(3).toInt(), month, m.captured(2).toInt());
    }
    return std::nullopt;
}
