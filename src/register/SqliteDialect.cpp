#include "register/SqliteDialect.h"

#include "platform/PrivateFiles.h"

#include "register/PostgresDialect.h"
#include "register/RegisterError.h"
#include "register/RegisterLocation.h"
#include "register/RegisterSchema.h"
#include "register/SqlRegisterStore.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStorageInfo>
#include <sqlite3.h>

namespace {

// SQLite's primary result codes (sqlite3.h), as the Qt driver reports them.
enum SqliteCode {
    Busy = 5,
    Locked = 6,
    ReadOnly = 8,
    IoError = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    NotADatabase = 26,
};

const QString Driver = QStringLiteral("QSQLITE");

QString connectOptions(bool readOnly)
{
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(SqliteDialect::BusyTimeoutSeconds * 1000);
    if (readOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    return options;
}

int primaryCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
}

QString folderOf(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

// What the file system says about a file that SQLite could not write.
QString writeProblem(const QString& path)
{
    const QFileInfo file(path);
    if (file.exists() && !file.isWritable())
        return QStringLiteral("the file %1 is read-only").arg(QDir::toNativeSeparators(path));
    if (!QFileInfo(file.absolutePath()).isWritable())
        return QStringLiteral("the folder %1 is read-only").arg(folderOf(path));
    const QStorageInfo disk(file.absolutePath());
    if (disk.isValid() && disk.isReadOnly())
        return QStringLiteral("the folder %1 is read-only").arg(folderOf(path));
    return {};
}

// Readable by the merchant alone, an older register's files included. The
// file is made here, before SQLite would make it with the umask's mode, and
// its log and index files take their mode from it. A refusal is left to the
// opening to report.
void keepPrivate(const QString& folder, const QString& path)
{
    PrivateFiles::tighten(folder);
    PrivateFiles::createFile(path);
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        PrivateFiles::tighten(path + QLatin1String(suffix));
}

} // namespace

SqliteDialect::SqliteDialect(const QString& path, RegisterStore::Check check)
    : m_path(QFileInfo(path).absoluteFilePath()), m_check(check)
{}

QSqlDatabase SqliteDialect::connect(const QString& name)
{
    const QFileInfo file(m_path);
    const QString folder = file.absolutePath();
    if (!PrivateFiles::makeFolder(folder))
        throw RegisterError(QStringLiteral("the folder %1 cannot be created").arg(QDir::toNativeSeparators(folder)));
    if (file.exists()) {
        if (!file.isFile())
            throw RegisterError(QStringLiteral("%1 is not a file").arg(QDir::toNativeSeparators(m_path)));
        if (m_check == RegisterStore::Check::Full)
            inspectExisting();
        if (!file.isWritable())
            throw RegisterError(QStringLiteral("the file %1 is read-only").arg(QDir::toNativeSeparators(m_path)));
    }
    // Its journal and index files go beside it.
    if (!QFileInfo(folder).isWritable())
        throw RegisterError(QStringLiteral("the folder %1 is read-only").arg(QDir::toNativeSeparators(folder)));
    keepPrivate(folder, m_path);

    QSqlDatabase database = QSqlDatabase::addDatabase(Driver, name);
    if (!database.isValid())
        throw RegisterError(QStringLiteral("the SQLite driver of Qt (libqt6sql6-sqlite) is not installed"));
    database.setDatabaseName(m_path);
    database.setConnectOptions(connectOptions(false));
    if (!database.open())
        throw RegisterError(reason(database.lastError()));
    QSqlQuery query(database);
    const auto run = [&](const QString& sql) {
        if (!query.exec(sql))
            throw RegisterError(reason(query.lastError()));
    };
    run(QStringLiteral("PRAGMA busy_timeout = %1").arg(BusyTimeoutSeconds * 1000));
    run(QStringLiteral("PRAGMA journal_mode = WAL"));
    if (!query.next() || query.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        throw RegisterError(
            QStringLiteral("the file %1 cannot keep a write-ahead log").arg(QDir::toNativeSeparators(m_path)));
    query.finish();
    run(QStringLiteral("PRAGMA synchronous = FULL"));
    run(QStringLiteral("PRAGMA foreign_keys = ON"));
    // Sorts and temporary tables stay in memory, never in a file of their own.
    run(QStringLiteral("PRAGMA temp_store = MEMORY"));
    // What the merchant removes is overwritten in the file, not left in free pages.
    run(QStringLiteral("PRAGMA secure_delete = ON"));
    return database;
}

void SqliteDialect::inspectExisting() const
{
    static QAtomicInteger<quint64> counter;
    const QString inspection = QStringLiteral("quillo-register-inspection-%1").arg(++counter);
    QString failure;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(Driver, inspection);
        database.setDatabaseName(m_path);
        database.setConnectOptions(connectOptions(true));
        if (!database.open()) {
            failure = reason(database.lastError());
        } else {
            QSqlQuery query(database);
            query.prepare(tableQuery());
            query.addBindValue(RegisterSchema::VersionTable);
            const bool hasTable = query.exec() && query.next();
            query.finish();
            const QString version = hasTable
                                        ? QStringLiteral("SELECT version FROM %1").arg(RegisterSchema::VersionTable)
                                        : versionBeforeSchemaTable();
            if (!query.exec(version) || !query.next()) {
                failure = reason(query.lastError());
            } else if (query.value(0).toInt() > RegisterSchema::currentVersion()) {
                failure = laterVersion();
            } else if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next()) {
                failure = reason(query.lastError());
            } else if (query.value(0).toString() != QLatin1String("ok")) {
                failure = damaged(m_path);
            }
            query.finish();
        }
        database.close();
    }
    QSqlDatabase::removeDatabase(inspection);
    if (!failure.isEmpty())
        throw RegisterError(failure);
}

QString SqliteDialect::tableQuery() const
{
    return QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?");
}

void SqliteDialect::leaveAsItIs(QSqlDatabase& database) const
{
    // The last connection to close would copy the log into the file.
    const QVariant handle = database.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
        if (sqlite3* connection = *static_cast<sqlite3* const*>(handle.constData()))
            sqlite3_db_config(connection, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    }
    QSqlQuery(database).exec(QStringLiteral("PRAGMA query_only = 1"));
}

QStringList SqliteDialect::versionWritten(int version) const
{
    // Programs of before the schema table read the version only here, and
    // leave a register of a later version alone.
    return {QStringLiteral("PRAGMA user_version = %1").arg(version)};
}

QString SqliteDialect::reason(const QSqlError& error) const
{
    const QString& path = m_path;
    const QString file = QDir::toNativeSeparators(path);
    switch (primaryCode(error)) {
    case Busy:
    case Locked:
        return QStringLiteral("another program has kept %1 locked for more than %2 seconds")
            .arg(file)
            .arg(BusyTimeoutSeconds);
    case Full:
        return QStringLiteral("the disk that holds %1 is full").arg(file);
    case Corrupt:
    case NotADatabase:
        return damaged(path);
    case ReadOnly:
    case CantOpen:
    case IoError: {
        const QString problem = writeProblem(path);
        if (!problem.isEmpty())
            return problem;
        const QStorageInfo disk(QFileInfo(path).absolutePath());
        // A full disk can show as a failed write rather than as "full".
        if (disk.isValid() && disk.bytesAvailable() < 64 * 1024)
            return QStringLiteral("the disk that holds %1 is full").arg(file);
        if (primaryCode(error) == CantOpen)
            return QStringLiteral("the file %1 cannot be opened").arg(file);
        return QStringLiteral("the disk that holds %1 failed to read or write it").arg(file);
    }
    default:
        break;
    }
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return QStringLiteral("SQLite reports \"%1\" for %2").arg(text, file);
}

bool SqliteDialect::isDamage(const QSqlError& error) const
{
    const int code = primaryCode(error);
    return code == Corrupt || code == NotADatabase;
}

QString SqliteDialect::laterVersion() const
{
    return QStringLiteral("the file %1 was written by a later version of Quillo").arg(QDir::toNativeSeparators(m_path));
}

QString SqliteDialect::damaged(const QString& path)
{
    return QStringLiteral("the file %1 is damaged; Quillo leaves it as it is").arg(QDir::toNativeSeparators(path));
}

std::unique_ptr<RegisterStore> RegisterStore::open(const QString& location, Check check)
{
    return std::make_unique<SqlRegisterStore>(std::make_unique<SqliteDialect>(location, check));
}

std::unique_ptr<RegisterStore> RegisterStore::open(const RegisterLocation& location, const QString& password,
                                                   Check check)
{
    if (location.isServer())
        return std::make_unique<SqlRegisterStore>(std::make_unique<PostgresDialect>(location, password));
    return open(location.path, check);
}
