#pragma once

// The cheque and authorization the register's tests record: Jane Q.
// Customer's check 1042 to Acme Supplies LLC for $1,234.56.

#include "document/AuthorizationRecord.h"
#include "document/Box.h"
#include "register/DraftRecord.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QStringList>

namespace RegisterSamples {

// 12:00 in Chicago on 12/08/2026.
inline const QDateTime Now = QDateTime(QDate(2026, 12, 8), QTime(18, 0), Qt::UTC);

inline CheckTexts sampleTexts()
{
    return {QStringLiteral("Jane Q. Customer"),
            QStringLiteral("12 Elm Street"),
            QStringLiteral("Springfield, IL 62701"),
            QStringLiteral("First Prairie Bank"),
            QStringLiteral("Springfield, IL"),
            QStringLiteral("1042"),
            QStringLiteral("Acme Supplies LLC"),
            QStringLiteral("One thousand two hundred thirty-four and 56/100"),
            QStringLiteral("$1,234.56"),
            QStringLiteral("12/01/2026"),
            QStringLiteral("A021000021A"),
            QStringLiteral("98765436789C"),
            QStringLiteral("1042"),
            QStringLiteral("Invoice 77")};
}

// "12=98765436780C": Text12 becomes that text.
inline CheckTexts withChanges(CheckTexts texts, const QStringList& changes)
{
    for (const QString& change : changes) {
        const qsizetype at = change.indexOf(QLatin1Char('='));
        texts[Box(change.left(at).toInt())] = change.mid(at + 1);
    }
    return texts;
}

inline DraftRecord printed(const CheckTexts& texts)
{
    DraftRecord draft;
    draft.texts = texts;
    draft.kind = SentDraft::Kind::QuickPrint;
    draft.destinationName = QStringLiteral("Office");
    return draft;
}

// Jane Q. Customer's authorization of check 1042, given by phone at 2:05 PM
// on 12/01/2026 in Chicago, with changes such as "drafts=2", "sale=3"
// (AuthorizationRecord::Sale's fourth), "amount=$75.00", "id=a2".
inline AuthorizationRecord authorization(const QStringList& changes = {})
{
    AuthorizationRecord record;
    record.id = QStringLiteral("a1");
    record.authorizedBy = QStringLiteral("Jane Q. Customer");
    record.phone = QStringLiteral("(217) 555-0142");
    record.authorizedAt = QDateTime(QDate(2026, 12, 1), QTime(20, 5), Qt::UTC);
    record.given = AuthorizationRecord::Given::RecordedCall;
    record.sale = AuthorizationRecord::Sale::CustomerCalled;
    record.amount = QStringLiteral("$1,234.56");
    record.payee = QStringLiteral("Acme Supplies LLC");
    for (const QString& change : changes) {
        const QString value = change.section(QLatin1Char('='), 1);
        if (change.startsWith(QLatin1String("drafts=")))
            record.drafts = value.toInt();
        else if (change.startsWith(QLatin1String("sale=")))
            record.sale = AuthorizationRecord::Sale(value.toInt());
        else if (change.startsWith(QLatin1String("amount=")))
            record.amount = value;
        else if (change.startsWith(QLatin1String("id=")))
            record.id = value;
    }
    return record;
}

// The sample's draft with another check, written "<check number>[=<amount>]
// [+a<drafts authorized>]": "1043=$75.00+a2" is check 1043 for $75.00 under
// the sample authorization of two drafts.
inline DraftRecord sampleDraft(const QString& check)
{
    const QString number = check.section(QRegularExpression(QStringLiteral("[=+]")), 0, 0);
    const QString amount = check.section(QLatin1Char('='), 1).section(QLatin1Char('+'), 0, 0);
    QStringList changes{QStringLiteral("6=") + number, QStringLiteral("13=") + number};
    if (!amount.isEmpty())
        changes.append(QStringLiteral("9=") + amount);
    DraftRecord draft = printed(withChanges(sampleTexts(), changes));
    if (check.contains(QLatin1String("+a")))
        draft.authorization = authorization({QStringLiteral("drafts=") + check.section(QLatin1String("+a"), 1)});
    return draft;
}

} // namespace RegisterSamples
