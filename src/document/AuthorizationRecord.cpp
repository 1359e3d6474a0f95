#include "document/AuthorizationRecord.h"

#include <QUuid>

AuthorizationRecord AuthorizationRecord::forDraft(const CheckTexts& texts, const QDateTime& now)
{
    AuthorizationRecord record;
    record.id = newId();
    record.authorizedBy = texts[Box::PayorLine1].trimmed();
    // To the minute, as the merchant reads and types it.
    const QDateTime utc = now.toUTC();
    record.authorizedAt = QDateTime(utc.date(), QTime(utc.time().hour(), utc.time().minute()), Qt::UTC);
    record.amount = texts[Box::AmountInFigures].trimmed();
    record.payee = texts[Box::Payee].trimmed();
    return record;
}

QString AuthorizationRecord::newId()
{
    return QUuid::createUuid().toString(QUuid::Id128);
}
