#include "register/PostgresDialect.h"

#include "register/RegisterError.h"
#include "register/ServerPasswordRefused.h"

#include <QFileInfo>
#include <QSqlError>

namespace {

const QString Driver = QStringLiteral("QPSQL");

// The pair of keys (in the two-number space, apart from the accounts'
// single numbers) that a seat holds while it brings the schema forward.
const QString SchemaKeys = QStringLiteral("20261209, 6");

// Where Debian keeps the certificate authorities the system trusts. libpq of
// Debian 12 knows no "system" for them.
const QString SystemAuthorities = QStringLiteral("/etc/ssl/certs/ca-certificates.crt");

// A value in libpq's connection string, quoted.
QString quoted(QString value)
{
    value.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    value.replace(QLatin1String("'"), QLatin1String("\\'"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

QString messageOf(const QSqlError& error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.simplified();
}

bool says(const QString& text, std::initializer_list<const char*> phrases)
{
    for (const char* phrase : phrases) {
        if (text.contains(QLatin1String(phrase), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

PostgresDialect::PostgresDialect(RegisterLocation location, QString password)
    : m_location(std::move(location)), m_password(std::move(password))
{}

QString PostgresDialect::server() const
{
    return m_location.isLocal() ? QStringLiteral("on this computer") : m_location.host;
}

QString PostgresDialect::location() const
{
    return QStringLiteral("the database %1 on the office server %2").arg(m_location.database, server());
}

QString PostgresDialect::connectOptions() const
{
    // A seat that hangs in the middle of a write holds the others up only so
    // long; set for the connection, so that one made again has it too.
    QStringList options = {QStringLiteral("connect_timeout=%1").arg(ConnectTimeoutSeconds),
                           QStringLiteral("options='-c lock_timeout=%1s'").arg(LockTimeoutSeconds)};
    if (!m_location.isLocal()) {
        options.append(QStringLiteral("sslmode=verify-full"));
        // Without a file of its own, libpq's PGSSLROOTCERT or the system's authorities.
        if (!m_location.caFile.isEmpty())
            options.append(QStringLiteral("sslrootcert=") + quoted(m_location.caFile));
        else if (qEnvironmentVariableIsEmpty("PGSSLROOTCERT"))
            options.append(QStringLiteral("sslrootcert=") + quoted(SystemAuthorities));
    }
    return options.join(QLatin1Char(';'));
}

QSqlDatabase PostgresDialect::connect(const QString& name)
{
    QSqlDatabase database = QSqlDatabase::addDatabase(Driver, name);
    if (!database.isValid())
        throw RegisterError(QStringLiteral("the PostgreSQL driver of Qt (libqt6sql6-psql) is not installed"));
    if (!m_location.host.isEmpty())
        database.setHostName(m_location.host);
    database.setPort(m_location.port);
    database.setDatabaseName(m_location.database);
    if (!m_location.user.isEmpty())
        database.setUserName(m_location.user);
    if (!m_password.isEmpty())
        database.setPassword(m_password);
    database.setConnectOptions(connectOptions());
    if (!database.open()) {
        const QSqlError error = database.lastError();
        // The session asks the merchant for the password, then tries again.
        if (isPasswordRefused(error))
            throw ServerPasswordRefused(openingReason(error));
        throw RegisterError(openingReason(error));
    }
    return database;
}

QString PostgresDialect::tableQuery() const
{
    return QStringLiteral("SELECT table_name FROM information_schema.tables "
                          "WHERE table_schema = current_schema() AND table_name = ?");
}

QString PostgresDialect::versionBeforeSchemaTable() const
{
    return QStringLiteral("SELECT CASE WHEN to_regclass('draft_authorizations') IS NOT NULL THEN 2 "
                          "WHEN to_regclass('drafts') IS NOT NULL THEN 1 ELSE 0 END");
}

QStringList PostgresDialect::versionWritten(int version) const
{
    Q_UNUSED(version);
    return {};
}

QString PostgresDialect::schemaLock() const
{
    return QStringLiteral("SELECT pg_advisory_lock(%1)").arg(SchemaKeys);
}

QString PostgresDialect::schemaUnlock() const
{
    return QStringLiteral("SELECT pg_advisory_unlock(%1)").arg(SchemaKeys);
}

QString PostgresDialect::accountLock() const
{
    return QStringLiteral("SELECT pg_advisory_xact_lock(CAST(? AS BIGINT))");
}

bool PostgresDialect::isConnectionLost(const QSqlError& error) const
{
    const QString state = error.nativeErrorCode();
    return state.startsWith(QLatin1String("08")) || state == QLatin1String("57P01") ||
           state == QLatin1String("57P02") || state == QLatin1String("57P03") ||
           says(messageOf(error),
                {"server closed the connection", "no connection to the server", "terminating connection",
                 "connection to server was lost", "could not send data to server", "could not receive data from server",
                 "SSL SYSCALL error", "connection pointer is NULL"});
}

bool PostgresDialect::isPasswordRefused(const QSqlError& error) const
{
    return error.nativeErrorCode() == QLatin1String("28P01") ||
           says(messageOf(error), {"password authentication failed", "no password supplied"});
}

QString PostgresDialect::reason(const QSqlError& error) const
{
    const QString state = error.nativeErrorCode();
    const QString text = messageOf(error);
    const QString& host = server();
    if (isPasswordRefused(error))
        return QStringLiteral("the office server %1 refused the password of %2").arg(host, m_location.user);
    if (says(text, {"certificate verify failed", "server certificate for", "root certificate file",
                    "does not match host name", "certificate present, but not private key"}))
        return QStringLiteral("the certificate of the office server %1 could not be verified").arg(host);
    if (state == QLatin1String("53100") || says(text, {"No space left on device", "could not extend file"}))
        return QStringLiteral("the disk of the office server %1 is full").arg(host);
    if (says(text, {"the database system is starting up", "the database system is in recovery mode"}))
        return QStringLiteral("the office server %1 is starting up").arg(host);
    // A server on its way down turns new connections away: it does not answer.
    if (says(text, {"the database system is shutting down"}))
        return QStringLiteral("the office server %1 does not answer").arg(host);
    if (isConnectionLost(error))
        return QStringLiteral("the connection to the office server %1 was cut").arg(host);
    if (says(text,
             {"Connection refused", "No such file or directory", "could not translate host name", "timeout expired",
              "Is the server running", "could not connect to server", "Network is unreachable", "No route to host"}))
        return QStringLiteral("the office server %1 does not answer").arg(host);
    if (state == QLatin1String("3D000") || (says(text, {"database \""}) && says(text, {"does not exist"})))
        return QStringLiteral("the office server %1 has no database %2").arg(host, m_location.database);
    if (state == QLatin1String("55P03") || says(text, {"lock timeout"}))
        return QStringLiteral(
                   "another seat has kept the register on the office server %1 busy for more than %2 seconds")
            .arg(host)
            .arg(LockTimeoutSeconds);
    if (state == QLatin1String("42501") || state == QLatin1String("28000"))
        return QStringLiteral("the office server %1 does not let %2 use the register").arg(host, m_location.user);
    return QStringLiteral("the office server %1 reports \"%2\"").arg(host, text);
}

QString PostgresDialect::openingReason(const QSqlError& error) const
{
    // A server going down closes a new connection as it does a working one:
    // as it is being made, that is a server that does not answer.
    if (isConnectionLost(error))
        return QStringLiteral("the office server %1 does not answer").arg(server());
    return reason(error);
}

bool PostgresDialect::isDamage(const QSqlError& error) const
{
    // The server looks after its own files; a failed check of them is its
    // administrator's, and no seat stops writing over it.
    Q_UNUSED(error);
    return false;
}

QString PostgresDialect::damaged() const
{
    return QStringLiteral("the register on the office server %1 is damaged").arg(server());
}

void PostgresDialect::leaveAsItIs(QSqlDatabase& database) const
{
    Q_UNUSED(database);
}

QString PostgresDialect::laterVersion() const
{
    return QStringLiteral("the register on the office server %1 was written by a later version of Quillo")
        .arg(server());
}
