#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class QSqlError;

// What differs between the database engines a register can be kept in: how
// a connection is made and checked, the types and statements that are not
// plain SQL, and what an engine's error means for the merchant.
class SqlDialect {
public:
    virtual ~SqlDialect() = default;

    // Where the register is, for the merchant: a file, a server.
    virtual QString location() const = 0;
    // Opens the connection `name` for reading and writing, after whatever
    // must be checked first; a RegisterError says why it cannot.
    virtual QSqlDatabase connect(const QString& name) = 0;

    // The column types of bytes and of an id the database gives.
    virtual QString binaryType() const = 0;
    virtual QString generatedId() const = 0;
    // The statement that opens a transaction as a write from its first
    // statement on, so that another program's write waits for it.
    virtual QString beginWrite() const = 0;
    // A query with one placeholder, the table's name, that finds a row when
    // the table is there.
    virtual QString tableQuery() const = 0;
    // The version a register kept before it had a table of its schema.
    virtual QString versionBeforeSchemaTable() const = 0;
    // What else keeps the version, for programs that read it only there.
    virtual QStringList versionWritten(int version) const = 0;

    // The reason for the merchant why the register could not be used.
    virtual QString reason(const QSqlError& error) const = 0;
    // The reason why a connection could not be made.
    virtual QString openingReason(const QSqlError& error) const { return reason(error); }
    // Whether `error` says the register is damaged, or no register at all.
    virtual bool isDamage(const QSqlError& error) const = 0;
    // The reason for a register found damaged.
    virtual QString damaged() const = 0;
    // Once the register is found damaged: the connection writes nothing more
    // to it, not even as it closes.
    virtual void leaveAsItIs(QSqlDatabase& database) const = 0;
    // The reason for a register written by a later version of Quillo.
    virtual QString laterVersion() const = 0;

    // What an engine that several seats reach at once needs; an engine of
    // one file needs none of it, since its write transaction holds the whole
    // file.

    // Appended to an INSERT so that it gives back the id the database chose;
    // empty where the driver tells it (QSqlQuery::lastInsertId).
    virtual QString returningId() const { return {}; }
    // The statements that hold and release the right to bring the schema
    // forward, so that two seats never migrate at once; empty for none.
    virtual QString schemaLock() const { return {}; }
    virtual QString schemaUnlock() const { return {}; }
    // A statement with one placeholder, a 64-bit number taken from an
    // account's blind index, that makes every other write about that account
    // wait until this transaction ends; empty for none.
    virtual QString accountLock() const { return {}; }
    // Whether `error` says the connection itself is gone (the server stopped,
    // the connection was cut), so that it is made again before the next use.
    // The channel on which seats tell each other what they wrote, and the
    // statement (one placeholder, what was written) that tells it as the
    // transaction commits; empty where no other seat listens.
    virtual QString notificationChannel() const { return {}; }
    // Whether several seats share the register (and no folder).
    virtual bool isShared() const { return false; }
    virtual QString announcement() const { return {}; }
    virtual bool isConnectionLost(const QSqlError& error) const
    {
        Q_UNUSED(error);
        return false;
    }
};
