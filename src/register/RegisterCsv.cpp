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

} // namespace

QByteArray RegisterCsv::write(const std::vector<CsvDraft>& drafts, bool fullBankNumbers)
{
    QStringList heading = {QStringLiteral("Printed"),        QStringLiteral("Check No."), QStringLiteral("Payor"),
                           QStringLiteral("Payee"),          QStringLiteral("Amount"),    QStringLiteral("Status"),
                           QStringLiteral("Printer or File")};
    if (fullBankNumbers)
        heading.append(QStringLiteral("Routing No."));
    heading.append(QStringLiteral("Account No."));

    QByteArray csv = line(heading);
    for (const CsvDraft& draft : drafts) {
        QStringList fields = {draft.printed.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                              draft.checkNumber,
                              draft.payor,
                              draft.payee,
                              draft.amount,
                              draft.status,
                              draft.destination};
        if (fullBankNumbers)
            fields += {draft.routingNumber, draft.accountNumber};
        else
            fields.append(BankNumbers::masked(draft.accountLastFour));
        csv += line(fields);
    }
    return csv;
}

QByteArray RegisterCsv::write(DraftRegister& source, const std::vector<DraftSummary>& drafts, bool fullBankNumbers)
{
    std::vector<CsvDraft> lines;
    lines.reserve(drafts.size());
    for (const DraftSummary& draft : drafts) {
        CsvDraft line;
        line.printed = QDateTime::fromMSecsSinceEpoch(draft.recordedAt, Qt::UTC);
        line.checkNumber = draft.checkNumber;
        line.payor = withoutTrailingSpaces(source.payor(draft));
        line.payee = draft.payee;
        line.amount = draft.amount;
        line.status = RegisterTexts::statusName(draft.status);
        line.destination = draft.destinationName;
        line.accountLastFour = draft.accountLastFour;
        if (fullBankNumbers) {
            const DraftDetails details = source.details(draft.id);
            line.routingNumber = withoutTrailingSpaces(details.record.texts[Box::RoutingNumber]);
            line.accountNumber = withoutTrailingSpaces(details.record.texts[Box::AccountNumber]);
        }
        lines.push_back(std::move(line));
    }
    return write(lines, fullBankNumbers);
}
