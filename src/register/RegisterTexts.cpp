#include "register/RegisterTexts.h"

QString RegisterTexts::duplicateQuestion(const EarlierDraft& earlier)
{
    // A draft printed without an amount or a payee is named by what it has.
    const QString amount = earlier.amount.isEmpty() ? QString() : QStringLiteral(" for ") + earlier.amount;
    const QString payee =
        earlier.payee.isEmpty() ? QString() : QStringLiteral(" to \"") + earlier.payee + QLatin1Char('"');
    return QStringLiteral("Check %1 on the account ending in %2 was already printed on %3%4%5. Print it again?")
        .arg(earlier.checkNumber, earlier.accountLastFour, dateText(earlier.recorded), amount, payee);
}

QString RegisterTexts::sameAmountMark(const EarlierDraft& earlier)
{
    return QStringLiteral("Check %1 for the same amount on the account ending in %2 was printed on %3 to \"%4\".")
        .arg(earlier.checkNumber, earlier.accountLastFour, dateText(earlier.recorded), earlier.payee);
}

QString RegisterTexts::printWithoutRecording(const QString& reason)
{
    return QStringLiteral("The draft register cannot be written: %1. Print without recording it?").arg(reason);
}

QString RegisterTexts::statusName(DraftStatus status)
{
    switch (status) {
    case DraftStatus::Printed:
        return QStringLiteral("Printed");
    case DraftStatus::Exported:
        return QStringLiteral("Exported");
    case DraftStatus::NotPrinted:
        return QStringLiteral("Not printed");
    case DraftStatus::Voided:
        return QStringLiteral("Voided");
    case DraftStatus::Deposited:
        return QStringLiteral("Deposited");
    case DraftStatus::Returned:
        return QStringLiteral("Returned");
    case DraftStatus::Uncertain:
        break;
    }
    return QStringLiteral("Uncertain");
}

QString RegisterTexts::eventName(DraftEventKind kind)
{
    if (kind == DraftEventKind::Note)
        return QStringLiteral("Note");
    return statusName(DraftEvent::statusOf(kind));
}

QString RegisterTexts::dateText(const QDateTime& time)
{
    return time.toLocalTime().toString(QStringLiteral("MM/dd/yyyy"));
}

QString RegisterTexts::dateTimeText(const QDateTime& time)
{
    return time.toLocalTime().toString(QStringLiteral("MM/dd/yyyy h:mm AP"));
}
