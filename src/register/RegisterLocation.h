#pragma once

#include <QString>

// Where the draft register is kept: a file on this computer, or a database
// on the office's PostgreSQL server that every seat shares. The settings
// file keeps it in its [Register] section.
struct RegisterLocation {
    enum class Kind {
        File,  // the SQLite file, the default
        Server // the office server
    };

    Kind kind = Kind::File;
    QString path; // a File's register file

    // A Server's connection. `host` is a host name, or the folder that holds
    // the server's Unix socket; the password is never kept here.
    QString host;
    int port = 5432;
    QString database;
    QString user;
    QString caFile; // the certificate authorities to verify the server by; empty for the system's

    static RegisterLocation file(const QString& path)
    {
        RegisterLocation location;
        location.path = path;
        return location;
    }

    static RegisterLocation server(const QString& host, const QString& database, const QString& user)
    {
        RegisterLocation location;
        location.kind = Kind::Server;
        location.host = host;
        location.database = database;
        location.user = user;
        return location;
    }

    bool isServer() const { return kind == Kind::Server; }

    // Whether the server is reached without leaving this computer (a Unix
    // socket or the loopback), so that it may be reached without TLS.
    bool isLocal() const
    {
        return host.isEmpty() || host.startsWith(QLatin1Char('/')) || host == QLatin1String("localhost") ||
               host == QLatin1String("127.0.0.1") || host == QLatin1String("::1");
    }

    bool operator==(const RegisterLocation&) const = default;
};
