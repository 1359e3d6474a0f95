#include "register/SqlRegisterStore.h"

#include "register/DraftEvent.h"
#include "register/RegisterCodes.h"
#include "register/RegisterColumns.h"
#include "register/RegisterError.h"
#include "register/RegisterSchema.h"
#include "register/SqlDialect.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <QtEndian>

#include <algorithm>

namespace {

QString newConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("quillo-register-%1").arg(++counter);
}

QVariant blobOrNull(const QByteArray& bytes)
{
    return bytes.isEmpty() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(bytes);
}

// A text for a NOT NULL column: Qt binds a null QString as NULL.
QVariant text(const QString& value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

QVariant centsOrNull(const std::optional<qint64>& cents)
{
    return cents ? QVariant(*cents) : QVariant(QMetaType::fromType<qint64>());
}

std::optional<qint64> optionalCents(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toLongLong();
}

// An event `s` that sets the status and that no withdrawal took back.
const QString ActiveStatusEvent =
    QStringLiteral("s.sets_status = 1 AND NOT EXISTS (SELECT 1 FROM draft_events w WHERE w.withdraws = s.id)");

// The status of a draft: the kind of its latest status event. Plain SQL
// (a subquery for the latest id) rather than any one database's shorthand.
const QString StatusColumn = QStringLiteral("(SELECT e.kind FROM draft_events e WHERE e.id = "
                                            "(SELECT MAX(s.id) FROM draft_events s WHERE s.draft_id = d.id AND %1))")
                                 .arg(ActiveStatusEvent);

QVariant textOrNull(const QString& value)
{
    return value.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(value);
}

StoredEvent eventFrom(const QSqlRecord& row)
{
    StoredEvent event;
    event.id = row.value(QStringLiteral("id")).toLongLong();
    event.draftId = row.value(QStringLiteral("draft_id")).toLongLong();
    event.recordedAt = row.value(QStringLiteral("recorded_at")).toLongLong();
    event.kind = row.value(QStringLiteral("kind")).toString();
    event.setsStatus = row.value(QStringLiteral("sets_status")).toInt() != 0;
    event.jobId = row.value(QStringLiteral("job_id")).toString();
    event.text = row.value(QStringLiteral("detail")).toString();
    event.sealedText = row.value(QStringLiteral("sealed_detail")).toByteArray();
    event.effectiveDate = row.value(QStringLiteral("effective_date")).toString();
    event.reason = row.value(QStringLiteral("reason")).toString();
    event.withdraws = row.value(QStringLiteral("withdraws")).toLongLong();
    event.seat = row.value(QStringLiteral("seat")).toString();
    return event;
}

const QString RowColumns =
    QStringLiteral("d.id, d.uid, d.recorded_at, d.check_number, d.payor_line1, "
                   "d.micr_check_number, d.payee, d.amount_in_figures, d.amount_cents, "
                   "d.destination_kind, d.destination, d.sealed_destination, d.account_last4, d.cheque_key, "
                   "d.reprint_of, ") +
    StatusColumn + QStringLiteral(" AS status");

const QString AuthorizationColumns = QStringLiteral(
    "a.draft_id, d.uid AS draft_uid, a.authorization_id, a.authorized_at, a.authorized_by, a.phone, a.given, a.sale, "
    "a.amount, a.payee, a.drafts_authorized, a.proof_name, a.proof_sha256, a.proof_copy");

// The time of a draft's latest event, or of its recording without one.
const QString LastEventColumn =
    QStringLiteral("COALESCE((SELECT MAX(l.recorded_at) FROM draft_events l WHERE l.draft_id = d.id), d.recorded_at)");

} // namespace

SqlRegisterStore::SqlRegisterStore(std::unique_ptr<SqlDialect> dialect)
    : m_dialect(std::move(dialect)), m_connection(newConnectionName()), m_listener(std::make_unique<QObject>())
{
    try {
        m_dialect->connect(m_connection);
        migrate();
    } catch (...) {
        QSqlDatabase::removeDatabase(m_connection);
        throw;
    }
}

SqlRegisterStore::~SqlRegisterStore()
{
    m_listener.reset();
    {
        QSqlDatabase database = QSqlDatabase::database(m_connection, false);
        if (database.isValid())
            database.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

int SqlRegisterStore::schemaVersion() const
{
    QSqlQuery table = prepare(m_dialect->tableQuery());
    table.addBindValue(RegisterSchema::VersionTable);
    exec(table);
    const bool hasTable = table.next();
    table.finish();
    QSqlQuery query = prepare(hasTable ? QStringLiteral("SELECT version FROM %1").arg(RegisterSchema::VersionTable)
                                       : m_dialect->versionBeforeSchemaTable());
    exec(query);
    return query.next() ? query.value(0).toInt() : 0;
}

void SqlRegisterStore::migrate()
{
    const int found = schemaVersion();
    if (found > RegisterSchema::currentVersion())
        throw RegisterError(m_dialect->laterVersion());
    if (found == RegisterSchema::currentVersion())
        return;
    // Seats that share a server: the first brings it forward, the others
    // wait, then find it done.
    const QString lock = m_dialect->schemaLock();
    if (!lock.isEmpty())
        execute(lock);
    const auto unlock = qScopeGuard([&] {
        if (!lock.isEmpty())
            QSqlQuery(QSqlDatabase::database(m_connection, false)).exec(m_dialect->schemaUnlock());
    });
    for (;;) {
        const int version = schemaVersion();
        if (version > RegisterSchema::currentVersion())
            throw RegisterError(m_dialect->laterVersion());
        if (version == RegisterSchema::currentVersion())
            return;
        try {
            runMigration(version + 1);
        } catch (const RegisterError&) {
            // Another program may have brought the file forward meanwhile:
            // look again, and fail only if the version did not move.
            if (schemaVersion() <= version)
                throw;
        }
    }
}

void SqlRegisterStore::runMigration(int version)
{
    inTransaction([&] {
        for (const QString& statement : RegisterSchema::migration(version, *m_dialect))
            execute(statement);
        if (version >= RegisterSchema::FirstWithVersionTable) {
            execute(QStringLiteral("DELETE FROM %1").arg(RegisterSchema::VersionTable));
            QSqlQuery row =
                prepare(QStringLiteral("INSERT INTO %1 (version) VALUES (?)").arg(RegisterSchema::VersionTable));
            row.addBindValue(version);
            exec(row);
        }
        for (const QString& statement : m_dialect->versionWritten(version))
            execute(statement);
    });
}

void SqlRegisterStore::fail(const QSqlError& error) const
{
    if (!m_damaged && m_dialect->isDamage(error)) {
        m_damaged = true;
        QSqlDatabase database = QSqlDatabase::database(m_connection, false);
        m_dialect->leaveAsItIs(database);
    }
    if (m_dialect->isConnectionLost(error)) {
        // Whatever was under way is dropped with the connection. Made again at
        // once, it says whether the server is still there; the next use
        // starts afresh either way.
        QSqlDatabase database = QSqlDatabase::database(m_connection, false);
        database.close();
        if (!database.open())
            throw RegisterError(m_dialect->openingReason(database.lastError()));
        listen();
    }
    throw RegisterError(m_dialect->reason(error));
}

QSqlQuery SqlRegisterStore::prepare(const QString& sql) const
{
    QSqlDatabase database = QSqlDatabase::database(m_connection, false);
    // A connection lost before, when its server did not answer: tried again.
    if (!database.isOpen()) {
        if (!database.open())
            throw RegisterError(m_dialect->openingReason(database.lastError()));
        listen();
    }
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        fail(query.lastError());
    return query;
}

void SqlRegisterStore::exec(QSqlQuery& query) const
{
    if (!query.exec())
        fail(query.lastError());
}

void SqlRegisterStore::execute(const QString& sql) const
{
    // Run as it is, not prepared: some engines prepare only queries and
    // changes of rows, never the statements that make tables.
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(sql))
        fail(query.lastError());
}

void SqlRegisterStore::together(const std::function<void()>& writes)
{
    inTransaction(writes);
}

void SqlRegisterStore::watchOthers(Watcher watcher)
{
    const QString channel = m_dialect->notificationChannel();
    if (channel.isEmpty())
        return;
    m_watcher = std::move(watcher);
    QSqlDriver* driver = QSqlDatabase::database(m_connection, false).driver();
    QObject::connect(
        driver, &QSqlDriver::notification, m_listener.get(),
        [this, channel](const QString& name, QSqlDriver::NotificationSource source, const QVariant& payload) {
            // This seat's own writes are told as they are made.
            if (name != channel || source == QSqlDriver::SelfSource || !m_watcher)
                return;
            // "draft 12" or "event 12"; anything else is a later program's.
            const QStringList words = payload.toString().split(QLatin1Char(' '));
            bool ok = false;
            const qint64 draftId = words.value(1).toLongLong(&ok);
            if (!ok || words.size() != 2)
                return;
            if (words.front() == QLatin1String("draft"))
                m_watcher(Written::Draft, draftId);
            else if (words.front() == QLatin1String("event"))
                m_watcher(Written::Event, draftId);
        });
    listen();
}

void SqlRegisterStore::listen() const
{
    if (!m_watcher)
        return;
    QSqlDatabase database = QSqlDatabase::database(m_connection, false);
    if (!database.driver()->subscribedToNotifications().contains(m_dialect->notificationChannel()) &&
        !database.driver()->subscribeToNotification(m_dialect->notificationChannel()))
        throw RegisterError(m_dialect->reason(database.driver()->lastError()));
}

void SqlRegisterStore::announce(Written what, qint64 draftId)
{
    const QString statement = m_dialect->announcement();
    if (statement.isEmpty())
        return;
    QSqlQuery query = prepare(statement);
    query.addBindValue(QStringLiteral("%1 %2")
                           .arg(what == Written::Draft ? QStringLiteral("draft") : QStringLiteral("event"))
                           .arg(draftId));
    exec(query);
}

void SqlRegisterStore::lockAccount(const QByteArray& accountKey)
{
    const QString lock = m_dialect->accountLock();
    if (lock.isEmpty() || accountKey.size() < 8)
        return;
    QSqlQuery query = prepare(lock);
    query.addBindValue(qFromBigEndian<qint64>(accountKey.constData()));
    exec(query);
}

void SqlRegisterStore::inTransaction(const std::function<void()>& writes)
{
    // Inside a transaction already: its commit keeps these writes too.
    if (m_inTransaction) {
        writes();
        return;
    }
    // Found damaged during this run: nothing more is written to it.
    if (m_damaged)
        throw RegisterError(m_dialect->damaged());
    m_inTransaction = true;
    const auto done = qScopeGuard([this] { m_inTransaction = false; });
    QSqlDatabase database = QSqlDatabase::database(m_connection, false);
    if (!database.isOpen()) {
        if (!database.open())
            throw RegisterError(m_dialect->openingReason(database.lastError()));
        listen();
    }
    // Opened as a write from its first statement: another program's write
    // waits for this one (within the busy timeout), never the other way
    // round halfway through.
    QSqlQuery begin(database);
    if (!begin.exec(m_dialect->beginWrite()))
        fail(begin.lastError());
    const auto rollback = [&database] { QSqlQuery(database).exec(QStringLiteral("ROLLBACK")); };
    try {
        writes();
    } catch (...) {
        rollback();
        throw;
    }
    // COMMIT as a statement of its own: the driver's commit() keeps SQLite's
    // result code from the error, and the code tells a full disk from a lock.
    QSqlQuery commit(database);
    if (!commit.exec(QStringLiteral("COMMIT"))) {
        const QSqlError error = commit.lastError();
        rollback();
        fail(error);
    }
}

std::optional<QByteArray> SqlRegisterStore::fact(const QString& name)
{
    QSqlQuery query = prepare(QStringLiteral("SELECT value FROM register_facts WHERE name = ?"));
    query.addBindValue(text(name));
    exec(query);
    if (!query.next())
        return std::nullopt;
    return query.value(0).toByteArray();
}

void SqlRegisterStore::addFacts(const std::vector<std::pair<QString, QByteArray>>& facts)
{
    inTransaction([&] {
        for (const auto& [name, value] : facts) {
            QSqlQuery query = prepare(QStringLiteral("INSERT INTO register_facts (name, value) VALUES (?, ?)"));
            query.addBindValue(text(name));
            query.addBindValue(value);
            exec(query);
        }
    });
}

qint64 SqlRegisterStore::addDraft(const StoredDraft& draft, const std::optional<StoredEvent>& firstEvent)
{
    const std::vector<std::pair<QString, QVariant>> values = columnsOf(draft);
    QStringList columns;
    QStringList marks;
    for (const auto& [name, value] : values) {
        columns.append(name);
        marks.append(QStringLiteral("?"));
    }
    qint64 id = 0;
    inTransaction([&] {
        QSqlQuery query = prepare(QStringLiteral("INSERT INTO drafts (%1) VALUES (%2)")
                                      .arg(columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))) +
                                  m_dialect->returningId());
        for (const auto& [name, value] : values)
            query.addBindValue(value);
        exec(query);
        id = query.next() ? query.value(0).toLongLong() : query.lastInsertId().toLongLong();
        query.finish();
        if (firstEvent) {
            StoredEvent event = *firstEvent;
            event.draftId = id;
            insertEvent(event);
        }
        announce(Written::Draft, id);
    });
    return id;
}

void SqlRegisterStore::addEvent(const StoredEvent& event)
{
    inTransaction([&] {
        insertEvent(event);
        announce(Written::Event, event.draftId);
    });
}

void SqlRegisterStore::insertEvent(const StoredEvent& event)
{
    QSqlQuery query = prepare(QStringLiteral(
        "INSERT INTO draft_events (draft_id, recorded_at, kind, sets_status, job_id, detail, "
        "sealed_detail, effective_date, reason, withdraws, seat) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    query.addBindValue(event.draftId);
    query.addBindValue(event.recordedAt);
    query.addBindValue(text(event.kind));
    query.addBindValue(event.setsStatus ? 1 : 0);
    query.addBindValue(text(event.jobId));
    query.addBindValue(text(event.text));
    query.addBindValue(blobOrNull(event.sealedText));
    query.addBindValue(textOrNull(event.effectiveDate));
    query.addBindValue(textOrNull(event.reason));
    query.addBindValue(event.withdraws > 0 ? QVariant(event.withdraws) : QVariant(QMetaType::fromType<qint64>()));
    query.addBindValue(textOrNull(event.seat));
    exec(query);
}

std::optional<StoredDraft> SqlRegisterStore::draft(qint64 id)
{
    QSqlQuery query = prepare(QStringLiteral("SELECT d.* FROM drafts d WHERE d.id = ?"));
    query.addBindValue(id);
    exec(query);
    if (!query.next())
        return std::nullopt;
    return draftFrom(query.record());
}

std::vector<StoredEvent> SqlRegisterStore::events(qint64 draftId)
{
    QSqlQuery query = prepare(QStringLiteral("SELECT * FROM draft_events WHERE draft_id = ? ORDER BY id"));
    query.addBindValue(draftId);
    exec(query);
    std::vector<StoredEvent> found;
    while (query.next())
        found.push_back(eventFrom(query.record()));
    return found;
}

std::optional<StoredEvent> SqlRegisterStore::latestReturnOnAccount(const QByteArray& accountKey,
                                                                   const QStringList& reasons)
{
    if (accountKey.isEmpty() || reasons.isEmpty())
        return std::nullopt;
    QStringList marks;
    for (qsizetype i = 0; i < reasons.size(); ++i)
        marks.append(QStringLiteral("?"));
    QSqlQuery query = prepare(QStringLiteral("SELECT s.* FROM drafts d JOIN draft_events s ON s.draft_id = d.id "
                                             "WHERE d.account_key = ? AND s.kind = ? AND s.reason IN (%1) AND %2 "
                                             "ORDER BY s.id DESC LIMIT 1")
                                  .arg(marks.join(QStringLiteral(", ")), ActiveStatusEvent));
    query.addBindValue(accountKey);
    query.addBindValue(DraftEvent::code(DraftEventKind::Returned));
    for (const QString& reason : reasons)
        query.addBindValue(reason);
    exec(query);
    if (!query.next()) {
        if (query.lastError().isValid())
            fail(query.lastError());
        return std::nullopt;
    }
    return eventFrom(query.record());
}

std::vector<std::pair<QString, QVariant>> SqlRegisterStore::columnsOf(const StoredDraft& draft)
{
    std::vector<std::pair<QString, QVariant>> columns = {{QStringLiteral("uid"), text(draft.uid)},
                                                         {QStringLiteral("recorded_at"), draft.recordedAt}};
    for (const RegisterColumns::Column& box : RegisterColumns::Boxes) {
        const QByteArray& value = draft.boxes[box.box];
        columns.emplace_back(QString::fromLatin1(box.column),
                             box.sealed ? QVariant(value) : text(QString::fromUtf8(value)));
    }
    columns.insert(columns.end(),
                   {{QStringLiteral("account_last4"), text(draft.accountLastFour)},
                    {QStringLiteral("account_key"), blobOrNull(draft.accountKey)},
                    {QStringLiteral("cheque_key"), blobOrNull(draft.chequeKey)},
                    {QStringLiteral("amount_cents"), centsOrNull(draft.amountCents)},
                    {QStringLiteral("bank_line"), text(draft.bankLine)},
                    {QStringLiteral("offset_right"), draft.offsetRight},
                    {QStringLiteral("offset_down"), draft.offsetDown},
                    {QStringLiteral("destination_kind"), text(draft.destinationKind)},
                    {QStringLiteral("destination"), text(draft.destination)},
                    {QStringLiteral("source_file"), text(draft.sourceFile)},
                    {QStringLiteral("sealed_source_file"), blobOrNull(draft.sealedSourceFile)},
                    {QStringLiteral("sealed_destination"), blobOrNull(draft.sealedDestination)},
                    {QStringLiteral("reprint_of"),
                     draft.reprintOf > 0 ? QVariant(draft.reprintOf) : QVariant(QMetaType::fromType<qint64>())},
                    {QStringLiteral("seat"), textOrNull(draft.seat)}});
    return columns;
}

StoredDraft SqlRegisterStore::draftFrom(const QSqlRecord& row)
{
    // A list reads only some of the columns: the others stay empty.
    const auto value = [&row](const QString& name) {
        const int at = row.indexOf(name);
        return at < 0 ? QVariant() : row.value(at);
    };
    StoredDraft found;
    found.id = value(QStringLiteral("id")).toLongLong();
    found.uid = value(QStringLiteral("uid")).toString();
    found.recordedAt = value(QStringLiteral("recorded_at")).toLongLong();
    for (const RegisterColumns::Column& box : RegisterColumns::Boxes) {
        const QVariant boxValue = value(QString::fromLatin1(box.column));
        found.boxes[box.box] = box.sealed ? boxValue.toByteArray() : boxValue.toString().toUtf8();
    }
    found.accountLastFour = value(QStringLiteral("account_last4")).toString();
    found.accountKey = value(QStringLiteral("account_key")).toByteArray();
    found.chequeKey = value(QStringLiteral("cheque_key")).toByteArray();
    found.amountCents = optionalCents(value(QStringLiteral("amount_cents")));
    found.bankLine = value(QStringLiteral("bank_line")).toString();
    found.offsetRight = value(QStringLiteral("offset_right")).toInt();
    found.offsetDown = value(QStringLiteral("offset_down")).toInt();
    found.destinationKind = value(QStringLiteral("destination_kind")).toString();
    found.destination = value(QStringLiteral("destination")).toString();
    found.sourceFile = value(QStringLiteral("source_file")).toString();
    found.reprintOf = value(QStringLiteral("reprint_of")).toLongLong();
    found.sealedSourceFile = value(QStringLiteral("sealed_source_file")).toByteArray();
    found.sealedDestination = value(QStringLiteral("sealed_destination")).toByteArray();
    found.status = value(QStringLiteral("status")).toString();
    found.lastEventAt = value(QStringLiteral("last_event_at")).toLongLong();
    found.seat = value(QStringLiteral("seat")).toString();
    return found;
}

std::vector<StoredDraft> SqlRegisterStore::rows(QSqlQuery& query) const
{
    exec(query);
    std::vector<StoredDraft> found;
    while (query.next())
        found.push_back(draftFrom(query.record()));
    if (query.lastError().isValid())
        fail(query.lastError());
    return found;
}

std::vector<StoredDraft> SqlRegisterStore::drafts(qint64 beforeId, int count)
{
    // Page by page by id, which the file keeps in order: no page sorts.
    QSqlQuery query =
        prepare(QStringLiteral("SELECT %1 FROM drafts d WHERE d.id < ? ORDER BY d.id DESC LIMIT ?").arg(RowColumns));
    query.addBindValue(beforeId);
    query.addBindValue(count);
    return rows(query);
}

std::vector<StoredDraft> SqlRegisterStore::draftsWithChequeKey(const QByteArray& chequeKey)
{
    QSqlQuery query =
        prepare(QStringLiteral("SELECT %1 FROM drafts d WHERE d.cheque_key = ? ORDER BY d.recorded_at DESC, d.id DESC")
                    .arg(RowColumns));
    query.addBindValue(chequeKey);
    return rows(query);
}

std::vector<StoredDraft> SqlRegisterStore::draftsWithAccountKey(const QByteArray& accountKey, qint64 amountCents,
                                                                qint64 since)
{
    QSqlQuery query = prepare(QStringLiteral("SELECT %1 FROM drafts d WHERE d.account_key = ? AND d.recorded_at >= ? "
                                             "AND d.amount_cents = ? ORDER BY d.recorded_at DESC, d.id DESC")
                                  .arg(RowColumns));
    query.addBindValue(accountKey);
    query.addBindValue(since);
    query.addBindValue(amountCents);
    return rows(query);
}

std::vector<UncertainPrint> SqlRegisterStore::uncertainPrints()
{
    QSqlQuery query =
        prepare(QStringLiteral(
                    "SELECT e.draft_id, d.destination, e.job_id FROM draft_events e JOIN drafts d ON d.id = e.draft_id "
                    "WHERE e.kind = ? AND e.job_id <> '' AND d.destination_kind <> ? AND e.id = "
                    "(SELECT MAX(s.id) FROM draft_events s WHERE s.draft_id = e.draft_id AND %1) "
                    "ORDER BY e.id")
                    .arg(ActiveStatusEvent));
    query.addBindValue(DraftEvent::code(DraftEventKind::Uncertain));
    query.addBindValue(RegisterCodes::destination(SentDraft::Kind::PdfFile));
    exec(query);
    std::vector<UncertainPrint> found;
    while (query.next()) {
        const QSqlRecord row = query.record();
        found.push_back({row.value(QStringLiteral("draft_id")).toLongLong(),
                         row.value(QStringLiteral("destination")).toString(),
                         row.value(QStringLiteral("job_id")).toString()});
    }
    return found;
}

void SqlRegisterStore::addAuthorization(const StoredAuthorization& authorization)
{
    inTransaction([&] {
        QSqlQuery query = prepare(QStringLiteral(
            "INSERT INTO draft_authorizations (draft_id, authorization_id, authorized_at, authorized_by, phone, given, "
            "sale, amount, payee, drafts_authorized, proof_name, proof_sha256, proof_copy) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        query.addBindValue(authorization.draftId);
        query.addBindValue(text(authorization.authorizationId));
        query.addBindValue(authorization.authorizedAt);
        query.addBindValue(authorization.authorizedBy);
        query.addBindValue(authorization.phone);
        query.addBindValue(text(authorization.given));
        query.addBindValue(text(authorization.sale));
        query.addBindValue(text(authorization.amount));
        query.addBindValue(text(authorization.payee));
        query.addBindValue(authorization.drafts);
        query.addBindValue(blobOrNull(authorization.proofName));
        query.addBindValue(blobOrNull(authorization.proofSha256));
        query.addBindValue(authorization.proofCopy.isEmpty() ? QVariant(QMetaType::fromType<QString>())
                                                             : QVariant(authorization.proofCopy));
        exec(query);
    });
}

std::optional<StoredAuthorization> SqlRegisterStore::firstAuthorization(QSqlQuery& query) const
{
    exec(query);
    if (!query.next()) {
        if (query.lastError().isValid())
            fail(query.lastError());
        return std::nullopt;
    }
    const QSqlRecord row = query.record();
    StoredAuthorization found;
    found.draftId = row.value(QStringLiteral("draft_id")).toLongLong();
    found.draftUid = row.value(QStringLiteral("draft_uid")).toString();
    found.authorizationId = row.value(QStringLiteral("authorization_id")).toString();
    found.authorizedAt = row.value(QStringLiteral("authorized_at")).toLongLong();
    found.authorizedBy = row.value(QStringLiteral("authorized_by")).toByteArray();
    found.phone = row.value(QStringLiteral("phone")).toByteArray();
    found.given = row.value(QStringLiteral("given")).toString();
    found.sale = row.value(QStringLiteral("sale")).toString();
    found.amount = row.value(QStringLiteral("amount")).toString();
    found.payee = row.value(QStringLiteral("payee")).toString();
    found.drafts = row.value(QStringLiteral("drafts_authorized")).toInt();
    found.proofName = row.value(QStringLiteral("proof_name")).toByteArray();
    found.proofSha256 = row.value(QStringLiteral("proof_sha256")).toByteArray();
    found.proofCopy = row.value(QStringLiteral("proof_copy")).toString();
    return found;
}

std::optional<StoredAuthorization> SqlRegisterStore::authorization(qint64 draftId)
{
    return latestAuthorizationWhere(QStringLiteral("a.draft_id = ?"), draftId);
}

std::optional<StoredAuthorization> SqlRegisterStore::latestAuthorizationForCheque(const QByteArray& chequeKey)
{
    return latestAuthorizationWhere(QStringLiteral("d.cheque_key = ?"), chequeKey);
}

std::optional<StoredAuthorization> SqlRegisterStore::latestAuthorizationForAccount(const QByteArray& accountKey)
{
    return latestAuthorizationWhere(QStringLiteral("d.account_key = ?"), accountKey);
}

std::optional<StoredAuthorization> SqlRegisterStore::latestAuthorizationWhere(const QString& condition,
                                                                              const QVariant& value)
{
    QSqlQuery query = prepare(QStringLiteral("SELECT %1 FROM draft_authorizations a JOIN drafts d ON d.id = a.draft_id "
                                             "WHERE %2 ORDER BY a.draft_id DESC LIMIT 1")
                                  .arg(AuthorizationColumns, condition));
    query.addBindValue(value);
    return firstAuthorization(query);
}

std::vector<StoredDraft> SqlRegisterStore::draftsWithAuthorization(const QString& authorizationId)
{
    QSqlQuery query = prepare(QStringLiteral("SELECT %1 FROM drafts d JOIN draft_authorizations a ON a.draft_id = d.id "
                                             "WHERE a.authorization_id = ? ORDER BY d.id DESC")
                                  .arg(RowColumns));
    query.addBindValue(text(authorizationId));
    return rows(query);
}

std::vector<StoredDraft> SqlRegisterStore::draftsIdleSince(qint64 lastEventAt)
{
    QSqlQuery query = prepare(QStringLiteral("SELECT %1, %2 AS last_event_at FROM drafts d WHERE %2 <= ? "
                                             "ORDER BY d.id DESC")
                                  .arg(RowColumns, LastEventColumn));
    query.addBindValue(lastEventAt);
    return rows(query);
}

std::vector<QString> SqlRegisterStore::removeDrafts(const std::vector<qint64>& ids)
{
    QSet<QString> copies;
    std::vector<QString> unused;
    inTransaction([&] {
        for (const qint64 id : ids) {
            QSqlQuery copy = prepare(QStringLiteral(
                "SELECT proof_copy FROM draft_authorizations WHERE draft_id = ? AND proof_copy IS NOT NULL"));
            copy.addBindValue(id);
            exec(copy);
            while (copy.next())
                copies.insert(copy.value(0).toString());
            copy.finish();
            for (const QString& table : {QStringLiteral("draft_events"), QStringLiteral("draft_authorizations")}) {
                QSqlQuery remove = prepare(QStringLiteral("DELETE FROM %1 WHERE draft_id = ?").arg(table));
                remove.addBindValue(id);
                exec(remove);
            }
            QSqlQuery remove = prepare(QStringLiteral("DELETE FROM drafts WHERE id = ?"));
            remove.addBindValue(id);
            exec(remove);
        }
        for (const QString& name : std::as_const(copies)) {
            QSqlQuery used = prepare(QStringLiteral("SELECT COUNT(*) FROM draft_authorizations WHERE proof_copy = ?"));
            used.addBindValue(name);
            exec(used);
            if (used.next() && used.value(0).toLongLong() == 0)
                unused.push_back(name);
        }
    });
    std::sort(unused.begin(), unused.end());
    return unused;
}

std::vector<StoredDraft> SqlRegisterStore::draftsWithClearPaths()
{
    QSqlQuery query = prepare(QStringLiteral("SELECT d.* FROM drafts d WHERE d.source_file <> '' "
                                             "OR (d.destination_kind = ? AND d.destination <> '') ORDER BY d.id"));
    query.addBindValue(text(RegisterCodes::destination(SentDraft::Kind::PdfFile)));
    return rows(query);
}

std::vector<StoredEvent> SqlRegisterStore::eventsWithClearText()
{
    QSqlQuery query = prepare(QStringLiteral("SELECT * FROM draft_events WHERE detail <> '' ORDER BY id"));
    exec(query);
    std::vector<StoredEvent> found;
    while (query.next())
        found.push_back(eventFrom(query.record()));
    return found;
}

void SqlRegisterStore::sealPaths(const StoredDraft& draft)
{
    inTransaction([&] {
        QSqlQuery query = prepare(QStringLiteral("UPDATE drafts SET source_file = ?, sealed_source_file = ?, "
                                                 "destination = ?, sealed_destination = ? WHERE id = ?"));
        query.addBindValue(text(draft.sourceFile));
        query.addBindValue(blobOrNull(draft.sealedSourceFile));
        query.addBindValue(text(draft.destination));
        query.addBindValue(blobOrNull(draft.sealedDestination));
        query.addBindValue(draft.id);
        exec(query);
    });
}

void SqlRegisterStore::sealText(const StoredEvent& event)
{
    inTransaction([&] {
        QSqlQuery query = prepare(QStringLiteral("UPDATE draft_events SET detail = ?, sealed_detail = ? WHERE id = ?"));
        query.addBindValue(text(event.text));
        query.addBindValue(blobOrNull(event.sealedText));
        query.addBindValue(event.id);
        exec(query);
    });
}

bool SqlRegisterStore::keepsProofCopies() const
{
    return m_dialect->isShared();
}

void SqlRegisterStore::addProofCopy(const QString& name, const QByteArray& sealed)
{
    inTransaction([&] {
        QSqlQuery query = prepare(QStringLiteral("INSERT INTO proof_copies (name, sealed) VALUES (?, ?)"));
        query.addBindValue(text(name));
        query.addBindValue(sealed);
        exec(query);
    });
}

std::optional<QByteArray> SqlRegisterStore::proofCopy(const QString& name)
{
    QSqlQuery query = prepare(QStringLiteral("SELECT sealed FROM proof_copies WHERE name = ?"));
    query.addBindValue(text(name));
    exec(query);
    if (!query.next()) {
        if (query.lastError().isValid())
            fail(query.lastError());
        return std::nullopt;
    }
    return query.value(0).toByteArray();
}

void SqlRegisterStore::removeProofCopy(const QString& name)
{
    inTransaction([&] {
        QSqlQuery query = prepare(QStringLiteral("DELETE FROM proof_copies WHERE name = ?"));
        query.addBindValue(text(name));
        exec(query);
    });
}
