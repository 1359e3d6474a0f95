#include "document/AmountInFigures.h"

#include <QRegularExpression>

std::optional<qint64> AmountInFigures::read(const QString& figures)
{
    static const QRegularExpression form(QStringLiteral("^\\$?\\s*(\\d{1,3}(?:,\\d{3})+|\\d+)(?:\\.(\\d{2}))?$"));
    const QRegularExpressionMatch match = form.match(figures.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    QString dollars = match.captured(1);
    dollars.remove(QLatin1Char(','));
    while (dollars.size() > 1 && dollars.startsWith(QLatin1Char('0')))
        dollars.remove(0, 1);
    // Nine digits at most: 999,999,999.99 is the largest amount.
    if (dollars.size() > 9)
        return std::nullopt;
    return dollars.toLongLong() * 100 + match.captured(2).toInt();
}

QString AmountInFigures::write(qint64 cents)
{
    QString dollars = QString::number(cents / 100);
    for (qsizetype at = dollars.size() - 3; at > 0; at -= 3)
        dollars.insert(at, QLatin1Char(','));
    return QStringLiteral("$%1.%2").arg(dollars).arg(cents % 100, 2, 10, QLatin1Char('0'));
}
