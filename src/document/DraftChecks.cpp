#include "document/DraftChecks.h"

#include "document/AmountInFigures.h"
#include "document/AmountInWords.h"
#include "document/DateReader.h"

#include <QStringList>
#include <algorithm>

namespace {

// The oldest date a bank still takes without question.
constexpr int StaleAfterDays = 180;

QString ordinal(qsizetype n)
{
    const char* suffix = "th";
    if (n % 100 < 11 || n % 100 > 13) {
        if (n % 10 == 1)
            suffix = "st";
        else if (n % 10 == 2)
            suffix = "nd";
        else if (n % 10 == 3)
            suffix = "rd";
    }
    return QString::number(n) + QLatin1String(suffix);
}

bool isMicrCharacter(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('D')) ||
           c == QLatin1Char(' ');
}

// What a merchant most likely meant by a character the MICR font lacks.
QString likelyMeant(QChar c)
{
    switch (c.unicode()) {
    case 'O':
    case 'o':
        return QStringLiteral(" Did you mean the digit 0?");
    case 'I':
    case 'l':
    case 'i':
        return QStringLiteral(" Did you mean the digit 1?");
    case 'a':
        return QStringLiteral(" Did you mean the transit symbol A?");
    case 'b':
        return QStringLiteral(" Did you mean the amount symbol B?");
    case 'c':
    case '#':
        return QStringLiteral(" Did you mean the on-us symbol C?");
    case 'd':
    case '-':
        return QStringLiteral(" Did you mean the dash symbol D?");
    default:
        return QString();
    }
}

void micrCharacters(const QString& text, QStringList& reasons)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isMicrCharacter(text.at(i)))
            reasons << QStringLiteral("\"%1\" (%2 character) is not a MICR character.%3")
                           .arg(QString(text.at(i)), ordinal(i + 1), likelyMeant(text.at(i)));
    }
}

// A routing number reads A, nine digits, A; the ninth digit is a check digit
// with weights 3, 7, 1, and the first two digits name a Federal Reserve
// district (00-12), a thrift (21-32), an electronic one (61-72) or travelers
// checks (80).
void routingNumber(const QString& text, QStringList& reasons)
{
    QString micr = text;
    micr.remove(QLatin1Char(' '));
    const QString digits = micr.mid(1, micr.size() - 2);
    const bool allDigits = std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); });
    if (micr.size() != 11 || !micr.startsWith(QLatin1Char('A')) || !micr.endsWith(QLatin1Char('A')) || !allDigits) {
        const qsizetype count = std::count_if(micr.begin(), micr.end(), [](QChar c) { return c.isDigit(); });
        if (count != 9)
            reasons << QStringLiteral("The routing number has %1 digits: it should have nine, between two transit "
                                      "symbols, as in A021000021A.")
                           .arg(count);
        else
            reasons << QStringLiteral(
                "The routing number should stand between two transit symbols, as in A021000021A.");
        return;
    }

    const int prefix = digits.left(2).toInt();
    if (!(prefix <= 12 || (prefix >= 21 && prefix <= 32) || (prefix >= 61 && prefix <= 72) || prefix == 80))
        reasons << QStringLiteral("No routing number begins with %1: the first two digits lie in 00–12, 21–32, "
                                  "61–72 or 80.")
                       .arg(digits.left(2));

    static constexpr int Weights[] = {3, 7, 1};
    int sum = 0;
    for (int i = 0; i < 8; ++i)
        sum += Weights[i % 3] * digits.at(i).digitValue();
    const int checkDigit = (10 - sum % 10) % 10;
    if (digits.at(8).digitValue() != checkDigit)
        reasons << QStringLiteral("The check digit should be %1 for %2_: the routing number is probably mistyped.")
                       .arg(checkDigit)
                       .arg(digits.left(8));
}

QString digitsOf(const QString& text)
{
    QString digits;
    for (QChar c : text) {
        if (c.isDigit())
            digits += c;
    }
    // Bank lines often pad the check number with zeros.
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    return digits;
}

void amounts(const QString& words, const QString& figures, QStringList& wordsReasons, QStringList& figuresReasons)
{
    if (words.isEmpty() && figures.isEmpty())
        return;
    if (figures.isEmpty()) {
        figuresReasons << QStringLiteral("The amount in figures is empty.");
        return;
    }
    if (words.isEmpty()) {
        wordsReasons << QStringLiteral("The amount in words is empty: banks go by the words. Edit, Amount in Words "
                                       "writes them from the figures.");
        return;
    }
    const std::optional<qint64> inFigures = AmountInFigures::read(figures);
    if (!inFigures)
        return;
    const std::optional<qint64> inWords = AmountInWords::read(words);
    if (!inWords) {
        wordsReasons << QStringLiteral("The amount in words could not be read as an amount, such as \"Two hundred "
                                       "forty-seven and 50/100\".");
    } else if (*inWords != *inFigures) {
        const QString reason = QStringLiteral("The amount in words, %1, differs from the amount in figures, %2.")
                                   .arg(AmountInFigures::write(*inWords), AmountInFigures::write(*inFigures));
        wordsReasons << reason;
        figuresReasons << reason;
    }
}

void date(const QString& text, const QDate& today, QStringList& reasons)
{
    if (text.isEmpty()) {
        reasons << QStringLiteral("The date is empty: banks may return an undated draft.");
        return;
    }
    const std::optional<QDate> date = DateReader::read(text);
    if (!date)
        return;
    const qint64 age = date->daysTo(today);
    if (age > StaleAfterDays)
        reasons << QStringLiteral("The date is %1 days back: banks may refuse a draft dated more than six months "
                                  "back.")
                       .arg(age);
    else if (age < 0)
        reasons << QStringLiteral("The date is after today: banks may hold a postdated draft until that day.");
}

} // namespace

bool DraftChecks::isUntouched(const CheckTexts& texts)
{
    return std::all_of(texts.begin(), texts.end(),
                       [](const QString& text) { return withoutTrailingSpaces(text).isEmpty(); });
}

DraftChecks::Reasons DraftChecks::run(const CheckTexts& texts, const QDate& today)
{
    if (isUntouched(texts))
        return {};
    CheckTexts text;
    for (Box box : AllBoxes)
        text[box] = withoutTrailingSpaces(texts[box]);
    PerBox<QStringList> reasons;

    for (Box box : {Box::RoutingNumber, Box::AccountNumber, Box::MicrCheckNumber})
        micrCharacters(text[box], reasons[box]);
    if (!text[Box::RoutingNumber].isEmpty() && reasons[Box::RoutingNumber].isEmpty())
        routingNumber(text[Box::RoutingNumber], reasons[Box::RoutingNumber]);
    if (!text[Box::AccountNumber].isEmpty() && !text[Box::AccountNumber].contains(QLatin1Char('C')))
        reasons[Box::AccountNumber] << QStringLiteral(
            "The account number should carry the on-us symbol C, as in 123456789C.");

    const QString onFace = digitsOf(text[Box::CheckNumber]);
    const QString onBankLine = digitsOf(text[Box::MicrCheckNumber]);
    if (!onFace.isEmpty() && !onBankLine.isEmpty() && onFace != onBankLine) {
        reasons[Box::CheckNumber] << QStringLiteral("The check number, %1, differs from the one on the bank line, %2.")
                                         .arg(onFace, onBankLine);
        reasons[Box::MicrCheckNumber] << QStringLiteral("The check number on the bank line, %1, differs from the one "
                                                        "at the top, %2.")
                                             .arg(onBankLine, onFace);
    }

    amounts(text[Box::AmountInWords], text[Box::AmountInFigures], reasons[Box::AmountInWords],
            reasons[Box::AmountInFigures]);
    date(text[Box::CheckDate], today, reasons[Box::CheckDate]);

    Reasons joined;
    for (Box box : AllBoxes)
        joined[box] = reasons[box].join(QLatin1Char(' '));
    return joined;
}
