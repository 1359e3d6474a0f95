#include "register/RegisterCsv.h"

#include "register/BankNumbers.h"
#include "register/DraftRegister.h"
#include "register/RegisterTexts.h"

#include <QStringList>

namespace {

QString field(const QString& value)
{
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

QByteArray RegisterCsv::write(DraftRegister& source, const std::vector<DraftSummary>& drafts, bool fullBankNumbers)
{
    QStringList heading = {QStringLiteral("Printed"),        QStringLiteral("Check No."), QStringLiteral("Payor"),
                           QStringLiteral("Payee"),          QStringLiteral("Amount"),    QStringLiteral("Status"),
                           QStringLiteral("Printer or File")};
    if (fullBankNumbers)
        heading.append(QStringLiteral("Routing No."));
    heading.append(QStringLiteral("Account No."));

    QByteArray csv = line(heading);
    for (const DraftSummary& draft : drafts) {
        QStringList fields = {QDateTime::fromMSecsSinceEpoch(draft.recordedAt, Qt::UTC)
                                  .toLocalTime()
                                  .toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                              draft.checkNumber,
                              withoutTrailingSpaces(source.payor(draft)),
                              draft.payee,
                              draft.amount,
                              RegisterTexts::statusName(draft.status),
                              draft.destinationName};
        if (fullBankNumbers) {
            const DraftDetails details = source.details(draft.id);
            fields += {withoutTrailingSpaces(details.record.texts[Box::RoutingNumber]),
                       withoutTrailingSpaces(details.record.texts[Box::AccountNumber])};
        } else {
            fields.append(BankNumbers::masked(draft.accountLastFour));
        }
        csv += line(fields);
    }
    return csv;
}
