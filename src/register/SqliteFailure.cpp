#include "register/SqliteFailure.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QStorageInfo>

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

} // namespace

QString SqliteFailure::reason(const QSqlError& error, const QString& path)
{
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

bool SqliteFailure::isDamage(const QSqlError& error)
{
    const int code = primaryCode(error);
    return code == Corrupt || code == NotADatabase;
}

QString SqliteFailure::damaged(const QString& path)
{
    return QStringLiteral("the file %1 is damaged; Quillo leaves it as it is").arg(QDir::toNativeSeparators(path));
}
