#include "register/RegisterCsv.h"

#include "register/BankNumbers.h"
#include "register/DraftRegister.h"
#include "register/RegisterTexts.h"

#include <QStringList>

namespace {

// Whether a spreadsheet would take `value` for a formula (or, after a tab or
// a carriage return, for the start of one): a payor line "=HYPERLINK(...)"
// typed on a cheque must open as text, never run.
bool readAsFormula(const QString& value)
{
    static const QString starts = QStringLiteral("=+-@\t\r");
    return !value.isEmpty() && starts.contains(value.front());
}

QString field(QString value)
{
    // A leading apostrophe makes the spreadsheet show the rest as text.
    if (readAsFormula(value))
        value.prepend(QLatin1Char('\''));
    if (!value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"')) && !value.contains(QLatin1Char('\r')) &&
        !value.contains(QLatin1Char('\n')))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray line(const QStringList& fields)
{
    QStringList written;
    for (const QString& value : fields)
        written.append(field(value));
    return written.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

// The amount as a plain number ("1020.00"), for a spreadsheet to add up;
// empty for an amount that is no number.
QString plainAmount(const DraftSummary& draft)
{
    if (!draft.amountCents)
        return {};
    const qint64 cents = *draft.amountCents;
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(qAbs(cents) / 100)
        .arg(qAbs(cents) % 100, 2, 10, QLatin1Char('0'));
}

QString timeText(const QDateTime& time)
{
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// Why the draft last came back, unless that return was withdrawn.
QString returnReason(const DraftDetails& details)
{
    QString reason;
    for (const RecordedEvent& event : details.history) {
        if (event.event.kind == DraftEventKind::Returned && !event.withdrawn)
            reason = event.event.reason && *event.event.reason != ReturnReason::Other
                         ? ReturnReasons::name(*event.event.reason)
                         : event.event.text;
    }
    return reason;
}

} // namespace

QByteArray RegisterCsv::write(DraftRegister& source, const std::vector<DraftSummary>& drafts, bool fullBankNumbers)
{
    QStringList heading = {
        QStringLiteral("Printed"),         QStringLiteral("Check No."),     QStringLiteral("Payor"),
        QStringLiteral("Payee"),           QStringLiteral("Amount"),        QStringLiteral("Amount (number)"),
        QStringLiteral("Status"),          QStringLiteral("Status Date"),   QStringLiteral("Return Reason"),
        QStringLiteral("Printer or File"), QStringLiteral("Authorized By"), QStringLiteral("Authorization"),
        QStringLiteral("Authorized On"),   QStringLiteral("Sale")};
    if (fullBankNumbers)
        heading.append(QStringLiteral("Routing No."));
    heading.append(QStringLiteral("Account No."));
    // Last, so that the columns of before keep their places.
    heading.append(QStringLiteral("Seat"));

    QByteArray csv = line(heading);
    for (const DraftSummary& draft : drafts) {
        const DraftDetails details = source.details(draft.id);
        QStringList fields = {timeText(QDateTime::fromMSecsSinceEpoch(draft.recordedAt, Qt::UTC)),
                              draft.checkNumber,
                              withoutTrailingSpaces(source.payor(draft)),
                              draft.payee,
                              draft.amount,
                              plainAmount(draft),
                              RegisterTexts::statusName(details.status),
                              details.statusDay.toString(Qt::ISODate),
                              returnReason(details),
                              draft.destinationName};
        if (const std::optional<AuthorizationRecord>& authorization = details.record.authorization) {
            fields += {authorization->authorizedBy, RegisterTexts::givenName(authorization->given),
                       timeText(authorization->authorizedAt), RegisterTexts::saleName(authorization->sale)};
        } else {
            fields += {QString(), QString(), QString(), QString()};
        }
        if (fullBankNumbers) {
            fields += {withoutTrailingSpaces(details.record.texts[Box::RoutingNumber]),
                       withoutTrailingSpaces(details.record.texts[Box::AccountNumber])};
        } else {
            fields.append(BankNumbers::masked(draft.accountLastFour));
        }
        fields.append(details.recordedBy);
        csv += line(fields);
    }
    return csv;
}
