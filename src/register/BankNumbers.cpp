#include "register/BankNumbers.h"

QString BankNumbers::digits(const QString& value)
{
    QString found;
    for (const QChar c : value) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            found.append(c);
    }
    return found;
}

QString BankNumbers::chequeNumber(const CheckTexts& texts)
{
    QString number = digits(texts[Box::MicrCheckNumber]);
    if (number.isEmpty())
        number = digits(texts[Box::CheckNumber]);
    qsizetype zeros = 0;
    while (zeros < number.size() - 1 && number.at(zeros) == QLatin1Char('0'))
        ++zeros;
    return number.mid(zeros);
}

QString BankNumbers::lastFour(const QString& account)
{
    return digits(account).right(4);
}

QString BankNumbers::masked(const QString& lastFour)
{
    return lastFour.isEmpty() ? QString() : QStringLiteral("****") + lastFour;
}
