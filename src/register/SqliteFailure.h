#pragma once

#include <QString>

class QSqlError;

// The reason, for the merchant, why the register file at `path` could not be
// opened, read or written, from what SQLite answered and what the file system
// says about the file and its folder.
namespace SqliteFailure {

// How long a register waits for another program's lock before it gives up.
inline constexpr int BusyTimeoutSeconds = 5;

QString reason(const QSqlError& error, const QString& path);

// Whether `error` says that the file is damaged or is no register at all.
bool isDamage(const QSqlError& error);

// The reason for a damaged file; Quillo leaves such a file as it is.
QString damaged(const QString& path);

} // namespace SqliteFailure
