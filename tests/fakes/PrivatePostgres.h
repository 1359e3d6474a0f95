#pragma once

#include "register/RegisterLocation.h"

#include <QString>
#include <QStringList>

class QSqlDatabase;

// A PostgreSQL cluster of the test's own, from Debian's packages: made with
// initdb in a folder of /tmp, listening only on a Unix socket in that folder
// (no TCP port), every local connection trusted. The server refuses to run
// as root, so as root it runs as the postgres user. Stopped at once when the
// object goes, whatever the test did.
class PrivatePostgres {
public:
    // The one role that must give a password, and its password.
    static inline const QString PasswordUser = QStringLiteral("password_seat");
    static constexpr const char* Password = "correct horse";

    // Whether the server flushes its writes to disk: a test never needs it,
    // a benchmark of commits does.
    enum class Writes { Unflushed, Flushed };

    explicit PrivatePostgres(Writes writes = Writes::Unflushed);
    ~PrivatePostgres();
    PrivatePostgres(const PrivatePostgres&) = delete;
    PrivatePostgres& operator=(const PrivatePostgres&) = delete;

    // Makes and starts the cluster; false, with error() saying why, when it cannot.
    bool start();
    // Starts it again after stop().
    bool restart();
    // Stops the server at once, as a power cut would (pg_ctl stop -m immediate).
    void stop();
    const QString& error() const { return m_error; }
    bool isRunning() const { return m_running; }

    // The folder that holds the socket, and the role every seat connects as.
    const QString& socketFolder() const { return m_folder; }
    const QString& user() const { return m_user; }
    // The register in `database` on this server, as a seat reaches it.
    RegisterLocation location(const QString& database) const;

    // From the next start on, also listens at the loopback `addresses`
    // ("127.0.0.2") over TLS alone, on a free port, with the certificate
    // and its key (files the server's user can read), every TLS connection
    // there trusted. Call before start(); the socket then has that port too.
    void serveTls(const QStringList& addresses, const QString& certificate, const QString& key);
    int port() const { return m_port; }

    // Makes an empty database; false when it cannot.
    bool createDatabase(const QString& name);
    // Runs `sql` in `database` as the superuser; the rows' first columns as
    // text, or "error: <text>" when it fails.
    QStringList query(const QString& database, const QString& sql);

private:
    bool run(const QString& program, const QStringList& arguments);

    QString m_folder;
    QString m_user;
    int m_port = 5432;
    // The server's options for TLS, and its rules for connections over the network; none without.
    QString m_tlsOptions;
    QString m_tlsRule;
    QString m_error;
    Writes m_writes;
    bool m_running = false;
};
