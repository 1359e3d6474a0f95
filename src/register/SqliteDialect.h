#pragma once

#include "register/RegisterStore.h"
#include "register/SqlDialect.h"

// A register in an SQLite file: write-ahead log, every commit flushed to
// disk, a busy timeout so that two running programs share the file, and the
// file's pages checked on a read-only connection before it is written. A
// file that is damaged, or of a later version, is left exactly as it is.
class SqliteDialect : public SqlDialect {
public:
    // How long a register waits for another program's lock before it gives up.
    static constexpr int BusyTimeoutSeconds = 5;

    explicit SqliteDialect(const QString& path, RegisterStore::Check check = RegisterStore::Check::Full);

    QString location() const override { return m_path; }
    QSqlDatabase connect(const QString& name) override;
    QString binaryType() const override { return QStringLiteral("BLOB"); }
    QString generatedId() const override { return QStringLiteral("INTEGER NOT NULL PRIMARY KEY"); }
    QString beginWrite() const override { return QStringLiteral("BEGIN IMMEDIATE"); }
    QString tableQuery() const override;
    QString versionBeforeSchemaTable() const override { return QStringLiteral("PRAGMA user_version"); }
    QStringList versionWritten(int version) const override;
    QString reason(const QSqlError& error) const override;
    bool isDamage(const QSqlError& error) const override;
    QString damaged() const override { return damaged(m_path); }
    void leaveAsItIs(QSqlDatabase& database) const override;
    QString laterVersion() const override;

    // The reason for a damaged file; Quillo leaves such a file as it is.
    static QString damaged(const QString& path);

private:
    // Reads the version of an existing file and checks it page by page, on a
    // read-only connection that cannot change it.
    void inspectExisting() const;

    QString m_path;
    RegisterStore::Check m_check;
};
