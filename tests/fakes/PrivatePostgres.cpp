#include "fakes/PrivatePostgres.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <exception>
#include <pwd.h>
#include <unistd.h>
#include <utility>

namespace {

const QString Bin = QStringLiteral("/usr/lib/postgresql/15/bin/");

// The cluster running now: a test that ends in std::terminate (an exception
// no one caught) stops it on its way out, as the destructor would.
PrivatePostgres* running = nullptr;
std::terminate_handler previousHandler = nullptr;

[[noreturn]] void stopThenTerminate()
{
    if (PrivatePostgres* cluster = std::exchange(running, nullptr)) {
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
        rules.write(QStringLiteral("local all %1 scram-sha-256\nlocal all all trust\n").arg(PasswordUser).toUtf8()) <
            0) {
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
    // Only the socket in the folder, no TCP port.
    QString options = QStringLiteral("-k %1 -c listen_addresses=''").arg(m_folder);
    if (m_writes == Writes::Unflushed)
        options += QStringLiteral(" -c fsync=off -c full_page_writes=off");
    if (!run(QStringLiteral("pg_ctl"),
             {"-D", m_folder + "/data", "-l", m_folder + "/log", "-w", "-t", "60", "-o", options, "start"}))
        return false;
    m_running = true;
    running = this;
    if (!previousHandler)
        previousHandler = std::set_terminate(&stopThenTerminate);
    return true;
}

void PrivatePostgres::stop()
{
    if (!m_running)
        return;
    m_running = false;
    if (running == this)
        running = nullptr;
    run(QStringLiteral("pg_ctl"), {"-D", m_folder + "/data", "-m", "immediate", "-w", "stop"});
}

RegisterLocation PrivatePostgres::location(const QString& database) const
{
    return RegisterLocation::server(m_folder, database, m_user);
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
