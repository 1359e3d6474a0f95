#include "fakes/PrivatePostgres.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <arpa/inet.h>
#include <exception>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

const QString Bin = QStringLiteral("/usr/lib/postgresql/15/bin/");

// The clusters running now: a test that ends in std::terminate (an exception
// no one caught) stops them on its way out, as their destructors would.
std::vector<PrivatePostgres*> running;
std::terminate_handler previousHandler = nullptr;

[[noreturn]] void stopThenTerminate()
{
    for (PrivatePostgres* cluster : std::exchange(running, {})) {
        cluster->stop();
        QDir(cluster->socketFolder()).removeRecursively();
    }
    if (previousHandler)
        previousHandler();
    std::abort();
}

QString loginName()
{
    const passwd* entry = ::getpwuid(::geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QStringLiteral("postgres");
}

// A TCP port free at `address` now, found by binding to port 0; 0 when none.
int freePort(const QString& address)
{
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    socklen_t length = sizeof at;
    const bool found = probe >= 0 && ::inet_pton(AF_INET, address.toLatin1().constData(), &at.sin_addr) == 1 &&
                       ::bind(probe, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0 &&
                       ::getsockname(probe, reinterpret_cast<sockaddr*>(&at), &length) == 0;
    if (probe >= 0)
        ::close(probe);
    return found ? ntohs(at.sin_port) : 0;
}

} // namespace

PrivatePostgres::PrivatePostgres(Writes writes)
    : m_user(::geteuid() == 0 ? QStringLiteral("postgres") : loginName()), m_writes(writes)
{}

PrivatePostgres::~PrivatePostgres()
{
    stop();
    if (!m_folder.isEmpty())
        QDir(m_folder).removeRecursively();
}

bool PrivatePostgres::run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    // As root, the postgres user runs the server's programs.
    if (::geteuid() == 0)
        process.start(QStringLiteral("runuser"), QStringList{"-u", "postgres", "--", Bin + program} + arguments);
    else
        process.start(Bin + program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        m_error = QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(process.readAll()));
        return false;
    }
    return true;
}

bool PrivatePostgres::start()
{
    // In /tmp, not in the test's private home, which the postgres user cannot enter.
    QByteArray folder = QByteArrayLiteral("/tmp/quillo-pg-XXXXXX");
    if (!::mkdtemp(folder.data())) {
        m_error = QStringLiteral("no folder for the cluster");
        return false;
    }
    m_folder = QString::fromLocal8Bit(folder);
    if (::geteuid() == 0) {
        const passwd* postgres = ::getpwnam("postgres");
        if (!postgres || ::chown(folder.constData(), postgres->pw_uid, postgres->pw_gid) != 0) {
            m_error = QStringLiteral("the postgres user cannot own %1").arg(m_folder);
            return false;
        }
    }
    if (!run(QStringLiteral("initdb"), {"-D", m_folder + "/data", "--auth=trust", "-U", m_user, "-E", "UTF8",
                                        "--locale=C", "--no-sync", "--no-instructions"}))
        return false;
    // One role must give its password, as a seat on the office network does.
    QFile rules(m_folder + QStringLiteral("/data/pg_hba.conf"));
    if (!rules.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        rules.write(QStringLiteral("local all %1 scram-sha-256\nlocal all all trust\n%2")
                        .arg(PasswordUser, m_tlsRule)
                        .toUtf8()) < 0) {
        m_error = QStringLiteral("pg_hba.conf cannot be written");
        return false;
    }
    rules.close();
    if (!restart())
        return false;
    const QStringList made =
        query(QStringLiteral("postgres"), QStringLiteral("CREATE ROLE %1 LOGIN SUPERUSER PASSWORD '%2'")
                                              .arg(PasswordUser, QString::fromLatin1(Password)));
    if (!made.isEmpty()) {
        m_error = made.join(QLatin1Char(' '));
        return false;
    }
    return true;
}

bool PrivatePostgres::restart()
{
    // Only the socket in the folder, no TCP port unless TLS is served.
    QString options = QStringLiteral("-k %1 -p %2 ").arg(m_folder).arg(m_port) +
                      (m_tlsOptions.isEmpty() ? QStringLiteral("-c listen_addresses=''") : m_tlsOptions);
    if (m_writes == Writes::Unflushed)
        options += QStringLiteral(" -c fsync=off -c full_page_writes=off");
    if (!run(QStringLiteral("pg_ctl"),
             {"-D", m_folder + "/data", "-l", m_folder + "/log", "-w", "-t", "60", "-o", options, "start"}))
        return false;
    m_running = true;
    running.push_back(this);
    if (!previousHandler)
        previousHandler = std::set_terminate(&stopThenTerminate);
    return true;
}

void PrivatePostgres::stop()
{
    if (!m_running)
        return;
    m_running = false;
    running.erase(std::remove(running.begin(), running.end(), this), running.end());
    run(QStringLiteral("pg_ctl"), {"-D", m_folder + "/data", "-m", "immediate", "-w", "stop"});
}

RegisterLocation PrivatePostgres::location(const QString& database) const
{
    RegisterLocation location = RegisterLocation::server(m_folder, database, m_user);
    location.port = m_port;
    return location;
}

void PrivatePostgres::serveTls(const QStringList& addresses, const QString& certificate, const QString& key)
{
    m_port = freePort(addresses.first());
    m_tlsOptions = QStringLiteral("-c listen_addresses='%1' -c ssl=on -c ssl_cert_file='%2' -c ssl_key_file='%3'")
                       .arg(addresses.join(QLatin1Char(',')), certificate, key);
    // A connection to any loopback address comes from 127.0.0.1.
    m_tlsRule = QStringLiteral("hostssl all all 127.0.0.0/8 trust\nhostnossl all all 127.0.0.0/8 reject\n");
}

bool PrivatePostgres::createDatabase(const QString& name)
{
    const QStringList answer = query(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE \"%1\"").arg(name));
    if (!answer.isEmpty()) {
        m_error = answer.join(QLatin1Char(' '));
        return false;
    }
    return true;
}

QStringList PrivatePostgres::query(const QString& database, const QString& sql)
{
    static QAtomicInteger<quint64> counter;
    const QString name = QStringLiteral("private-postgres-%1").arg(++counter);
    QStringList rows;
    {
        QSqlDatabase connection = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        connection.setHostName(m_folder);
        connection.setPort(m_port);
        connection.setDatabaseName(database);
        connection.setUserName(m_user);
        if (!connection.open()) {
            rows.append(QStringLiteral("error: ") + connection.lastError().text());
        } else {
            QSqlQuery query(connection);
            if (!query.exec(sql))
                rows.append(QStringLiteral("error: ") + query.lastError().text());
            while (query.next())
                rows.append(query.value(0).toString());
        }
        connection.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}
