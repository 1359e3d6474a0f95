#include "fakes/FakeAuthorizationOffer.h"
#include "fakes/FakeKeyring.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/FakePassphrasePrompt.h"
#include "fakes/FakeQuestionBox.h"
#include "fakes/JournalOver.h"
#include "fakes/PrivatePostgres.h"
#include "fakes/RegisterSamples.h"
#include "print/PrintOutcome.h"
#include "register/DraftRegister.h"
#include "register/FolderProofShelf.h"
#include "register/OfficeKey.h"
#include "register/PostgresDialect.h"
#include "register/ProofCopies.h"
#include "register/RegisterCipher.h"
#include "register/RegisterCopy.h"
#include "register/RegisterCopyToServer.h"
#include "register/RegisterCsv.h"
#include "register/RegisterError.h"
#include "register/RegisterJournal.h"
#include "register/RegisterSession.h"
#include "register/RegisterStore.h"
#include "register/RegisterTexts.h"
#include "register/RegisterUnlock.h"
#include "register/SecretBytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include <ctime>
#include <pwd.h>
#include <unistd.h>

// The register that the seats of an office share on a PostgreSQL server: the
// same store as the file's, one check one draft across seats, another seat's
// drafts seen live, and faults told as they are. One private cluster serves
// the whole program; each test has a database of its own.

namespace {

using namespace RegisterSamples;

// Every seat of the office has the same key.
std::unique_ptr<RegisterCipher> officeKey()
{
    return std::make_unique<RegisterCipher>(SecretBytes::copyOf(QByteArray(RegisterCipher::KeyBytes, 7)));
}

std::unique_ptr<DraftRegister> seatAt(
    const RegisterLocation& location, DraftRegister::Clock now = [] { return Now; },
    const QString& seat = QStringLiteral("ann@desk-1"))
{
    return std::make_unique<DraftRegister>(RegisterStore::open(location, QString()), officeKey(),
                                           QDir::homePath() + QStringLiteral("/proofs"), std::move(now), seat);
}

// The child side of the tests with two seats. Arguments: the socket's
// folder, the database and the user.
RegisterLocation childLocation(char* argv[])
{
    return RegisterLocation::server(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                                    QString::fromLocal8Bit(argv[4]));
}

void say(const QByteArray& line)
{
    QFile out;
    if (out.open(stdout, QIODevice::WriteOnly)) {
        out.write(line + '\n');
        out.flush();
    }
}

// Asks the journal whether the sample check `check` (as sampleDraft reads
// it) may go, says "ready", waits for a line on its input, then sends it:
// says "recorded", or what it was asked meanwhile (answered No).
int printOneCheck(const RegisterLocation& location, const QString& check)
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return 2;
    std::unique_ptr<DraftRegister> seat;
    try {
        seat = seatAt(location);
    } catch (const RegisterError& error) {
        say("error: " + error.reason().toUtf8());
        return 1;
    }
    JournalOver over(*seat);
    auto& [questions, offer, journal] = over;
    const std::unique_ptr<DraftTicket> ticket =
        journal.maySend({sampleDraft(check).texts, {}, SentDraft::Kind::QuickPrint, {}, {}});
    if (!ticket || !questions.asked.isEmpty())
        return 3;
    say("ready");
    in.readLine();
    const bool sent = ticket->sending(QStringLiteral("Office"));
    say(sent ? "recorded" : questions.asked.join('|').toUtf8());
    return 0;
}

// Records the sample check unless it was sent (as a print does), and says
// "recorded", "asked" or "error: <reason>".
int recordOneCheck(const RegisterLocation& location)
{
    try {
        const std::unique_ptr<DraftRegister> seat = seatAt(location);
        say("opened");
        const DraftRecorder::Recording recording = seat->recordUnlessSent(printed(sampleTexts()), {});
        say(recording.unasked ? "asked" : "recorded");
    } catch (const RegisterError& error) {
        say("error: " + error.reason().toUtf8());
    }
    return 0;
}

// The office passphrase as a script gives it (`passphrase`), or none
// (empty), for the life of the object; the test runner's is given back after.
class ScriptedPassphrase {
public:
    explicit ScriptedPassphrase(const QString& passphrase)
        : m_before(qgetenv(RegisterSession::PassphraseVariable)),
          m_had(qEnvironmentVariableIsSet(RegisterSession::PassphraseVariable))
    {
        if (passphrase.isEmpty())
            qunsetenv(RegisterSession::PassphraseVariable);
        else
            qputenv(RegisterSession::PassphraseVariable, passphrase.toUtf8());
    }
    ~ScriptedPassphrase()
    {
        if (m_had)
            qputenv(RegisterSession::PassphraseVariable, m_before);
        else
            qunsetenv(RegisterSession::PassphraseVariable);
    }
    ScriptedPassphrase(const ScriptedPassphrase&) = delete;
    ScriptedPassphrase& operator=(const ScriptedPassphrase&) = delete;

private:
    QByteArray m_before;
    bool m_had;
};

// A draft's history as text, one event a line: what the copy must keep.
QStringList historyOf(DraftRegister& drafts, DraftId id)
{
    QStringList lines;
    for (const RecordedEvent& recorded : drafts.details(id).history)
        lines.append(QStringLiteral("%1|%2|%3|%4|%5|%6")
                         .arg(DraftEvent::code(recorded.event.kind), recorded.event.text, recorded.event.jobId,
                              recorded.time.toString(Qt::ISODate), recorded.withdrawn ? "withdrawn" : "",
                              recorded.seat));
    return lines;
}

// The drafts table of a register held by a transaction of the test's own
// until release() or the end of the object: seats that record meanwhile are
// caught waiting in the middle of their records.
class DraftsTableHeld {
public:
    explicit DraftsTableHeld(const RegisterLocation& location)
    {
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), Name);
        holder.setHostName(location.host);
        holder.setDatabaseName(location.database);
        holder.setUserName(location.user);
        if (!holder.open())
            return;
        QSqlQuery hold(holder);
        m_held = hold.exec(QStringLiteral("BEGIN")) && hold.exec(QStringLiteral("LOCK TABLE drafts IN EXCLUSIVE MODE"));
    }
    ~DraftsTableHeld()
    {
        QSqlDatabase::database(Name, false).close();
        QSqlDatabase::removeDatabase(Name);
    }
    DraftsTableHeld(const DraftsTableHeld&) = delete;
    DraftsTableHeld& operator=(const DraftsTableHeld&) = delete;

    bool isHeld() const { return m_held; }
    // Lets the waiting seats go on; false when the server did not take the commit.
    bool release() { return QSqlQuery(QSqlDatabase::database(Name, false)).exec(QStringLiteral("COMMIT")); }

private:
    static inline const QString Name = QStringLiteral("holder");
    bool m_held = false;
};

// Runs openssl in `folder`; false when it fails.
bool openssl(const QString& folder, const QStringList& arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("openssl"), arguments);
    const bool done =
        process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!done)
        qWarning("openssl %s: %s", qPrintable(arguments.join(' ')), process.readAll().constData());
    return done;
}

// An office's certificate authority (ca.pem) and another one (other-ca.pem),
// and the server's key and certificate for 127.0.0.2 signed by the first,
// made in `folder` for the server's user (postgres, as root).
bool makeCertificates(const QString& folder)
{
    const QStringList key = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
    QFile names(folder + "/names.ext");
    if (!names.open(QIODevice::WriteOnly) || names.write("subjectAltName=IP:127.0.0.2\n") < 0)
        return false;
    names.close();
    const bool made =
        openssl(folder,
                QStringList{"req", "-x509"} + key +
                    QStringList{"-keyout", "ca.key", "-out", "ca.pem", "-days", "2", "-subj", "/CN=Office CA"}) &&
        openssl(folder, QStringList{"req", "-x509"} + key +
                            QStringList{"-keyout", "other-ca.key", "-out", "other-ca.pem", "-days", "2", "-subj",
                                        "/CN=Another CA"}) &&
        openssl(folder, QStringList{"req"} + key +
                            QStringList{"-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=127.0.0.2"}) &&
        openssl(folder, {"x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial",
                         "-out", "server.crt", "-days", "2", "-extfile", "names.ext"});
    if (!made || !QFile::setPermissions(folder + "/server.key", QFile::ReadOwner | QFile::WriteOwner))
        return false;
    if (::geteuid() != 0)
        return true;
    const passwd* postgres = ::getpwnam("postgres");
    return postgres && ::chown(folder.toLocal8Bit().constData(), postgres->pw_uid, postgres->pw_gid) == 0 &&
           ::chown((folder + "/server.key").toLocal8Bit().constData(), postgres->pw_uid, postgres->pw_gid) == 0 &&
           ::chown((folder + "/server.crt").toLocal8Bit().constData(), postgres->pw_uid, postgres->pw_gid) == 0;
}

} // namespace

class TstOfficeRegister : public QObject {
    Q_OBJECT

private:
    PrivatePostgres m_server;
    // A second cluster, served over TLS on loopback addresses, and its certificates' folder.
    std::unique_ptr<PrivatePostgres> m_tlsServer;
    QString m_certificates;
    QDateTime m_now = Now;
    int m_databases = 0;

    // A database of its own for the test that asks.
    RegisterLocation newDatabase()
    {
        const QString name = QStringLiteral("register%1").arg(++m_databases);
        if (!m_server.createDatabase(name)) {
            m_server.stop();
            qFatal("%s", qPrintable(m_server.error()));
        }
        return m_server.location(name);
    }

    std::unique_ptr<DraftRegister> seat(const RegisterLocation& location,
                                        const QString& name = QStringLiteral("ann@desk-1"))
    {
        return seatAt(
            location, [this] { return m_now; }, name);
    }

    QProcess* startChild(const QString& mode, const RegisterLocation& location, const QStringList& more = {})
    {
        auto* child = new QProcess(this);
        child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child->start(QCoreApplication::applicationFilePath(),
                     QStringList{mode, location.host, location.database, location.user} + more);
        return child;
    }

    // How many of the database's connections wait for a lock now.
    int waitingForLocks(const RegisterLocation& location)
    {
        return m_server
            .query(location.database, QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE datname = "
                                                     "current_database() AND wait_event_type = 'Lock'"))
            .value(0)
            .toInt();
    }

    QString firstRow(const RegisterLocation& location, const QString& sql)
    {
        return m_server.query(location.database, sql).value(0);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY2(m_server.start(), qPrintable(m_server.error())); }

    void cleanupTestCase()
    {
        m_server.stop();
        m_tlsServer.reset();
        if (!m_certificates.isEmpty())
            QDir(m_certificates).removeRecursively();
    }

    void init() { m_now = Now; }

    // The same drafts, history and authorizations read back the same, to the
    // byte, from a file and from the server.
    void bothEnginesKeepTheSameRegister_data()
    {
        QTest::addColumn<bool>("server");
        QTest::newRow("file") << false;
        QTest::newRow("server") << true;
    }

    void bothEnginesKeepTheSameRegister()
    {
        QFETCH(bool, server);

        const RegisterLocation location =
            server ? newDatabase() : RegisterLocation::file(QDir::homePath() + QStringLiteral("/register.sqlite"));
        if (!server)
            QFile::remove(location.path);
        const std::unique_ptr<DraftRegister> drafts = seat(location);
        m_now = QDateTime(QDate(2026, 12, 1), QTime(20, 5), Qt::UTC);
        DraftRecord authorized = printed(sampleTexts());
        authorized.authorization = authorization();
        const DraftId returned = drafts->record(authorized, DraftEvent::printed("17"));
        m_now = Now;
        drafts->change(returned, DraftEvent::deposited(QDate(2026, 12, 2), "Slip 15"));
        drafts->change(returned, DraftEvent::returned(QDate(2026, 12, 4), ReturnReason::NotAuthorized));
        DraftRecord exported = printed(
            withChanges(sampleTexts(), {QString::fromUtf8("1=Renée Dubois     "), "6=1043", "7=Acme, \"Best\" Supplies",
                                        "9=$75.00", "11=A071000013A   ", "12=000120000001C", "13=1043"}));
        exported.kind = SentDraft::Kind::PdfFile;
        exported.destinationName = QStringLiteral("/home/m/Documents/1043.pdf");
        const DraftId id = drafts->record(exported, DraftEvent::exported());
        drafts->append(id, DraftEvent::voided());

        QCOMPARE(returned, 1);
        QCOMPARE(id, 2);
        QCOMPARE(
            RegisterCsv::write(*drafts, drafts->drafts(), true),
            QByteArray("Printed,Check No.,Payor,Payee,Amount,Amount (number),Status,Status Date,Return Reason,"
                       "Printer or File,Authorized By,Authorization,Authorized On,Sale,Routing No.,Account No.,Seat\r\n"
                       "2026-12-08 12:00,1043,Ren\xc3\xa9"
                       "e Dubois,\"Acme, \"\"Best\"\" Supplies\",$75.00,75.00,Voided,2026-12-08,,"
                       "/home/m/Documents/1043.pdf,,,,,A071000013A,000120000001C,ann@desk-1\r\n"
                       "2026-12-01 14:05,1042,Jane Q. Customer,Acme Supplies LLC,\"$1,234.56\",1234.56,Returned,"
                       "2026-12-04,Not authorized,Office,Jane Q. Customer,Recorded phone call,2026-12-01 14:05,"
                       "\"The customer called us, not in answer to our "
                       "advertising\",A021000021A,98765436789C,ann@desk-1\r\n"));
        // The look-ups behind the questions and marks.
        const std::optional<EarlierDraft> earlier = drafts->earlierDraft(sampleTexts());
        QVERIFY(earlier);
        QCOMPARE(RegisterTexts::duplicateQuestion(*earlier),
                 "Check 1042 on the account ending in 6789 was already printed on 12/01/2026 (job 17 on \"Office\") "
                 "for 1,234.56 to \"Acme Supplies LLC\". Print it again?");
        QVERIFY(!drafts->earlierDraft(withChanges(sampleTexts(), {"6=1043", "13=1043"})));
        const std::optional<EarlierDraft> sameAmount =
            drafts->sameAmountRecently(withChanges(sampleTexts(), {"6=1044", "13=1044"}));
        QVERIFY(sameAmount);
        QCOMPARE(sameAmount->id, 1);
        const std::optional<AccountReturn> refused = drafts->accountReturn(sampleTexts());
        QVERIFY(refused);
        QCOMPARE(refused->returnedOn, QDate(2026, 12, 4));
        QCOMPARE(drafts->drafts(2, 5).size(), std::size_t(1));
        QCOMPARE(drafts->drafts(2, 5).front().id, 1);

        // Five years after the last event the drafts may go, with everything of theirs.
        m_now = Now.addYears(5);
        QCOMPARE(drafts->draftsPastKeeping().size(), std::size_t(2));
        QCOMPARE(drafts->removePastKeeping({1, 2}), 2);
        QCOMPARE(drafts->drafts().size(), std::size_t(0));
    }

    // Two seats press Quick Print on the same check at the same instant: one
    // prints, the other is asked. The test holds the drafts table so that both
    // have looked before either writes, unless the look-up waits its turn.
    // Two seats press Quick Print at the same instant (each "<check
    // number>[=<amount>]"), after the drafts `before`: one prints, the other
    // is asked what the first just sent.
    void twoSeatsPrintAtOnce_data()
    {
        QTest::addColumn<QStringList>("before"); // as sampleDraft reads them
        QTest::addColumn<QStringList>("checks");
        QTest::addColumn<QString>("question");

        QTest::newRow("the same check")
            << QStringList() << QStringList{"1042", "1042"}
            << "Check 1042 on the account ending in 6789 may have been printed on 12/08/2026 (the print service did "
               "not say) for 1,234.56 to \"Acme Supplies LLC\". Print it again?";
        QTest::newRow("the same amount on two checks")
            << QStringList() << QStringList{"1042", "1043"}
            << "Check 104%1 for the same amount on the account ending in 6789 was printed on 12/08/2026 to \"Acme "
               "Supplies LLC\". Print this one?";
        QTest::newRow("the authorization's last draft")
            << QStringList{"1041=$75.00+a2"} << QStringList{"1042=$80.00", "1043=$90.00"}
            << "The authorization of 12/01/2026 on the account ending in 6789 was for 2 drafts, and 2 have been "
               "printed: this draft needs an authorization of its own. Print this one?";
    }

    void twoSeatsPrintAtOnce()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, checks);
        QFETCH(QString, question);

        const RegisterLocation location = newDatabase();
        const std::unique_ptr<DraftRegister> first = seat(location);
        for (const QString& check : before)
            first->record(sampleDraft(check), DraftEvent::printed(QStringLiteral("7")));

        QList<QProcess*> seats;
        for (const QString& check : checks)
            seats.append(startChild(QStringLiteral("--print-one-check"), location, {check}));
        for (QProcess* child : std::as_const(seats)) {
            QTRY_VERIFY_WITH_TIMEOUT(child->canReadLine(), 60000);
            QCOMPARE(child->readLine(), "ready\n");
        }
        {
            DraftsTableHeld held(location);
            QVERIFY(held.isHeld());
            for (QProcess* child : std::as_const(seats))
                child->write("go\n");
            // One waits for the table, the other for it or for the account.
            QTRY_COMPARE_WITH_TIMEOUT(waitingForLocks(location), 2, 30000);
            QVERIFY(held.release());
        }
        QStringList said;
        for (QProcess* child : std::as_const(seats)) {
            QVERIFY(child->waitForFinished(60000));
            QCOMPARE(child->exitCode(), 0);
            said.append(QString::fromLatin1(child->readAllStandardOutput()).trimmed());
        }
        // The one asked names the other's check.
        const int recorded = said.indexOf("recorded");
        QVERIFY2(recorded >= 0, qPrintable(said.join('|')));
        QCOMPARE(said.at(1 - recorded), question.contains("%1") ? question.arg(recorded + 2) : question);
        QCOMPARE(firstRow(location, QStringLiteral("SELECT COUNT(*) FROM drafts")), QString::number(before.size() + 1));
    }

    // The connection's options: a server on another computer is reached
    // only over TLS, its certificate verified.
    void theServerIsVerifiedUnlessOnThisComputer_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("caFile");
        QTest::addColumn<QString>("options");

        QTest::newRow("socket folder") << "/run/postgresql"
                                       << ""
                                       << "connect_timeout=10;options='-c lock_timeout=30s'";
        QTest::newRow("no host: libpq's socket") << ""
                                                 << ""
                                                 << "connect_timeout=10;options='-c lock_timeout=30s'";
        QTest::newRow("localhost") << "localhost"
                                   << "/etc/office-ca.pem"
                                   << "connect_timeout=10;options='-c lock_timeout=30s'";
        QTest::newRow("loopback") << "127.0.0.1"
                                  << ""
                                  << "connect_timeout=10;options='-c lock_timeout=30s'";
        QTest::newRow("loopback, IPv6") << "::1"
                                        << ""
                                        << "connect_timeout=10;options='-c lock_timeout=30s'";
        QTest::newRow("loopback, other address")
            << "127.0.0.2"
            << ""
            << "connect_timeout=10;options='-c "
               "lock_timeout=30s';sslmode=verify-full;sslrootcert='/etc/ssl/certs/ca-certificates.crt'";
        QTest::newRow("office server, system's authorities")
            << "db.office.example"
            << ""
            << "connect_timeout=10;options='-c "
               "lock_timeout=30s';sslmode=verify-full;sslrootcert='/etc/ssl/certs/ca-certificates.crt'";
        QTest::newRow("office server, CA file of its own")
            << "10.0.0.5"
            << "/home/ann/Office CA's.pem"
            << "connect_timeout=10;options='-c lock_timeout=30s';sslmode=verify-full;sslrootcert='/home/ann/Office "
               "CA\\'s.pem'";
    }

    void theServerIsVerifiedUnlessOnThisComputer()
    {
        QFETCH(QString, host);
        QFETCH(QString, caFile);
        QFETCH(QString, options);

        RegisterLocation location = RegisterLocation::server(host, QStringLiteral("quillo"), QStringLiteral("ann"));
        location.caFile = caFile;
        QCOMPARE(PostgresDialect(location, QString()).connectOptions(), options);
    }

    // The server's errors as the merchant reads them, for the faults a test
    // cannot cause on a private cluster: libpq's words and the SQLSTATE.
    void theServersErrorsInTheMerchantsWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("reason");

        QTest::newRow("disk full") << "could not extend file \"base/16384/16390\": No space left on device"
                                   << "53100"
                                   << "the disk of the office server db.office.example is full";
        QTest::newRow("certificate not verified")
            << "connection to server at \"db.office.example\" (10.0.0.5), port 5432 failed: SSL error: certificate "
               "verify failed"
            << ""
            << "the certificate of the office server db.office.example could not be verified";
        QTest::newRow("certificate of another host")
            << "server certificate for \"other.example\" does not match host name \"db.office.example\""
            << ""
            << "the certificate of the office server db.office.example could not be verified";
        QTest::newRow("no such host")
            << "could not translate host name \"db.office.example\" to address: Name or service not known"
            << ""
            << "the office server db.office.example does not answer";
        QTest::newRow("timed out") << "connection to server at \"db.office.example\" failed: timeout expired"
                                   << ""
                                   << "the office server db.office.example does not answer";
        QTest::newRow("starting up") << "FATAL: the database system is starting up"
                                     << "57P03"
                                     << "the office server db.office.example is starting up";
        QTest::newRow("another seat holds a lock") << "canceling statement due to lock timeout"
                                                   << "55P03"
                                                   << "another seat has kept the register on the office server "
                                                      "db.office.example busy for more than 30 seconds";
        QTest::newRow("not allowed") << "permission denied for table drafts"
                                     << "42501"
                                     << "the office server db.office.example does not let ann use the register";
        QTest::newRow("anything else") << "out of shared memory"
                                       << "53200"
                                       << "the office server db.office.example reports \"out of shared memory\"";
    }

    void theServersErrorsInTheMerchantsWords()
    {
        QFETCH(QString, text);
        QFETCH(QString, state);
        QFETCH(QString, reason);

        const PostgresDialect dialect(RegisterLocation::server(QStringLiteral("db.office.example"),
                                                               QStringLiteral("quillo"), QStringLiteral("ann")),
                                      QString());
        QCOMPARE(dialect.reason(QSqlError(QString(), text, QSqlError::StatementError, state)), reason);
    }

    // What keeps a seat from the register, in the merchant's words.
    void aRegisterThatCannotBeOpened_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");

        QTest::newRow("right password") << "right password"
                                        << "";
        QTest::newRow("wrong password") << "wrong password"
                                        << "the office server on this computer refused the password of password_seat";
        QTest::newRow("no password") << "no password"
                                     << "the office server on this computer refused the password of password_seat";
        QTest::newRow("no such database") << "no such database"
                                          << "the office server on this computer has no database missing";
        QTest::newRow("no server") << "no server"
                                   << "the office server on this computer does not answer";
        QTest::newRow("version of now") << "version 6"
                                        << "";
        QTest::newRow("later version")
            << "version 7"
            << "the register on the office server on this computer was written by a later version of Quillo";
    }

    void aRegisterThatCannotBeOpened()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);

        RegisterLocation location = newDatabase();
        QString password;
        if (fault.endsWith(QLatin1String("password")))
            location.user = PrivatePostgres::PasswordUser;
        if (fault == QLatin1String("right password"))
            password = QString::fromLatin1(PrivatePostgres::Password);
        if (fault == QLatin1String("wrong password"))
            password = QStringLiteral("Correct horse");
        if (fault == QLatin1String("no such database"))
            location.database = QStringLiteral("missing");
        if (fault == QLatin1String("no server"))
            location.host = QDir::homePath();
        if (fault.startsWith(QLatin1String("version "))) {
            seat(location);
            m_server.query(location.database,
                           QStringLiteral("UPDATE register_schema SET version = %1").arg(fault.section(' ', 1)));
        }

        QString failure;
        try {
            DraftRegister(RegisterStore::open(location, password), officeKey(), QDir::homePath(), [] {
                return Now;
            }).record(printed(sampleTexts()), DraftEvent::printed("17"));
        } catch (const RegisterError& error) {
            failure = error.reason();
        }
        QCOMPARE(failure, reason);
    }

    // The connection cut, or the server stopped, while a seat records: the
    // seat is told which, nothing is kept, and the print tried again is
    // recorded once.
    void aFaultWhileRecording_data()
    {
        QTest::addColumn<bool>("serverStops");
        QTest::addColumn<QString>("said");

        QTest::newRow("connection cut") << false
                                        << "error: the connection to the office server on this computer was cut";
        QTest::newRow("server stopped") << true << "error: the office server on this computer does not answer";
    }

    void aFaultWhileRecording()
    {
        QFETCH(bool, serverStops);
        QFETCH(QString, said);

        const RegisterLocation location = newDatabase();
        seat(location);
        QProcess* child = nullptr;
        {
            DraftsTableHeld held(location);
            QVERIFY(held.isHeld());
            child = startChild(QStringLiteral("--record-one-check"), location);
            QTRY_COMPARE_WITH_TIMEOUT(waitingForLocks(location), 1, 30000);
            if (serverStops) {
                m_server.stop();
            } else {
                QCOMPARE(m_server.query(location.database,
                                        QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                                                       "datname = current_database() AND wait_event_type = 'Lock'")),
                         QStringList{"true"});
            }
            QVERIFY(child->waitForFinished(60000));
            held.release();
        }
        QCOMPARE(QString::fromUtf8(child->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                 (QStringList{"opened", said}));
        if (serverStops)
            QVERIFY2(m_server.restart(), qPrintable(m_server.error()));
        QCOMPARE(firstRow(location, QStringLiteral("SELECT COUNT(*) FROM drafts")), "0");

        // Tried again: recorded, once.
        QProcess* again = startChild(QStringLiteral("--record-one-check"), location);
        QVERIFY(again->waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(again->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                 (QStringList{"opened", "recorded"}));
        QCOMPARE(firstRow(location, QStringLiteral("SELECT COUNT(*) FROM drafts")), "1");
    }

    // A seat that stays open through the fault records once the server is back.
    void aSeatCarriesOnOnceTheServerIsBack()
    {
        const RegisterLocation location = newDatabase();
        const std::unique_ptr<DraftRegister> drafts = seat(location);
        m_server.stop();
        QString failure;
        try {
            drafts->record(printed(sampleTexts()), DraftEvent::printed("17"));
        } catch (const RegisterError& error) {
            failure = error.reason();
        }
        QCOMPARE(failure, "the office server on this computer does not answer");
        QVERIFY2(m_server.restart(), qPrintable(m_server.error()));
        QCOMPARE(drafts->record(printed(sampleTexts()), DraftEvent::printed("17")), 1);
        QCOMPARE(drafts->drafts().size(), std::size_t(1));
    }

    // A server on another computer is reached over TLS only, its
    // certificate verified against the office's authority and the host's name.
    void aServerWhoseCertificateDoesNotVerify_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("caFile"); // in the certificates' folder; none for the system's authorities
        QTest::addColumn<QString>("failure");

        QTest::newRow("the office's authority") << "127.0.0.2"
                                                << "ca.pem" << QString();
        QTest::newRow("another authority") << "127.0.0.2"
                                           << "other-ca.pem"
                                           << "the certificate of the office server 127.0.0.2 could not be verified";
        QTest::newRow("the system's authorities")
            << "127.0.0.2" << QString() << "the certificate of the office server 127.0.0.2 could not be verified";
        QTest::newRow("another host's name") << "127.0.0.3"
                                             << "ca.pem"
                                             << "the certificate of the office server 127.0.0.3 could not be verified";
    }

    void aServerWhoseCertificateDoesNotVerify()
    {
        QFETCH(QString, host);
        QFETCH(QString, caFile);
        QFETCH(QString, failure);

        if (!m_tlsServer) {
            QByteArray folder = QByteArrayLiteral("/tmp/quillo-tls-XXXXXX");
            QVERIFY(::mkdtemp(folder.data()));
            m_certificates = QString::fromLocal8Bit(folder);
            QVERIFY(makeCertificates(m_certificates));
            m_tlsServer = std::make_unique<PrivatePostgres>();
            m_tlsServer->serveTls({"127.0.0.2", "127.0.0.3"}, m_certificates + "/server.crt",
                                  m_certificates + "/server.key");
            QVERIFY2(m_tlsServer->start(), qPrintable(m_tlsServer->error()));
            QVERIFY2(m_tlsServer->createDatabase("office"), qPrintable(m_tlsServer->error()));
        }
        RegisterLocation location = RegisterLocation::server(host, "office", m_tlsServer->user());
        location.port = m_tlsServer->port();
        if (!caFile.isEmpty())
            location.caFile = m_certificates + "/" + caFile;

        QString said;
        try {
            PostgresDialect dialect(location, QString());
            {
                // Over TLS, or not at all: the server turns a clear connection away.
                QSqlQuery query(dialect.connect(QStringLiteral("tls")));
                QVERIFY(query.exec(QStringLiteral("SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()")));
                QVERIFY(query.next());
                QCOMPARE(query.value(0).toBool(), true);
            }
            QSqlDatabase::removeDatabase(QStringLiteral("tls"));
            QVERIFY(RegisterStore::open(location, QString()) != nullptr);
        } catch (const RegisterError& error) {
            said = error.reason();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("tls"));
        QCOMPARE(said, failure);
    }

    // A first use reaches the server and reads the keyring off the window's
    // thread; only what a question gives is asked for by open().
    void aServerRegisterOpensOffTheWindowsThread_data()
    {
        QTest::addColumn<bool>("keyInKeyring");
        QTest::addColumn<bool>("serverStops");
        QTest::addColumn<bool>("openedLater");
        QTest::addColumn<QString>("failure"); // what open() says; none when empty

        QTest::addColumn<bool>("passwordRefused"); // the keyring's password for the server is refused

        QTest::newRow("the office key in the keyring") << true << false << true << QString() << false;
        QTest::newRow("a seat that joins") << false << false << false << QString() << false;
        QTest::newRow("the server stopped")
            << true << true << false << "the office server on this computer does not answer" << false;
        QTest::newRow("a password the server refuses") << true << false << false << QString() << true;
    }

    void aServerRegisterOpensOffTheWindowsThread()
    {
        QFETCH(bool, keyInKeyring);
        QFETCH(bool, serverStops);
        QFETCH(bool, openedLater);
        QFETCH(QString, failure);
        QFETCH(bool, passwordRefused);

        RegisterLocation location = newDatabase();
        const QString officePassphrase = QStringLiteral("maple quartz lantern ferry orbit");
        FakeKeyring keyring;
        {
            const ScriptedPassphrase scripted(officePassphrase);
            RegisterSession(location, keyInKeyring ? &keyring : nullptr, &RegisterSession::openStore)
                .open(nullptr)
                .record(printed(sampleTexts()), DraftEvent::printed("17"));
        }
        const ScriptedPassphrase none{QString()};
        if (keyInKeyring) {
            FakePassphrasePrompt joining;
            joining.answers = {officePassphrase};
            RegisterSession(location, &keyring, &RegisterSession::openStore).open(&joining);
        }
        keyring.onMainThread = 0;
        if (serverStops)
            m_server.stop();
        if (passwordRefused) {
            location.user = PrivatePostgres::PasswordUser;
            keyring.keys.insert(RegisterSession::passwordKeyringName(location), "the password of before");
        }

        FakePassphrasePrompt passwords;
        passwords.answers = {QString::fromLatin1(PrivatePostgres::Password)};
        RegisterSession session(
            location, &keyring, &RegisterSession::openStore, &passwords, [this] { return m_now; },
            RegisterSession::KeyringThreads::OffCallingThread);
        const QFuture<void> ready = session.openLater();
        QTRY_VERIFY_WITH_TIMEOUT(ready.isFinished(), 30000);
        QCOMPARE(session.isOpen(), openedLater);
        QCOMPARE(keyring.onMainThread, 0);
        // The server's password is asked for by the command, not as the opening finishes.
        QVERIFY(passwords.asked.isEmpty());

        FakePassphrasePrompt prompt;
        prompt.answers = {officePassphrase};
        QString said;
        try {
            QCOMPARE(session.open(&prompt).drafts().size(), std::size_t(1));
        } catch (const RegisterError& error) {
            said = error.reason();
        }
        if (serverStops)
            QVERIFY2(m_server.restart(), qPrintable(m_server.error()));
        QCOMPARE(said, failure);
        // Asked only by a seat that joins, once; its keyring keeps the key from then on.
        QCOMPARE(prompt.asked.size(), keyInKeyring ? 0 : 1);
        QCOMPARE(keyring.keys.contains(OfficeKey::keyringName(location)), true);
        QCOMPARE(passwords.asked.size(), passwordRefused ? 1 : 0);
    }

    // A print whose outcome comes while the server is out of reach: the
    // seat keeps it, sealed, and writes it once, when the server is back.
    void anOutcomeTheServerMissedIsKeptUntilItIsBack_data()
    {
        QTest::addColumn<bool>("stopsBeforeTheJob"); // the server stops before the print service names the job
        QTest::newRow("stopped after the job started") << false;
        QTest::newRow("stopped before the job started") << true;
    }

    void anOutcomeTheServerMissedIsKeptUntilItIsBack()
    {
        QFETCH(bool, stopsBeforeTheJob);

        const RegisterLocation location = newDatabase();
        const std::unique_ptr<DraftRegister> drafts = seat(location);
        const QString held = QDir::homePath() + "/held/" + QTest::currentDataTag();
        drafts->holdOutcomesIn(held);
        JournalOver over(*drafts);
        auto& journal = over.journal;
        const std::unique_ptr<DraftTicket> ticket =
            journal.maySend({sampleTexts(), {}, SentDraft::Kind::QuickPrint, {}, {}});
        QVERIFY(ticket && ticket->sending(QStringLiteral("Office")));
        if (stopsBeforeTheJob)
            m_server.stop();
        ticket->jobStarted(915);
        if (!stopsBeforeTheJob)
            m_server.stop();
        QCOMPARE(ticket->sent(PrintOutcome::confirmed(QStringLiteral("Office"), 915)),
                 "The draft register could not record what became of the check: the office server on this computer "
                 "does not answer. Quillo keeps it on this computer and records it as soon as the register can be "
                 "reached.");
        QVERIFY2(m_server.restart(), qPrintable(m_server.error()));

        // Kept for the merchant alone, and sealed.
        QFile file(held);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        file.close();
        QCOMPARE(file.permissions(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(bytes.count('\n'), stopsBeforeTheJob ? 2 : 1);
        for (const QByteArray& line : bytes.split('\n')) {
            for (const QByteArray clear : {"printed", "uncertain", "915", "Office"})
                QVERIFY2(!QByteArray::fromBase64(line).contains(clear), clear.constData());
        }

        // Meanwhile the register has the draft as sent, and perhaps printed.
        QCOMPARE(seat(location, "bob@desk-2")->drafts().front().status, DraftStatus::Uncertain);
        // Written before the uncertain prints are looked up: none is left.
        QVERIFY(drafts->uncertainPrints().empty());
        const QStringList history{"no-authorization|The offer of an authorization record is turned off.||"
                                  "2026-12-08T18:00:00Z||ann@desk-1",
                                  "uncertain||915|2026-12-08T18:00:00Z||ann@desk-1",
                                  "printed||915|2026-12-08T18:00:00Z||ann@desk-1"};
        QCOMPARE(historyOf(*drafts, ticket->recordId().value()), history);
        QVERIFY(!QFile::exists(held));

        // Held again (the seat was stopped before it could empty the file): written once all the same.
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        drafts->holdOutcomesIn(held);
        QCOMPARE(historyOf(*drafts, ticket->recordId().value()), history);
        QVERIFY(!QFile::exists(held));
    }

    // Seats that open a new register at once: one makes its tables, the
    // others wait and find them made.
    void seatsOpeningANewRegisterAtOnce()
    {
        const RegisterLocation location = newDatabase();
        QList<QProcess*> seats;
        for (int i = 0; i < 3; ++i)
            seats.append(startChild(QStringLiteral("--record-one-check"), location));
        QStringList said;
        for (QProcess* child : std::as_const(seats)) {
            QVERIFY(child->waitForFinished(60000));
            said += QString::fromUtf8(child->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        }
        said.sort();
        QCOMPARE(said, (QStringList{"asked", "asked", "opened", "opened", "opened", "recorded"}));
        QCOMPARE(m_server.query(location.database, QStringLiteral("SELECT version FROM register_schema")),
                 QStringList{"6"});
    }

    // Seats reach the office register through their sessions: the first
    // makes it with the office passphrase, the others join with it, and a
    // seat that joined by typing it keeps the key in its own keyring.
    void seatsShareTheOfficeKey()
    {
        const RegisterLocation location = newDatabase();
        const QString officePassphrase = QStringLiteral("maple quartz lantern ferry orbit");
        const auto sessionOf = [&](FakeKeyring& keyring, const QString& name) {
            return std::make_unique<RegisterSession>(
                location, &keyring, &RegisterSession::openStore, nullptr, [this] { return m_now; },
                RegisterSession::KeyringThreads::Any, name);
        };
        const auto checkNumbers = [](DraftRegister& drafts) {
            QStringList read;
            for (const DraftSummary& draft : drafts.drafts())
                read.append(draft.checkNumber + QLatin1Char(' ') + drafts.payor(draft));
            return read;
        };

        FakeKeyring annKeyring;
        FakeKeyring bobKeyring;
        {
            const ScriptedPassphrase scripted(officePassphrase);
            sessionOf(annKeyring, QStringLiteral("ann@desk-1"))
                ->open(nullptr)
                .record(printed(sampleTexts()), DraftEvent::printed("17"));
            sessionOf(bobKeyring, QStringLiteral("bob@desk-2"))
                ->open(nullptr)
                .record(printed(withChanges(sampleTexts(), {"1=Bob Payor", "6=1043", "13=1043"})),
                        DraftEvent::printed("18"));
        }
        const ScriptedPassphrase none{QString()};
        // A script's passphrase leaves nothing in the keyring.
        QVERIFY(annKeyring.keys.isEmpty());
        QVERIFY(bobKeyring.keys.isEmpty());
        QCOMPARE(firstRow(location, QStringLiteral("SELECT string_agg(seat, ',' ORDER BY id) FROM drafts")),
                 "ann@desk-1,bob@desk-2");

        // A third seat joins with the office passphrase, asked once.
        FakeKeyring carolKeyring;
        FakePassphrasePrompt joining;
        joining.answers = {officePassphrase};
        {
            const std::unique_ptr<RegisterSession> carol = sessionOf(carolKeyring, QStringLiteral("carol@desk-3"));
            QCOMPARE(checkNumbers(carol->open(&joining)), (QStringList{"1043 Bob Payor", "1042 Jane Q. Customer"}));
        }
        QCOMPARE(joining.asked.size(), 1);
        QCOMPARE(joining.asked.front().purpose, PassphrasePrompt::Purpose::EnterOffice);
        const QString entry = QStringLiteral("office-key-%1:5432/%2").arg(m_server.socketFolder(), location.database);
        QCOMPARE(carolKeyring.keys.keys(), QStringList{entry});
        QCOMPARE(carolKeyring.keys.value(entry).size(), 32);
        // Its next run opens with its keyring alone.
        FakePassphrasePrompt nobody;
        QCOMPARE(checkNumbers(sessionOf(carolKeyring, QStringLiteral("carol@desk-3"))->open(&nobody)),
                 (QStringList{"1043 Bob Payor", "1042 Jane Q. Customer"}));
        QVERIFY(nobody.asked.isEmpty());

        // A seat with a wrong office passphrase is asked again, then refused, and reads nothing.
        FakeKeyring daveKeyring;
        FakePassphrasePrompt wrong;
        wrong.answers = {QStringLiteral("Maple quartz lantern ferry orbit"), QString()};
        const std::unique_ptr<RegisterSession> dave = sessionOf(daveKeyring, QStringLiteral("dave@desk-4"));
        QString failure;
        try {
            dave->open(&wrong);
        } catch (const RegisterError& error) {
            failure = error.reason();
        }
        QCOMPARE(failure, "no office passphrase was given");
        QVERIFY(!dave->isOpen());
        QCOMPARE(wrong.asked.size(), 2);
        QCOMPARE(wrong.asked.back().wrongBefore, true);
        QVERIFY(daveKeyring.keys.isEmpty());
    }

    // This computer's register with `count` drafts of checks 2001 on: every
    // tenth with an authorization and one of three proof files, every
    // seventh and every fiftieth deposited, every fiftieth returned and the return withdrawn,
    // and the first printed again (with any). Its key is in `keyring`; it is at `path`,
    // in a folder of its own, by default ~/copy.
    QString fileRegisterWith(int count, FakeKeyring& keyring,
                             const QString& path = QDir::homePath() + QStringLiteral("/copy/register.sqlite"))
    {
        const QString folder = QFileInfo(path).absolutePath();
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        QStringList proofs;
        for (int i = 0; i < 3; ++i) {
            proofs.append(folder + QStringLiteral("/call-%1.txt").arg(i));
            QFile file(proofs.back());
            if (!file.open(QIODevice::WriteOnly) || file.write("Recorded call " + QByteArray::number(i)) < 0)
                return {};
        }
        RegisterSession session(
            path, &keyring, [this] { return m_now; }, RegisterSession::KeyringThreads::Any,
            QStringLiteral("ann@desk-1"));
        DraftRegister& drafts = session.open(nullptr);
        m_now = QDateTime(QDate(2026, 12, 1), QTime(20, 5), Qt::UTC);
        drafts.together([&] {
            for (int i = 0; i < count; ++i) {
                const QString number = QString::number(2001 + i);
                DraftRecord draft = printed(withChanges(sampleTexts(), {"6=" + number, "13=" + number}));
                if (i % 10 == 0) {
                    draft.authorization = authorization();
                    draft.authorization->id = QStringLiteral("a%1").arg(i);
                    draft.authorization->proofFile = proofs.at(i / 10 % 3);
                    draft.authorization->proofSha256 = *ProofCopies::sha256Of(proofs.at(i / 10 % 3));
                }
                const DraftId id = drafts.record(draft, DraftEvent::printed(QString::number(100 + i)));
                if (i % 7 == 0 || i % 50 == 0)
                    drafts.change(id, DraftEvent::deposited(QDate(2026, 12, 1), QStringLiteral("Slip %1").arg(i)));
                if (i % 50 == 0) {
                    drafts.change(id, DraftEvent::returned(QDate(2026, 12, 1), ReturnReason::NotAuthorized));
                    drafts.withdrawLatestChange(id);
                }
            }
            if (count == 0)
                return;
            DraftRecord again = printed(withChanges(sampleTexts(), {"6=2001", "13=2001"}));
            again.reprintOf = 1;
            drafts.record(again, DraftEvent::printed("99"));
        });
        m_now = Now;
        return path;
    }

    static QByteArray bytesOf(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // This computer's register copied to the office server: the same drafts,
    // histories, authorizations and proofs under the same key, which the
    // office passphrase then opens; the file is left as it was.
    void copyThisComputersRegisterToTheServer()
    {
        const ScriptedPassphrase none{QString()};
        FakeKeyring keyring;
        const QString path = fileRegisterWith(1000, keyring);
        QVERIFY(!path.isEmpty());
        const QByteArray before = bytesOf(path);
        const RegisterLocation location = newDatabase();
        const QString officePassphrase = QStringLiteral("maple quartz lantern ferry orbit");
        {
            const std::unique_ptr<RegisterStore> file = RegisterStore::open(path);
            RegisterKeySources sources;
            sources.keyring = &keyring;
            const SecretBytes key = RegisterUnlock::keyOfFile(*file, sources);
            FolderProofShelf proofs(QDir::homePath() + QStringLiteral("/copy/proofs"));
            RegisterCopy copy(*file, proofs, key);
            const std::unique_ptr<RegisterStore> server = RegisterStore::open(location, QString());
            // 1000 drafts and the reprint; 1001 printed, 160 deposited, 20 returned and withdrawn.
            QCOMPARE(copy.copyTo(*server, officePassphrase), (RegisterCopy::Counts{1001, 1201, 100, 3}));

            // Onto a register that holds drafts: refused, and nothing added.
            QString failure;
            try {
                copy.copyTo(*server, officePassphrase);
            } catch (const RegisterError& error) {
                failure = error.reason();
            }
            QCOMPARE(failure, "the register on the office server holds drafts already");
        }
        QCOMPARE(firstRow(location, QStringLiteral("SELECT COUNT(*) FROM drafts")), "1001");
        QCOMPARE(firstRow(location, QStringLiteral("SELECT COUNT(*) FROM proof_copies")), "3");
        QCOMPARE(bytesOf(path), before);

        // Both open with this computer's key; a seat that joins opens the server's with the office passphrase.
        FakeKeyring seatKeyring;
        FakePassphrasePrompt joining;
        joining.answers = {officePassphrase};
        RegisterSession onServer(location, &seatKeyring, &RegisterSession::openStore);
        DraftRegister& server = onServer.open(&joining);
        RegisterSession onFile(path, &keyring, [this] { return m_now; });
        DraftRegister& file = onFile.open(nullptr);
        QCOMPARE(historyOf(server, 1), (QStringList{"printed||100|2026-12-01T20:05:00Z||ann@desk-1",
                                                    "deposited|Slip 0||2026-12-01T20:05:00Z||ann@desk-1",
                                                    "returned|||2026-12-01T20:05:00Z|withdrawn|ann@desk-1",
                                                    "withdrawal|||2026-12-01T20:05:00Z||ann@desk-1"}));
        for (const DraftId id : {1, 2, 8, 11, 51, 1000, 1001})
            QCOMPARE(historyOf(server, id), historyOf(file, id));
        QCOMPARE(server.details(1001).record.reprintOf, 1);
        const std::vector<DraftSummary> serverDrafts = server.drafts();
        const std::vector<DraftSummary> fileDrafts = file.drafts();
        QCOMPARE(serverDrafts.size(), std::size_t(1001));
        QCOMPARE(RegisterCsv::write(server, serverDrafts, true), RegisterCsv::write(file, fileDrafts, true));
        QCOMPARE(server.proof(*server.details(21).record.authorization), "Recorded call 2");
    }

    // A copy that cannot be finished leaves the server's register as it was: empty, without a key.
    void aCopyThatFailsLeavesNothing_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");

        QTest::newRow("proof copy missing") << "missing"
                                            << "the copy of the proof file <copy> is missing";
        QTest::newRow("proof copy altered")
            << "altered"
            << "the register's copy does not match the SHA-256 recorded with the "
               "authorization (dec3ae38e3d6ebbc59027da33b9159889e42ce55d06749a3fea38ce56332df14)";
        QTest::newRow("office passphrase too easy") << "easy"
                                                    << "the office passphrase is too easy to guess";
        QTest::newRow("a register a seat has opened")
            << "opened"
            << "a seat has opened the register on the office server already, with a key of its own: copy into a new "
               "database that no seat has opened";
    }

    void aCopyThatFailsLeavesNothing()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);

        const ScriptedPassphrase none{QString()};
        FakeKeyring keyring;
        const QString path = fileRegisterWith(30, keyring);
        QVERIFY(!path.isEmpty());
        const std::unique_ptr<RegisterStore> file = RegisterStore::open(path);
        RegisterKeySources sources;
        sources.keyring = &keyring;
        const SecretBytes key = RegisterUnlock::keyOfFile(*file, sources);
        // Draft 21's proof, the last copied.
        const std::optional<StoredAuthorization> last = file->authorization(21);
        QVERIFY(last);
        const QString copyPath = QDir::homePath() + QStringLiteral("/copy/proofs/") + last->proofCopy;
        if (fault == QLatin1String("missing"))
            QVERIFY(QFile::remove(copyPath));
        if (fault == QLatin1String("altered")) {
            QByteArray sealed = bytesOf(copyPath);
            sealed[sealed.size() - 1] = char(sealed.back() ^ 1);
            QFile altered(copyPath);
            QVERIFY(altered.open(QIODevice::WriteOnly) && altered.write(sealed) == sealed.size());
        }
        FolderProofShelf proofs(QDir::homePath() + QStringLiteral("/copy/proofs"));
        const RegisterLocation location = newDatabase();
        if (fault == QLatin1String("opened")) {
            const ScriptedPassphrase scripted(QStringLiteral("birch kettle harbor violet comet"));
            RegisterSession(location, nullptr, &RegisterSession::openStore).open(nullptr);
        }
        const std::unique_ptr<RegisterStore> server = RegisterStore::open(location, QString());
        QString failure;
        try {
            RegisterCopy(*file, proofs, key)
                .copyTo(*server, fault == QLatin1String("easy") ? QStringLiteral("office")
                                                                : QStringLiteral("maple quartz lantern ferry orbit"));
        } catch (const RegisterError& error) {
            failure = error.reason();
        }
        QCOMPARE(failure, reason.replace(QStringLiteral("<copy>"), copyPath));
        QCOMPARE(firstRow(location, QStringLiteral("SELECT COUNT(*) FROM drafts")), "0");
        QCOMPARE(firstRow(location, QStringLiteral("SELECT COUNT(*) FROM draft_events")), "0");
        QCOMPARE(firstRow(location, QStringLiteral("SELECT COUNT(*) FROM proof_copies")), "0");
        // The seat's key stays.
        QCOMPARE(firstRow(location, QStringLiteral("SELECT COUNT(*) FROM register_facts WHERE name = 'key_check'")),
                 fault == QLatin1String("opened") ? "1" : "0");
    }

    // File, Copy This Computer's Register to the Server: what the merchant
    // is asked and told, and what the server holds after.
    void theCopyCommand_data()
    {
        QTest::addColumn<bool>("toServer");
        QTest::addColumn<int>("drafts"); // in this computer's register; -1 for none
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("onServer"); // its drafts; "untouched" where it was never reached

        const QString strong = QStringLiteral("maple quartz lantern ferry orbit");
        QTest::newRow("copied") << true << 12 << QStringList{strong}
                                << "This computer's register has been copied to the office server: 13 drafts, 17 "
                                   "events, 2 authorizations and 2 proof files, every proof checked. The register "
                                   "file on this computer is left as it was."
                                << "13";
        QTest::newRow("empty register") << true << 0 << QStringList{strong}
                                        << "This computer's register has been copied to the office server: 0 "
                                           "drafts, 0 events, 0 authorizations and 0 proof files, every proof "
                                           "checked. The register file on this computer is left as it was."
                                        << "0";
        QTest::newRow("passphrase too easy")
            << true << 12 << QStringList{"office"}
            << "This computer's register cannot be copied to the office server: the office passphrase is too easy "
               "to guess."
            << "0";
        QTest::newRow("question cancelled") << true << 12 << QStringList{QString()} << ""
                                            << "untouched";
        QTest::newRow("no register on this computer")
            << true << -1 << QStringList{strong}
            << "This computer's register cannot be copied to the office server: this computer has no draft register."
            << "untouched";
        QTest::newRow("kept on this computer")
            << false << 12 << QStringList{strong}
            << "The draft register is kept on this computer. Choose the office server in File, Register Location "
               "first: the register is copied there."
            << "untouched";
    }

    void theCopyCommand()
    {
        QFETCH(bool, toServer);
        QFETCH(int, drafts);
        QFETCH(QStringList, answers);
        QFETCH(QString, shown);
        QFETCH(QString, onServer);

        const ScriptedPassphrase none{QString()};
        FakeKeyring keyring;
        QDir(QFileInfo(RegisterSession::defaultPath()).absolutePath()).removeRecursively();
        if (drafts >= 0)
            QVERIFY(!fileRegisterWith(drafts, keyring, RegisterSession::defaultPath()).isEmpty());
        const RegisterLocation server = newDatabase();
        RegisterSession session(toServer ? server : RegisterLocation::file(RegisterSession::defaultPath()), &keyring,
                                &RegisterSession::openStore);
        FakePassphrasePrompt filePassphrase;
        FakePassphrasePrompt officePassphrase;
        officePassphrase.answers = {answers.begin(), answers.end()};
        FakeMessageBox messages;
        RegisterCopyToServer::run(session, filePassphrase, officePassphrase, messages);

        QCOMPARE(messages.shown, shown.isEmpty() ? QStringList() : QStringList{shown});
        QCOMPARE(officePassphrase.asked.size(), toServer ? 1 : 0);
        QVERIFY(filePassphrase.asked.isEmpty());
        if (onServer == QLatin1String("untouched"))
            QCOMPARE(firstRow(server, QStringLiteral("SELECT to_regclass('drafts') IS NULL")), "true");
        else
            QCOMPARE(firstRow(server, QStringLiteral("SELECT COUNT(*) FROM drafts")), onServer);
        if (!shown.startsWith(QLatin1String("This computer's register has been copied")))
            return;
        // This seat opens the copy with its keyring, unasked.
        FakePassphrasePrompt nobody;
        RegisterSession after(server, &keyring, &RegisterSession::openStore);
        QCOMPARE(after.open(&nobody).drafts().size(), std::size_t(onServer.toInt()));
        QVERIFY(nobody.asked.isEmpty());
    }

    // A draft that another seat prints, and what becomes of it, shows in
    // this seat's list within 2 seconds; this seat's own is said once.
    void anotherSeatsDraftsAreSaidAtOnce()
    {
        const RegisterLocation location = newDatabase();
        const std::unique_ptr<DraftRegister> mine = seat(location);
        const std::unique_ptr<DraftRegister> other = seat(location);
        QSignalSpy recorded(mine.get(), &DraftRegister::draftRecorded);
        QSignalSpy appended(mine.get(), &DraftRegister::eventAppended);

        const DraftId id = other->record(printed(sampleTexts()), std::nullopt);
        QTRY_COMPARE_WITH_TIMEOUT(recorded.size(), 1, 2000);
        QCOMPARE(recorded.front().front().value<DraftId>(), id);
        QCOMPARE(mine->summary(id)->checkNumber, "1042");
        QCOMPARE(appended.size(), 0);

        other->append(id, DraftEvent::printed("17"));
        QTRY_COMPARE_WITH_TIMEOUT(appended.size(), 1, 2000);
        QCOMPARE(appended.front().front().value<DraftId>(), id);
        QCOMPARE(mine->summary(id)->status, DraftStatus::Printed);

        // This seat's own draft: said as it is written, and not again when the server tells it.
        const DraftId own = mine->record(printed(withChanges(sampleTexts(), {"6=1043", "13=1043"})), std::nullopt);
        QCOMPARE(recorded.size(), 2);
        QCOMPARE(recorded.back().front().value<DraftId>(), own);
        QSignalSpy otherRecorded(other.get(), &DraftRegister::draftRecorded);
        QTRY_COMPARE_WITH_TIMEOUT(otherRecorded.size(), 1, 2000);
        QCOMPARE(recorded.size(), 2);
    }

    // Each draft and event names the seat that wrote it, whichever seat reads it.
    void eachEventSaysWhichSeatMadeIt()
    {
        const RegisterLocation location = newDatabase();
        const std::unique_ptr<DraftRegister> ann = seat(location, QStringLiteral("ann@desk-1"));
        const std::unique_ptr<DraftRegister> bob = seat(location, QStringLiteral("bob@desk-2"));
        const DraftId id = ann->record(printed(sampleTexts()), DraftEvent::printed("17"));
        bob->append(id, DraftEvent::note("Customer called"));

        const DraftDetails read = ann->details(id);
        QCOMPARE(read.recordedBy, "ann@desk-1");
        QCOMPARE(read.history.size(), std::size_t(2));
        QCOMPARE(read.history.at(0).seat, "ann@desk-1");
        QCOMPARE(read.history.at(1).seat, "bob@desk-2");
        QCOMPARE(m_server.query(location.database, QStringLiteral("SELECT seat FROM draft_events ORDER BY id")),
                 (QStringList{"ann@desk-1", "bob@desk-2"}));
    }

    // Seats share no folder: a proof file that one seat kept, another reads
    // from the server, where it is sealed; it goes with the last draft that
    // names it.
    void proofCopiesOfASharedRegisterAreKeptInIt()
    {
        const RegisterLocation location = newDatabase();
        const QString proof = QDir::homePath() + QStringLiteral("/call-1042.txt");
        const QByteArray clear = "Recorded call: Jane Q. Customer authorizes check 1042";
        {
            QFile file(proof);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(clear) == clear.size());
        }
        const std::unique_ptr<DraftRegister> ann = seat(location, QStringLiteral("ann@desk-1"));
        DraftRecord draft = printed(sampleTexts());
        draft.authorization = authorization();
        draft.authorization->proofFile = proof;
        draft.authorization->proofSha256 = *ProofCopies::sha256Of(proof);
        const DraftId id = ann->record(draft, DraftEvent::printed("17"));
        QVERIFY(QFile::remove(proof));

        const std::unique_ptr<DraftRegister> bob = seat(location, QStringLiteral("bob@desk-2"));
        QCOMPARE(bob->proof(*bob->details(id).record.authorization), clear);
        const QStringList copies =
            m_server.query(location.database, QStringLiteral("SELECT encode(sealed, 'hex') FROM proof_copies"));
        QCOMPARE(copies.size(), 1);
        QVERIFY(!QByteArray::fromHex(copies.front().toLatin1()).contains("Jane"));
        QVERIFY(!QFileInfo::exists(QDir::homePath() + QStringLiteral("/proofs")));

        m_now = Now.addYears(5);
        QCOMPARE(bob->removePastKeeping({id}), 1);
        QCOMPARE(firstRow(location, QStringLiteral("SELECT COUNT(*) FROM proof_copies")), "0");
    }
};

int main(int argc, char* argv[])
{
    qputenv("TZ", "America/Chicago");
    ::tzset();
    QCoreApplication app(argc, argv);
    if (argc == 6 && qstrcmp(argv[1], "--print-one-check") == 0)
        return printOneCheck(childLocation(argv), QString::fromLocal8Bit(argv[5]));
    if (argc == 5 && qstrcmp(argv[1], "--record-one-check") == 0)
        return recordOneCheck(childLocation(argv));
    TstOfficeRegister test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_officeregister.moc"
