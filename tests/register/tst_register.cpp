#include "fakes/AlteredRegister.h"
#include "fakes/AsOrdinaryUser.h"
#include "fakes/FakeAuthorizationOffer.h"
#include "fakes/FakeFailureReporter.h"
#include "fakes/FakeKeyring.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/FakePassphrasePrompt.h"
#include "fakes/FakePrintDestination.h"
#include "fakes/FakeQuestionBox.h"
#include "fakes/FakeRegisterStore.h"
#include "fakes/JournalOver.h"
#include "fakes/RegisterSamples.h"
#include "fakes/TestFiles.h"
#include "print/PrintJobStates.h"
#include "print/Printing.h"
#include "register/DraftLifecycle.h"
#include "register/DraftListModel.h"
#include "register/DraftProof.h"
#include "register/DraftRegister.h"
#include "register/OfficePassphraseChange.h"
#include "register/PassphraseStrength.h"
#include "register/ProofCopies.h"
#include "register/ProofFileCheck.h"
#include "register/ProofFileError.h"
#include "register/RegisterAuthorizations.h"
#include "register/RegisterCipher.h"
#include "register/RegisterCsv.h"
#include "register/RegisterError.h"
#include "register/RegisterJournal.h"
#include "register/RegisterSession.h"
#include "register/RegisterTexts.h"
#include "register/SecretBytes.h"
#include "register/ServerPasswordRefused.h"
#include "register/UncertainSettler.h"
#include "system/keyring/KeychainKeyring.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QtTest>

#include <csignal>
#include <ctime>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(DraftStatus)

namespace {

using namespace RegisterSamples;

// Every time below is this zone's: the register keeps UTC, the merchant reads local time.
constexpr const char* TestZone = "America/Chicago";

SentDraft quickPrintOf(const CheckTexts& texts, const std::optional<AuthorizationRecord>& own = std::nullopt)
{
    return {texts, {}, SentDraft::Kind::QuickPrint, {}, own};
}

// The boxes' marks as "<box number>: <mark>", in box order.
QStringList marksOf(const PerBox<QString>& marks)
{
    QStringList found;
    for (Box box : AllBoxes) {
        if (!marks[box].isEmpty())
            found.append(QStringLiteral("%1: %2").arg(numberOf(box)).arg(marks[box]));
    }
    return found;
}

// The kinds of every event as the file keeps them, oldest first.
QStringList eventCodes(const QString& path)
{
    QStringList codes;
    {
        QSqlDatabase file = QSqlDatabase::addDatabase("QSQLITE", "codes");
        file.setDatabaseName(path);
        if (file.open()) {
            QSqlQuery query(file);
            query.exec("SELECT kind FROM draft_events ORDER BY id");
            while (query.next())
                codes.append(query.value(0).toString());
        }
    }
    QSqlDatabase::removeDatabase("codes");
    return codes;
}

// Columns of every draft as the file keeps them, oldest first.
QList<QList<QByteArray>> draftColumns(const QString& path, const QStringList& columns)
{
    QList<QList<QByteArray>> rows;
    {
        QSqlDatabase file = QSqlDatabase::addDatabase("QSQLITE", "columns");
        file.setDatabaseName(path);
        if (file.open()) {
            QSqlQuery query(file);
            query.exec(QStringLiteral("SELECT %1 FROM drafts ORDER BY id").arg(columns.join(QLatin1Char(','))));
            while (query.next()) {
                QList<QByteArray> row;
                for (int k = 0; k < columns.size(); ++k)
                    row.append(query.value(k).toByteArray());
                rows.append(row);
            }
        }
    }
    QSqlDatabase::removeDatabase("columns");
    return rows;
}

// Every file under `folder` as one run of bytes.
QByteArray filesUnder(const QString& folder)
{
    QByteArray all;
    QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext())
        all += TestFiles::read(files.next());
    return all;
}

// A print service that knows the state of some jobs, and keeps what it was asked.
class FakePrintJobStates : public PrintJobStates {
public:
    QFuture<PrintJobState> stateOf(const QString& printer, int jobId) override
    {
        asked << QStringLiteral("%1 %2").arg(printer).arg(jobId);
        return QtFuture::makeReadyFuture(states.value(jobId, PrintJobState::Unknown));
    }
    QMap<int, PrintJobState> states;
    QStringList asked;
};

// One step of a draft's history as a test writes it: "printed:17",
// "returned:Insufficient funds" (a reason in the merchant's words),
// "returned:not-authorized:2026-12-03" (a listed reason, on its day),
// "deposited:2026-12-02:Slip 15", "settled:17:completed", "canceled:17:canceled".
DraftEvent eventFrom(const QString& step)
{
    const QStringList parts = step.split(QLatin1Char(':'));
    const QString kind = parts.at(0);
    const QString arg = parts.value(1);
    if (kind == QLatin1String("printed"))
        return DraftEvent::printed(arg);
    if (kind == QLatin1String("uncertain"))
        return DraftEvent::uncertain(arg);
    if (kind == QLatin1String("not-printed"))
        return DraftEvent::notPrinted(arg);
    if (kind == QLatin1String("settled"))
        return DraftEvent::printedAfterLookUp(arg, parts.value(2));
    if (kind == QLatin1String("canceled"))
        return DraftEvent::notPrintedAfterLookUp(arg, parts.value(2));
    const QDate day = QDate::fromString(parts.value(1), Qt::ISODate);
    if (kind == QLatin1String("voided"))
        return DraftEvent::voided(day);
    if (kind == QLatin1String("deposited"))
        return DraftEvent::deposited(day, parts.value(2));
    if (kind == QLatin1String("paid"))
        return DraftEvent::paid(day);
    if (kind == QLatin1String("re-presented"))
        return DraftEvent::represented(day, parts.value(2));
    if (kind == QLatin1String("returned")) {
        if (const std::optional<ReturnReason> reason = ReturnReasons::fromCode(arg))
            return DraftEvent::returned(QDate::fromString(parts.value(2), Qt::ISODate), *reason);
        return DraftEvent::returned({}, ReturnReason::Other, arg);
    }
    if (kind == QLatin1String("exported"))
        return DraftEvent::exported();
    if (kind == QLatin1String("letter"))
        return DraftEvent::letterSent(arg, parts.value(2));
    if (kind == QLatin1String("no-authorization"))
        return DraftEvent::noAuthorization(arg);
    return DraftEvent::note(arg);
}

// "<recorded> <event>|<job>|<text>", then what a change has: "|on <day>",
// "|<reason>", " (withdrawn)".
QString historyLine(const RecordedEvent& recorded)
{
    QString line = QStringLiteral("%1 %2|%3|%4")
                       .arg(recorded.time.toString(Qt::ISODate), RegisterTexts::eventName(recorded.event.kind),
                            recorded.event.jobId, recorded.event.text);
    if (recorded.event.effective.isValid())
        line += QStringLiteral("|on ") + recorded.event.effective.toString(Qt::ISODate);
    if (recorded.event.reason)
        line += QLatin1Char('|') + ReturnReasons::name(*recorded.event.reason);
    if (recorded.withdrawn)
        line += QStringLiteral(" (withdrawn)");
    return line;
}

// The register's files as they are on disk now.
QByteArray filesOf(const QString& path)
{
    QByteArray all;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        all += TestFiles::read(path + QLatin1String(suffix));
    return all;
}

// What the register holds on disk: the file and its log. (The index file
// beside them changes whenever a program reads.)
QByteArray contentsOf(const QString& path)
{
    return TestFiles::read(path) + "|" + TestFiles::read(path + "-wal") + "|" + TestFiles::read(path + "-journal");
}

// The permission bits of `path` as "0600", or "missing".
QString modeOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("missing");
    return QStringLiteral("0%1").arg(info.st_mode & 07777, 3, 8, QLatin1Char('0'));
}

// The register's fact `name` as the file keeps it, "" when it has none.
QString factOf(const QString& path, const QString& name)
{
    QString value;
    {
        QSqlDatabase file = QSqlDatabase::addDatabase("QSQLITE", "facts");
        file.setDatabaseName(path);
        if (file.open()) {
            QSqlQuery query(file);
            query.prepare("SELECT value FROM register_facts WHERE name = ?");
            query.addBindValue(name);
            if (query.exec() && query.next())
                value = QString::fromLatin1(query.value(0).toByteArray());
        }
    }
    QSqlDatabase::removeDatabase("facts");
    return value;
}

constexpr bool builtWithAddressSanitizer()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

// The memory this process keeps locked out of swap, in kB (VmLck).
int lockedKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmLck:"))
            return line.mid(6).trimmed().split(' ').value(0).toInt();
    }
    return -1;
}

bool inPrivateMountNamespace()
{
    return QFile::symLinkTarget(QStringLiteral("/proc/self/ns/mnt")) !=
               QFile::symLinkTarget(QStringLiteral("/proc/1/ns/mnt")) ||
           QFileInfo(QStringLiteral("/proc/self/ns/mnt")).canonicalFilePath() !=
               QFileInfo(QStringLiteral("/proc/1/ns/mnt")).canonicalFilePath();
}

// The child side of the tests with two processes: records `count` drafts in
// the register at `path`, check numbers from `first` on, and writes the
// check number of each one on its output once it is committed.
int recordDrafts(const QString& path, int count, int first)
{
    try {
        RegisterSession session(path, nullptr);
        DraftRegister& drafts = session.open(nullptr);
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly))
            return 2;
        for (int i = 0; i < count; ++i) {
            const QString number = QString::number(first + i);
            drafts.record(
                printed(withChanges(sampleTexts(), {QStringLiteral("6=") + number, QStringLiteral("13=") + number})),
                DraftEvent::printed(number));
            out.write(number.toLatin1() + '\n');
            out.flush();
        }
    } catch (const RegisterError& error) {
        QFile err;
        if (err.open(stderr, QIODevice::WriteOnly))
            err.write(error.message().toUtf8() + '\n');
        return 1;
    }
    return 0;
}

// The child side of the test of two programs printing one check at once:
// asks the journal whether the check may go, says "ready", waits for a line
// on its input, then sends it; says "recorded", or "asked" when the
// duplicate question came (answered No). SQLite's own hooks tell the test
// where it stands: "waiting" when it first waits for the other program's
// write to end, and, with `holdCommit`, "committing" when its record is
// about to be committed, which then waits for another line.
int printOneCheck(const QString& path, bool holdCommit)
{
    static QFile out;
    static QFile in;
    if (!out.open(stdout, QIODevice::WriteOnly) || !in.open(stdin, QIODevice::ReadOnly))
        return 2;
    RegisterSession session(path, nullptr);
    FakeQuestionBox questions;
    FakeAuthorizationOffer offer;
    RegisterJournal journal([&](SentDraft::Kind) -> DraftRecorder& { return session.open(nullptr); },
                            [&]() -> DraftRecorder* { return &session.open(nullptr); }, questions, offer);
    const std::unique_ptr<DraftTicket> ticket = journal.maySend(quickPrintOf(sampleTexts()));
    if (!ticket || !questions.asked.isEmpty())
        return 3;
    for (const QString& name : QSqlDatabase::connectionNames()) {
        const QVariant handle = QSqlDatabase::database(name, false).driver()->handle();
        sqlite3* connection = handle.isValid() ? *static_cast<sqlite3* const*>(handle.constData()) : nullptr;
        if (!connection)
            continue;
        // Waits as long as the register's own busy timeout would, saying so once.
        sqlite3_busy_handler(
            connection,
            [](void*, int tries) {
                if (tries == 0) {
                    out.write("waiting\n");
                    out.flush();
                }
                sqlite3_sleep(10);
                return tries < 3000 ? 1 : 0;
            },
            nullptr);
        if (holdCommit)
            sqlite3_commit_hook(
                connection,
                [](void*) {
                    out.write("committing\n");
                    out.flush();
                    in.readLine();
                    return 0;
                },
                nullptr);
    }
    out.write("ready\n");
    out.flush();
    in.readLine();
    const bool sent = ticket->sending(QStringLiteral("Office"));
    // Only the duplicate question counts: a register that could not be
    // written would ask whether to print without recording.
    const bool duplicate = questions.asked.size() == 1 && questions.asked.front().startsWith("Check 1042 ");
    out.write(sent ? "recorded\n" : duplicate ? "asked\n" : questions.asked.join('|').toUtf8() + '\n');
    out.flush();
    return 0;
}

} // namespace

class TstRegister : public QObject {
    Q_OBJECT

private:
    QString folder(const QString& name) const
    {
        const QString path = QDir::homePath() + QStringLiteral("/registers/") +
                             QString::fromLatin1(QTest::currentTestFunction()) + QLatin1Char('/') + name;
        QDir().mkpath(path);
        return path;
    }

    // A register on `path` whose key the fake keyring keeps, at the test's clock.
    std::unique_ptr<RegisterSession> session(const QString& path)
    {
        return std::make_unique<RegisterSession>(
            path, &m_keyring, [this] { return m_now; }, RegisterSession::KeyringThreads::Any, "ann@desk-2");
    }

    // A register kept in memory, for its rules: what it holds and answers
    // does not depend on where it is kept.
    std::unique_ptr<DraftRegister> registerInMemory()
    {
        return std::make_unique<DraftRegister>(
            std::make_unique<FakeRegisterStore>(),
            std::make_unique<RegisterCipher>(SecretBytes::copyOf(QByteArray(RegisterCipher::KeyBytes, 7))),
            folder("proofs"), [this] { return m_now; });
    }

    QProcess* startWriter(const QString& path, int count, int first)
    {
        auto* writer = new QProcess(this);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QUILLO_REGISTER_PASSPHRASE"),
                           QStringLiteral("two writers share one ledger"));
        writer->setProcessEnvironment(environment);
        writer->start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--record-drafts"), path, QString::number(count), QString::number(first)});
        return writer;
    }

    void mountTmpfs(const QString& where, const QByteArray& options)
    {
        QVERIFY2(inPrivateMountNamespace(), "run through run-isolated.sh --private-mounts");
        QDir().mkpath(where);
        QVERIFY2(
            ::mount("tmpfs", QFile::encodeName(where).constData(), "tmpfs", 0, options.constData()) == 0,
            qPrintable(QStringLiteral("mount tmpfs on %1: %2").arg(where, QString::fromLocal8Bit(strerror(errno)))));
        m_mounts.append(where);
    }

    FakeKeyring m_keyring;
    QDateTime m_now = Now;
    QStringList m_mounts;

private Q_SLOTS:
    void init()
    {
        m_keyring = FakeKeyring();
        m_now = Now;
        qunsetenv("QUILLO_REGISTER_PASSPHRASE");
    }

    void cleanup()
    {
        for (const QString& where : std::as_const(m_mounts))
            ::umount2(QFile::encodeName(where).constData(), MNT_DETACH);
        m_mounts.clear();
    }

    void keptInTheUsersDataFolder()
    {
        QCOMPARE(RegisterSession::defaultPath(),
                 qEnvironmentVariable("XDG_DATA_HOME") + "/Quillo/Quillo/register.sqlite");
    }

    void statusIsTheLatestStatusEvent_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("history");
        QTest::addColumn<QStringList>("codes"); // the kinds as the file keeps them: a later program reads them

        QTest::newRow("sent, no outcome yet") << QStringList() << "Uncertain" << QStringList() << QStringList();
        QTest::newRow("printed") << QStringList{"printed:17"} << "Printed"
                                 << QStringList{"2026-12-08T18:01:00Z Printed|17|"} << QStringList{"printed"};
        QTest::newRow("exported with the draft")
            << QStringList{"exported-first"} << "Exported" << QStringList{"2026-12-08T18:00:00Z Exported||"}
            << QStringList{"exported"};
        QTest::newRow("uncertain, then found printed")
            << QStringList{"uncertain:17", "settled:17:completed"} << "Printed"
            << QStringList{"2026-12-08T18:01:00Z Uncertain|17|",
                           "2026-12-08T18:02:00Z Printed|17|The print service later reported the job completed."}
            << QStringList{"uncertain", "printed"};
        QTest::newRow("uncertain, then found canceled")
            << QStringList{"uncertain:17", "canceled:17:canceled"} << "Not printed"
            << QStringList{"2026-12-08T18:01:00Z Uncertain|17|",
                           "2026-12-08T18:02:00Z Not printed|17|The print service later reported the job canceled."}
            << QStringList{"uncertain", "not-printed"};
        QTest::newRow("a note leaves the status")
            << QStringList{"printed:17", "note:Customer called, all fine"} << "Printed"
            << QStringList{"2026-12-08T18:01:00Z Printed|17|", "2026-12-08T18:02:00Z Note||Customer called, all fine"}
            << QStringList{"printed", "note"};
        QTest::newRow("so does a confirmation letter")
            << QStringList{"printed:17", "letter:Printed on Office.:18"} << "Printed"
            << QStringList{"2026-12-08T18:01:00Z Printed|17|",
                           "2026-12-08T18:02:00Z Confirmation letter sent|18|Printed on Office."}
            << QStringList{"printed", "letter-sent"};
        QTest::newRow("and going without an authorization record")
            << QStringList{"no-authorization:The merchant chose Print Without Record.", "printed:17"} << "Printed"
            << QStringList{"2026-12-08T18:01:00Z No authorization record||The merchant chose Print Without Record.",
                           "2026-12-08T18:02:00Z Printed|17|"}
            << QStringList{"no-authorization", "printed"};
        QTest::newRow("voided") << QStringList{"printed:17", "voided"} << "Voided"
                                << QStringList{"2026-12-08T18:01:00Z Printed|17|", "2026-12-08T18:02:00Z Voided||"}
                                << QStringList{"printed", "voided"};
        QTest::newRow("deposited, then returned")
            << QStringList{"printed:17", "deposited", "returned:Insufficient funds", "note:Asked for a new check"}
            << "Returned"
            << QStringList{"2026-12-08T18:01:00Z Printed|17|", "2026-12-08T18:02:00Z Deposited||",
                           "2026-12-08T18:03:00Z Returned||Insufficient funds|Other",
                           "2026-12-08T18:04:00Z Note||Asked for a new check"}
            << QStringList{"printed", "deposited", "returned", "note"};
    }

    void statusIsTheLatestStatusEvent()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, status);
        QFETCH(QStringList, history);
        QFETCH(QStringList, codes);

        const QString path = folder(QTest::currentDataTag()) + "/register.sqlite";
        auto first = session(path);
        DraftRegister& drafts = first->open(nullptr);
        const bool exportedFirst = steps.value(0) == QLatin1String("exported-first");
        const DraftId id =
            drafts.record(printed(sampleTexts()), exportedFirst ? std::optional(DraftEvent::exported()) : std::nullopt);
        for (const QString& step : steps) {
            if (step == QLatin1String("exported-first"))
                continue;
            m_now = m_now.addSecs(60);
            drafts.append(id, eventFrom(step));
        }
        first.reset();

        // What a later run reads back from the file.
        auto later = session(path);
        DraftRegister& reopened = later->open(nullptr);
        const DraftDetails details = reopened.details(id);
        QStringList lines;
        for (const RecordedEvent& event : details.history)
            lines.append(historyLine(event));
        QCOMPARE(lines, history);
        QCOMPARE(RegisterTexts::statusName(details.status), status);
        const std::vector<DraftSummary> listed = reopened.drafts();
        QCOMPARE(listed.size(), std::size_t(1));
        QCOMPARE(RegisterTexts::statusName(listed.front().status), status);
        QCOMPARE(details.record.texts, sampleTexts());
        later.reset();
        QCOMPARE(eventCodes(path), codes);
    }

    void whichChangeFollowsWhichStatus_data()
    {
        QTest::addColumn<DraftStatus>("status");
        // What each change answers, in the order Void, Deposit, Pay, Return,
        // Re-present, Withdraw; empty where it applies.
        QTest::addColumn<QStringList>("refusals");

        const QString notDeposited = "The draft has not been deposited.";
        const QString onlyBeforeDeposit = "Only a draft not yet deposited can be voided.";
        const QString onlyReturned = "Only a draft that came back from the bank can be re-presented.";
        const QString fromItsPrint = "There is no change to withdraw: the draft's status comes from its print.";
        const QString withTheBank = "The draft is with the bank.";
        QTest::newRow("printed") << DraftStatus::Printed
                                 << QStringList{"", "", notDeposited, notDeposited, onlyReturned, fromItsPrint};
        QTest::newRow("exported") << DraftStatus::Exported
                                  << QStringList{"", "", notDeposited, notDeposited, onlyReturned, fromItsPrint};
        QTest::newRow("uncertain") << DraftStatus::Uncertain
                                   << QStringList{"", "", notDeposited, notDeposited, onlyReturned, fromItsPrint};
        QTest::newRow("not printed") << DraftStatus::NotPrinted
                                     << QStringList{"The draft was not printed.",
                                                    "The draft was not printed.",
                                                    "The draft was not printed.",
                                                    "The draft was not printed.",
                                                    onlyReturned,
                                                    fromItsPrint};
        QTest::newRow("voided") << DraftStatus::Voided
                                << QStringList{"The draft is voided.", "The draft is voided.", "The draft is voided.",
                                               "The draft is voided.", onlyReturned,           ""};
        QTest::newRow("deposited") << DraftStatus::Deposited
                                   << QStringList{onlyBeforeDeposit, withTheBank, "", "", onlyReturned, ""};
        QTest::newRow("re-presented") << DraftStatus::Represented
                                      << QStringList{onlyBeforeDeposit, withTheBank, "", "", onlyReturned, ""};
        const QString cameBack = "The draft came back from the bank: mark it Re-presented first if it went again.";
        QTest::newRow("returned") << DraftStatus::Returned
                                  << QStringList{
                                         onlyBeforeDeposit,
                                         "The draft came back from the bank: mark it Re-presented when it goes again.",
                                         cameBack,
                                         cameBack,
                                         "",
                                         ""};
        QTest::newRow("paid") << DraftStatus::Paid
                              << QStringList{onlyBeforeDeposit,    "The draft is paid.", "The draft is paid.",
                                             "The draft is paid.", onlyReturned,         ""};
    }

    void whichChangeFollowsWhichStatus()
    {
        QFETCH(DraftStatus, status);
        QFETCH(QStringList, refusals);

        using Change = DraftLifecycle::Change;
        QStringList answers;
        for (const Change change :
             {Change::Void, Change::Deposit, Change::Pay, Change::Return, Change::Represent, Change::Withdraw})
            answers.append(DraftLifecycle::refusal(status, change).value_or(QString()));
        QCOMPARE(answers, refusals);
    }

    void theDayOfAChange_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("refusal");

        // The latest status on 12/03/2026; today 12/08/2026.
        QTest::newRow("today") << QDate(2026, 12, 8) << QString();
        QTest::newRow("tomorrow") << QDate(2026, 12, 9) << "The date cannot be later than today.";
        QTest::newRow("the day of the latest status") << QDate(2026, 12, 3) << QString();
        QTest::newRow("the day before")
            << QDate(2026, 12, 2) << "The date cannot be before 12/03/2026, the date of the draft's latest status.";
        QTest::newRow("no date") << QDate() << "The date is not a date.";
    }

    void theDayOfAChange()
    {
        QFETCH(QDate, day);
        QFETCH(QString, refusal);
        QCOMPARE(DraftLifecycle::dayRefusal(day, QDate(2026, 12, 3), QDate(2026, 12, 8)).value_or(QString()), refusal);
    }

    void aDraftsLifeWithTheBank_data()
    {
        QTest::addColumn<QStringList>("steps"); // eventFrom's, or "withdraw"; each a minute after the one before
        QTest::addColumn<QStringList>("refused");
        QTest::addColumn<DraftStatus>("status");
        QTest::addColumn<QStringList>("history"); // after the print on 12/01

        QTest::newRow("deposited, returned, re-presented twice, paid")
            << QStringList{"deposited:2026-12-02:Slip 15",    "returned:insufficient-funds:2026-12-04",
                           "re-presented:2026-12-05:Slip 16", "returned:uncollected-funds:2026-12-06",
                           "re-presented:2026-12-07",         "paid:2026-12-08"}
            << QStringList() << DraftStatus::Paid
            << QStringList{"2026-12-08T18:01:00Z Deposited||Slip 15|on 2026-12-02",
                           "2026-12-08T18:02:00Z Returned|||on 2026-12-04|Insufficient funds",
                           "2026-12-08T18:03:00Z Re-presented||Slip 16|on 2026-12-05",
                           "2026-12-08T18:04:00Z Returned|||on 2026-12-06|Uncollected funds",
                           "2026-12-08T18:05:00Z Re-presented|||on 2026-12-07",
                           "2026-12-08T18:06:00Z Paid|||on 2026-12-08"};
        QTest::newRow("a deposit today by default")
            << QStringList{"deposited"} << QStringList() << DraftStatus::Deposited
            << QStringList{"2026-12-08T18:01:00Z Deposited|||on 2026-12-08"};
        QTest::newRow("void after a deposit")
            << QStringList{"deposited:2026-12-07", "voided"}
            << QStringList{"Only a draft not yet deposited can be voided."} << DraftStatus::Deposited
            << QStringList{"2026-12-08T18:01:00Z Deposited|||on 2026-12-07"};
        QTest::newRow("returned before a deposit")
            << QStringList{"returned:not-authorized:2026-12-07"} << QStringList{"The draft has not been deposited."}
            << DraftStatus::Printed << QStringList();
        QTest::newRow("deposited after a void")
            << QStringList{"voided", "deposited:2026-12-08"} << QStringList{"The draft is voided."}
            << DraftStatus::Voided << QStringList{"2026-12-08T18:01:00Z Voided|||on 2026-12-08"};
        QTest::newRow("paid after a return, then re-presented")
            << QStringList{"deposited:2026-12-02", "returned:stop-payment:2026-12-03", "paid:2026-12-04",
                           "re-presented:2026-12-04", "paid:2026-12-05"}
            << QStringList{"The draft came back from the bank: mark it Re-presented first if it went again."}
            << DraftStatus::Paid
            << QStringList{"2026-12-08T18:01:00Z Deposited|||on 2026-12-02",
                           "2026-12-08T18:02:00Z Returned|||on 2026-12-03|Stop payment",
                           "2026-12-08T18:04:00Z Re-presented|||on 2026-12-04",
                           "2026-12-08T18:05:00Z Paid|||on 2026-12-05"};
        QTest::newRow("a day before the latest status")
            << QStringList{"deposited:2026-12-05", "returned:account-closed:2026-12-04"}
            << QStringList{"The date cannot be before 12/05/2026, the date of the draft's latest status."}
            << DraftStatus::Deposited << QStringList{"2026-12-08T18:01:00Z Deposited|||on 2026-12-05"};
        QTest::newRow("a day after today")
            << QStringList{"deposited:2026-12-09"} << QStringList{"The date cannot be later than today."}
            << DraftStatus::Printed << QStringList();
        QTest::newRow("a deposit withdrawn, then voided")
            << QStringList{"deposited:2026-12-07", "withdraw", "voided"} << QStringList() << DraftStatus::Voided
            << QStringList{"2026-12-08T18:01:00Z Deposited|||on 2026-12-07 (withdrawn)",
                           "2026-12-08T18:02:00Z Withdrawn||", "2026-12-08T18:03:00Z Voided|||on 2026-12-08"};
        QTest::newRow("two changes withdrawn, not the print")
            << QStringList{"deposited:2026-12-07", "returned:not-authorized:2026-12-08", "withdraw", "withdraw",
                           "withdraw"}
            << QStringList{"There is no change to withdraw: the draft's status comes from its print."}
            << DraftStatus::Printed
            << QStringList{"2026-12-08T18:01:00Z Deposited|||on 2026-12-07 (withdrawn)",
                           "2026-12-08T18:02:00Z Returned|||on 2026-12-08|Not authorized (withdrawn)",
                           "2026-12-08T18:03:00Z Withdrawn||", "2026-12-08T18:04:00Z Withdrawn||"};
        QTest::newRow("a withdrawn return is deposited again")
            << QStringList{"deposited:2026-12-07", "returned:not-authorized:2026-12-08", "withdraw", "paid:2026-12-08"}
            << QStringList() << DraftStatus::Paid
            << QStringList{"2026-12-08T18:01:00Z Deposited|||on 2026-12-07",
                           "2026-12-08T18:02:00Z Returned|||on 2026-12-08|Not authorized (withdrawn)",
                           "2026-12-08T18:03:00Z Withdrawn||", "2026-12-08T18:04:00Z Paid|||on 2026-12-08"};
    }

    void aDraftsLifeWithTheBank()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, refused);
        QFETCH(DraftStatus, status);
        QFETCH(QStringList, history);

        // The same life in a register file and in the store of the rules' tests.
        auto file = session(folder(QTest::currentDataTag()) + "/register.sqlite");
        const std::unique_ptr<DraftRegister> inMemory = registerInMemory();
        for (DraftRegister* drafts : {&file->open(nullptr), inMemory.get()}) {
            m_now = Now.addDays(-7);
            const DraftId id = drafts->record(printed(sampleTexts()), DraftEvent::printed("17"));
            m_now = Now;
            QStringList refusals;
            for (const QString& step : steps) {
                m_now = m_now.addSecs(60);
                try {
                    if (step == QLatin1String("withdraw"))
                        drafts->withdrawLatestChange(id);
                    else
                        drafts->change(id, eventFrom(step));
                } catch (const QuilloError& error) {
                    refusals.append(error.message());
                }
            }
            QCOMPARE(refusals, refused);
            const DraftDetails details = drafts->details(id);
            QStringList lines;
            for (const RecordedEvent& event : details.history)
                lines.append(historyLine(event));
            QCOMPARE(lines, QStringList{"2026-12-01T18:00:00Z Printed|17|"} + history);
            QCOMPARE(details.status, status);
            QCOMPARE(drafts->drafts().front().status, status);
        }
    }

    void aDraftKeepsWhatItWasPrintedWith()
    {
        auto registerSession = session(folder("kept") + "/register.sqlite");
        DraftRegister& drafts = registerSession->open(nullptr);
        DraftRecord draft = printed(withChanges(sampleTexts(), {"7=Acme Supplies LLC          "}));
        draft.setup.bankLine = PageSetup::BankLine::Standard;
        draft.setup.offsetRight = -12;
        draft.setup.offsetDown = 7;
        draft.kind = SentDraft::Kind::PreviewPrint;
        draft.destinationName = QStringLiteral("Front Desk");
        draft.sourceFile = QStringLiteral("/home/merchant/Documents/Jane Q. Customer.qlo");
        const DraftId id = drafts.record(draft, DraftEvent::printed(QStringLiteral("Front Desk-88")));

        const DraftDetails details = drafts.details(id);
        QCOMPARE(details.recorded, Now);
        QCOMPARE(details.record.texts[Box::Payee], "Acme Supplies LLC          ");
        QCOMPARE(details.record.setup.bankLine, PageSetup::BankLine::Standard);
        QCOMPARE(details.record.setup.offsetRight, -12);
        QCOMPARE(details.record.setup.offsetDown, 7);
        QCOMPARE(details.record.kind, SentDraft::Kind::PreviewPrint);
        QCOMPARE(details.record.destinationName, "Front Desk");
        QCOMPARE(details.record.sourceFile, "/home/merchant/Documents/Jane Q. Customer.qlo");
        QCOMPARE(details.history.at(0).event.jobId, "Front Desk-88");

        const DraftSummary listed = drafts.drafts().front();
        QCOMPARE(listed.checkNumber, "1042");
        QCOMPARE(listed.payee, "Acme Supplies LLC");
        QCOMPARE(listed.amount, "$1,234.56");
        QCOMPARE(listed.accountLastFour, "6789");
        QCOMPARE(listed.destinationName, "Front Desk");
        QCOMPARE(drafts.payor(listed), "Jane Q. Customer");
    }

    void uncertainPrintsAreListedUntilSettled()
    {
        auto registerSession = session(folder("uncertain") + "/register.sqlite");
        DraftRegister& drafts = registerSession->open(nullptr);
        const DraftId open = drafts.record(printed(sampleTexts()), DraftEvent::uncertain("31"));
        const DraftId settled = drafts.record(printed(sampleTexts()), DraftEvent::uncertain("32"));
        drafts.record(printed(sampleTexts()), DraftEvent::printed("33"));
        drafts.record(printed(sampleTexts()), std::nullopt); // no job id to ask about
        const DraftId noted = drafts.record(printed(sampleTexts()), DraftEvent::uncertain("35"));
        drafts.append(noted, DraftEvent::note("Looked at the queue"));

        std::vector<UncertainPrint> pending = drafts.uncertainPrints();
        QCOMPARE(pending.size(), std::size_t(3));
        QCOMPARE(pending[1].draft, settled);
        QCOMPARE(pending[1].printer, "Office");
        QCOMPARE(pending[1].jobId, "32");

        drafts.recordLookUp(pending[1], true, "completed");
        pending = drafts.uncertainPrints();
        QCOMPARE(pending.size(), std::size_t(2));
        QCOMPARE(pending[0].draft, open);
        QCOMPARE(pending[1].draft, noted);
        QCOMPARE(drafts.details(settled).status, DraftStatus::Printed);
    }

    void uncertainPrintsAreSettledByALaterLookUp()
    {
        auto registerSession = session(folder("settling") + "/register.sqlite");
        DraftRegister& drafts = registerSession->open(nullptr);
        const DraftId completed = drafts.record(printed(sampleTexts()), DraftEvent::uncertain("41"));
        const DraftId canceled = drafts.record(printed(sampleTexts()), DraftEvent::uncertain("42"));
        const DraftId aborted = drafts.record(printed(sampleTexts()), DraftEvent::uncertain("43"));
        const DraftId pending = drafts.record(printed(sampleTexts()), DraftEvent::uncertain("44"));
        const DraftId unknown = drafts.record(printed(sampleTexts()), DraftEvent::uncertain("45"));
        FakePrintJobStates states;
        states.states = {{41, PrintJobState::Completed},
                         {42, PrintJobState::Canceled},
                         {43, PrintJobState::Aborted},
                         {44, PrintJobState::Pending},
                         {45, PrintJobState::Unknown}};
        UncertainSettler settler([&]() -> UncertainPrints& { return drafts; }, states);
        QSignalSpy settled(&settler, &UncertainSettler::settled);
        settler.settle();
        QTRY_COMPARE(settled.count(), 1);

        QCOMPARE(states.asked, (QStringList{"Office 41", "Office 42", "Office 43", "Office 44", "Office 45"}));
        QCOMPARE(drafts.details(completed).status, DraftStatus::Printed);
        QCOMPARE(historyLine(drafts.details(completed).history.back()),
                 "2026-12-08T18:00:00Z Printed|41|The print service later reported the job completed.");
        QCOMPARE(drafts.details(canceled).status, DraftStatus::NotPrinted);
        QCOMPARE(drafts.details(aborted).status, DraftStatus::NotPrinted);
        // Still on its way, or not known: asked again next time.
        QCOMPARE(drafts.details(pending).status, DraftStatus::Uncertain);
        QCOMPARE(drafts.details(unknown).status, DraftStatus::Uncertain);
        states.asked.clear();
        settler.settle();
        QTRY_COMPARE(settled.count(), 2);
        QCOMPARE(states.asked, (QStringList{"Office 44", "Office 45"}));
    }

    void printCommandsKeepTheirDraftsOnRecord()
    {
        auto registerSession = session(folder("journal") + "/register.sqlite");
        DraftRegister& drafts = registerSession->open(nullptr);
        JournalOver over(drafts);
        auto& [questions, offer, journal] = over;
        const SentDraft quickPrint{sampleTexts(), {}, SentDraft::Kind::QuickPrint, QStringLiteral("/tmp/a.qlo"), {}};

        // A first draft goes without a question; recorded as it goes, its outcome after.
        const std::unique_ptr<DraftTicket> ticket = journal.maySend(quickPrint);
        QVERIFY(ticket);
        QVERIFY(ticket->sending(QStringLiteral("Office")));
        const DraftId id = ticket->recordId().value();
        QCOMPARE(drafts.details(id).status, DraftStatus::Uncertain);
        QCOMPARE(ticket->sent(PrintOutcome::confirmed(QStringLiteral("Office"), 88)), QString());
        QCOMPARE(drafts.details(id).status, DraftStatus::Printed);
        QCOMPARE(drafts.details(id).history.back().event.jobId, "88");
        QCOMPARE(drafts.details(id).record.sourceFile, "/tmp/a.qlo");
        QVERIFY(questions.asked.isEmpty());

        // The same draft again: asked first; No sends nothing, Yes sends it.
        questions.answers = {false, true};
        QVERIFY(!journal.maySend(quickPrint));
        QVERIFY(journal.maySend(quickPrint));
        QCOMPARE(questions.asked,
                 QStringList(2, "Check 1042 on the account ending in 6789 was already printed on 12/08/2026 (job 88 "
                                "on \"Office\") for 1,234.56 to \"Acme Supplies LLC\". Print it again?"));

        // The same amount on the same account under another check number is marked while typed.
        const CheckTexts next = withChanges(sampleTexts(), {QStringLiteral("6=1043"), QStringLiteral("13=1043")});
        QCOMPARE(marksOf(journal.marks(quickPrintOf(next))),
                 QStringList{"9: Check 1042 for the same amount on the account ending in 6789 was printed on "
                             "12/08/2026 to \"Acme Supplies LLC\"."});
        QCOMPARE(marksOf(journal.marks(quickPrintOf(withChanges(next, {QStringLiteral("9=$1,234.57")})))),
                 QStringList());

        // An export is recorded once its file is written, and only then.
        const SentDraft exported{sampleTexts(), {}, SentDraft::Kind::PdfFile, {}, {}};
        questions.answer = true; // the same check again
        const std::unique_ptr<DraftTicket> file = journal.maySend(exported);
        QVERIFY(file);
        QVERIFY(file->sending(QStringLiteral("/tmp/a.pdf")));
        QVERIFY(!file->recordId());
        const std::size_t before = drafts.drafts().size();
        file->sent(PrintOutcome::notPrinted(QStringLiteral("The disk is full."), "/tmp/a.pdf"));
        QCOMPARE(drafts.drafts().size(), before);
        file->sent(PrintOutcome::confirmed(QStringLiteral("/tmp/a.pdf")));
        QCOMPARE(drafts.drafts().front().status, DraftStatus::Exported);
        QCOMPARE(drafts.drafts().front().destinationName, "/tmp/a.pdf");
        // Sent after the duplicate question: the reprint of the first draft, which is none.
        const DraftDetails again = drafts.details(drafts.drafts().front().id);
        QCOMPARE(again.record.reprintOf, std::optional<DraftId>(id));
        QCOMPARE(again.reprintOfRecorded, Now);
        QCOMPARE(drafts.details(id).record.reprintOf, std::nullopt);
    }

    void twoPrintsUnderWayKeepTheirOwnRecords()
    {
        auto registerSession = session(folder("interleaved") + "/register.sqlite");
        DraftRegister& drafts = registerSession->open(nullptr);
        JournalOver over(drafts);
        auto& [questions, offer, journal] = over;
        offer.offered = true;
        const SentDraft first{sampleTexts(), {}, SentDraft::Kind::QuickPrint, QStringLiteral("/tmp/a.qlo"), {}};
        const SentDraft second{withChanges(sampleTexts(), {"6=1043", "13=1043", "7=Beta Tools", "9=$75.00"}),
                               {},
                               SentDraft::Kind::PreviewPrint,
                               QStringLiteral("/tmp/b.qlo"),
                               {}};

        // The first goes with the record offered, the second without; each
        // step of one comes between the steps of the other.
        offer.answer = {AuthorizationOffer::Choice::Record, authorization()};
        const std::unique_ptr<DraftTicket> a = journal.maySend(first);
        offer.answer = {AuthorizationOffer::Choice::WithoutRecord, {}};
        const std::unique_ptr<DraftTicket> b = journal.maySend(second);
        QVERIFY(a && b);
        QVERIFY(b->sending(QStringLiteral("Back Office")));
        QVERIFY(a->sending(QStringLiteral("Office")));
        QCOMPARE(a->sent(PrintOutcome::confirmed(QStringLiteral("Office"), 11)), QString());
        QCOMPARE(b->sent(PrintOutcome::notPrinted(QStringLiteral("Out of paper."), QStringLiteral("Back Office"))),
                 QString());

        const DraftDetails one = drafts.details(a->recordId().value());
        const DraftDetails two = drafts.details(b->recordId().value());
        QCOMPARE(one.record.texts[Box::CheckNumber], "1042");
        QCOMPARE(one.record.sourceFile, "/tmp/a.qlo");
        QCOMPARE(one.record.destinationName, "Office");
        QCOMPARE(one.record.authorization, std::optional(authorization()));
        QCOMPARE(historyLine(one.history.at(0)), "2026-12-08T18:00:00Z Printed|11|");
        QCOMPARE(one.history.size(), std::size_t(1));
        QCOMPARE(two.record.texts[Box::Payee], "Beta Tools");
        QCOMPARE(two.record.sourceFile, "/tmp/b.qlo");
        QCOMPARE(two.record.kind, SentDraft::Kind::PreviewPrint);
        QCOMPARE(two.record.destinationName, "Back Office");
        QCOMPARE(two.record.authorization, std::nullopt);
        QStringList lines;
        for (const RecordedEvent& event : two.history)
            lines.append(historyLine(event));
        QCOMPARE(lines, (QStringList{"2026-12-08T18:00:00Z No authorization record||The merchant chose Print Without "
                                     "Record.",
                                     "2026-12-08T18:00:00Z Not printed||Out of paper."}));
        QVERIFY(questions.asked.isEmpty());
    }

    void aCheckSentMeanwhileIsAskedAboutBeforeItGoes_data()
    {
        // What another program records before the merchant presses Print and
        // meanwhile, each "<check number>[=<amount>][+a<drafts authorized>]".
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("meanwhile");
        QTest::addColumn<bool>("duringTheOffer"); // recorded while the authorization is offered
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("question"); // none when empty

        const QString again = "Check 1042 on the account ending in 6789 may have been printed on 12/08/2026 (the print "
                              "service did not say) for 1,234.56 to \"Acme Supplies LLC\". Print it again?";
        const QString sameAmount = "Check 1043 for the same amount on the account ending in 6789 was printed on "
                                   "12/08/2026 to \"Acme Supplies LLC\". Print this one?";
        const QString usedUp = "The authorization of 12/01/2026 on the account ending in 6789 was for 2 drafts, and 2 "
                               "have been printed: this draft needs an authorization of its own. Print this one?";
        const QStringList none;
        QTest::newRow("the same check, No") << none << QStringList{"1042"} << false << false << again;
        QTest::newRow("the same check, Yes") << none << QStringList{"1042"} << false << true << again;
        QTest::newRow("the same check while the authorization is offered, No")
            << none << QStringList{"1042"} << true << false << again;
        QTest::newRow("the same amount on another check, No")
            << none << QStringList{"1043"} << false << false << sameAmount;
        QTest::newRow("the same amount on another check, Yes")
            << none << QStringList{"1043"} << false << true << sameAmount;
        QTest::newRow("the same amount, marked before Print")
            << QStringList{"1043"} << none << false << false << QString();
        QTest::newRow("a cent more on another check")
            << none << QStringList{"1043=$1,234.57"} << false << false << QString();
        QTest::newRow("the authorization's last draft, No")
            << QStringList{"1041=$75.00+a2"} << QStringList{"1043=$75.00+a2"} << false << false << usedUp;
        QTest::newRow("the authorization's last draft, Yes")
            << QStringList{"1041=$75.00+a2"} << QStringList{"1043=$75.00+a2"} << false << true << usedUp;
        QTest::newRow("the authorization with a draft left")
            << QStringList{"1041=$75.00+a3"} << QStringList{"1043=$75.00+a3"} << false << false << QString();
    }

    void aCheckSentMeanwhileIsAskedAboutBeforeItGoes()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, meanwhile);
        QFETCH(bool, duringTheOffer);
        QFETCH(bool, yes);
        QFETCH(QString, question);

        // Two programs on one register, each with its own connection.
        const QString path = folder(QTest::currentDataTag()) + "/register.sqlite";
        auto mine = session(path);
        auto other = session(path);
        DraftRegister& drafts = mine->open(nullptr);
        DraftRegister& otherDrafts = other->open(nullptr);
        const auto otherRecords = [&](const QStringList& checks) {
            for (const QString& check : checks)
                otherDrafts.record(sampleDraft(check), std::nullopt);
        };
        otherRecords(before);
        JournalOver over(drafts);
        auto& [questions, offer, journal] = over;
        questions.answer = yes;
        offer.offered = duringTheOffer;
        offer.answer = {AuthorizationOffer::Choice::WithoutRecord, {}};
        if (duringTheOffer)
            offer.whileOpen = [&] { otherRecords(meanwhile); };

        const std::unique_ptr<DraftTicket> ticket = journal.maySend(quickPrintOf(sampleTexts()));
        QVERIFY(ticket);
        QVERIFY(questions.asked.isEmpty());
        if (!duringTheOffer)
            otherRecords(meanwhile);
        const bool recorded = question.isEmpty() || yes;
        QCOMPARE(ticket->sending(QStringLiteral("Office")), recorded);
        QCOMPARE(questions.asked, question.isEmpty() ? QStringList() : QStringList{question});
        // No: nothing of it is recorded. Yes: recorded after the other's.
        QCOMPARE(drafts.drafts().size(), std::size_t(before.size() + meanwhile.size() + (recorded ? 1 : 0)));
        QCOMPARE(ticket->recordId().has_value(), recorded);
        if (recorded)
            QCOMPARE(drafts.drafts().front().id, ticket->recordId().value());
        // Only a check printed again is marked as the reprint of the other's draft.
        if (recorded && !meanwhile.isEmpty())
            QCOMPARE(drafts.drafts().front().reprintOf, meanwhile.first() == "1042" ? drafts.drafts().at(1).id : 0);
    }

    void twoProgramsPrintOneCheckAtOnce()
    {
        const QString path = folder("one-check") + "/register.sqlite";
        qputenv("QUILLO_REGISTER_PASSPHRASE", "two writers share one ledger");
        RegisterSession(path, nullptr).open(nullptr);

        // The first holds its record's commit; the second does not.
        QList<QProcess*> programs;
        for (const char* hold : {"hold", "go-on"}) {
            auto* program = new QProcess(this);
            program->start(QCoreApplication::applicationFilePath(),
                           {QStringLiteral("--print-one-check"), path, QString::fromLatin1(hold)});
            programs.append(program);
        }
        const auto nextLine = [](QProcess* program) {
            while (!program->canReadLine() && program->waitForReadyRead(60000)) {
            }
            return program->readLine();
        };
        for (QProcess* program : std::as_const(programs))
            QCOMPARE(nextLine(program), "ready\n");
        QProcess* first = programs.at(0);
        QProcess* second = programs.at(1);
        // The first has looked the check up and written its draft, and holds
        // its transaction open.
        first->write("go\n");
        QCOMPARE(nextLine(first), "committing\n");
        // The second waits before its own look-up, as its transaction begins
        // as a write: one that began as a read would have looked up already
        // and could never write after the first.
        second->write("go\n");
        QCOMPARE(nextLine(second), "waiting\n");
        first->write("commit\n");
        QCOMPARE(nextLine(first), "recorded\n");
        // Then it finds the first one's draft, and asks.
        QCOMPARE(nextLine(second), "asked\n");
        for (QProcess* program : std::as_const(programs)) {
            QVERIFY(program->waitForFinished(60000));
            QCOMPARE(program->exitCode(), 0);
        }
        QCOMPARE(RegisterSession(path, nullptr).open(nullptr).drafts().size(), std::size_t(1));
    }

    void aPrintsJobIsOnRecordBeforeItsDocumentGoes()
    {
        auto registerSession = session(folder("job-first") + "/register.sqlite");
        DraftRegister& drafts = registerSession->open(nullptr);
        JournalOver over(drafts);
        auto& [questions, offer, journal] = over;
        FakePrinterFinder printers;
        FakeMessageBox messages;
        FakeFailureReporter failures;
        Printing printing(printers, messages, failures, &journal);
        auto* printer = new FakePrintDestination;
        printer->holds = true;
        printer->startsJob = 41;
        printing.toDestination([&](const QPageLayout&) { return std::unique_ptr<PrintDestination>(printer); },
                               [](PrintSurface&) { return std::vector<QuickPrint::Overflow>(); },
                               QStringLiteral("Printed."), {}, quickPrintOf(sampleTexts()));

        // The service has the job, the document is on its way: a program
        // stopped now leaves an Uncertain draft that names its printer and job.
        QVERIFY(printing.isBusy());
        const DraftId id = drafts.drafts().front().id;
        QCOMPARE(drafts.details(id).status, DraftStatus::Uncertain);
        QCOMPARE(historyLine(drafts.details(id).history.back()), "2026-12-08T18:00:00Z Uncertain|41|");
        const std::vector<UncertainPrint> uncertain = drafts.uncertainPrints();
        QCOMPARE(uncertain.size(), std::size_t(1));
        QCOMPARE(uncertain.front().printer, "Front Desk");
        QCOMPARE(uncertain.front().jobId, "41");

        printer->answer(PrintOutcome::confirmed(QStringLiteral("Front Desk"), 41));
        QTRY_VERIFY(!printing.isBusy());
        QCOMPARE(drafts.details(id).status, DraftStatus::Printed);
        QCOMPARE(drafts.uncertainPrints().size(), std::size_t(0));
        QCOMPARE(messages.shown, QStringList{"Printed."});
    }

    void aRegisterThatCannotRecordIsNeverPassedOver()
    {
        FakeQuestionBox questions;
        FakeAuthorizationOffer offer;
        offer.offered = true;
        const auto failing = [](SentDraft::Kind) -> DraftRecorder& {
            throw RegisterError(QStringLiteral("the disk is full"));
        };
        RegisterJournal journal(
            failing, [] { return nullptr; }, questions, offer);
        const SentDraft draft = quickPrintOf(sampleTexts());
        const QString question =
            QStringLiteral("The draft register cannot be written: the disk is full. Print without recording it?");
        // No, the default: nothing goes.
        questions.answers = {false};
        QVERIFY(!journal.maySend(draft));
        QCOMPARE(questions.asked, QStringList{question});
        // Yes: it goes unrecorded, asked once for the command.
        questions.answers = {true};
        const std::unique_ptr<DraftTicket> ticket = journal.maySend(draft);
        QVERIFY(ticket);
        QVERIFY(ticket->sending(QStringLiteral("Office")));
        QVERIFY(!ticket->recordId());
        QCOMPARE(ticket->sent(PrintOutcome::confirmed(QStringLiteral("Office"), 3)), QString());
        QCOMPARE(questions.asked, QStringList(2, question));
        // Nothing can keep a record: none is offered.
        QVERIFY(offer.asked.isEmpty());

        // A sale the rules forbid is asked about all the same.
        questions.asked.clear();
        questions.answers = {true, false};
        QVERIFY(!journal.maySend(quickPrintOf(sampleTexts(), authorization({"sale=1"}))));
        QCOMPARE(questions.asked, (QStringList{question, "This draft pays for a telemarketing sale to a consumer, "
                                                         "which federal rules do not allow. Print it anyway?"}));
    }

    void anAuthorizationGoesWithItsPrint_data()
    {
        QTest::addColumn<bool>("offered");
        QTest::addColumn<int>("choice"); // AuthorizationOffer::Choice
        QTest::addColumn<QStringList>("history");
        QTest::addColumn<bool>("recorded");    // the offered record is the draft's
        QTest::addColumn<int>("offeredAgain"); // for the same draft in a later run
        QTest::addColumn<bool>("recordedAgain");

        const int record = int(AuthorizationOffer::Choice::Record);
        QTest::newRow("OK") << true << record << QStringList{"2026-12-08T18:00:00Z Printed|88|"} << true << 0 << true;
        QTest::newRow("Print Without Record")
            << true << int(AuthorizationOffer::Choice::WithoutRecord)
            << QStringList{"2026-12-08T18:00:00Z No authorization record||The merchant chose Print Without Record.",
                           "2026-12-08T18:00:00Z Printed|88|"}
            << false << 1 << false;
        QTest::newRow("Cancel: nothing goes")
            << true << int(AuthorizationOffer::Choice::Cancel) << QStringList() << false << 0 << false;
        QTest::newRow("the offer turned off")
            << false << record
            << QStringList{"2026-12-08T18:00:00Z No authorization record||The offer of an authorization record is "
                           "turned off.",
                           "2026-12-08T18:00:00Z Printed|88|"}
            << false << 0 << false;
    }

    void anAuthorizationGoesWithItsPrint()
    {
        QFETCH(bool, offered);
        QFETCH(int, choice);
        QFETCH(QStringList, history);
        QFETCH(bool, recorded);
        QFETCH(int, offeredAgain);
        QFETCH(bool, recordedAgain);

        const QString path = folder(QTest::currentDataTag()) + "/register.sqlite";
        FakeQuestionBox questions;
        questions.answer = true; // printed again in the later run
        FakeAuthorizationOffer offer;
        offer.offered = offered;
        offer.answer = {AuthorizationOffer::Choice(choice), authorization()};
        const auto print = [&](RegisterSession& registerSession) {
            RegisterJournal journal([&](SentDraft::Kind) -> DraftRecorder& { return registerSession.open(nullptr); },
                                    [&]() -> DraftRecorder* { return &registerSession.open(nullptr); }, questions,
                                    offer, [this] { return m_now; });
            const SentDraft draft = quickPrintOf(sampleTexts());
            const std::unique_ptr<DraftTicket> ticket = journal.maySend(draft);
            if (!ticket)
                return std::optional<DraftId>();
            ticket->sending(QStringLiteral("Office"));
            ticket->sent(PrintOutcome::confirmed(QStringLiteral("Office"), 88));
            return ticket->recordId();
        };
        auto first = session(path);
        const std::optional<DraftId> id = print(*first);

        // The offer is the draft's own: the payor, the amount and payee, now, one draft, the two choices to make.
        QCOMPARE(offer.asked.size(), offered ? 1 : 0);
        if (offered) {
            const AuthorizationRecord& asked = offer.asked.first();
            QCOMPARE(asked.authorizedBy, "Jane Q. Customer");
            QCOMPARE(asked.amount, "$1,234.56");
            QCOMPARE(asked.payee, "Acme Supplies LLC");
            QCOMPARE(asked.authorizedAt, Now);
            QCOMPARE(asked.drafts, 1);
            QCOMPARE(asked.id.size(), 32);
        }
        QCOMPARE(id.has_value(), !history.isEmpty());
        QCOMPARE(first->open(nullptr).drafts().size(), std::size_t(history.isEmpty() ? 0 : 1));
        if (!id)
            return;
        first.reset();

        // A later run: the draft keeps the record it was printed with, and
        // the same check printed again goes with it, unasked.
        auto later = session(path);
        const DraftDetails details = later->open(nullptr).details(*id);
        QStringList lines;
        for (const RecordedEvent& event : details.history)
            lines.append(historyLine(event));
        QCOMPARE(lines, history);
        QCOMPARE(details.record.authorization, recorded ? std::optional(authorization()) : std::nullopt);
        RegisterAuthorizations authorizations([&]() -> DraftRegister& { return later->open(nullptr); });
        QCOMPARE(authorizations.authorizationOf(quickPrintOf(sampleTexts())),
                 recorded ? std::optional(authorization()) : std::nullopt);
        offer.asked.clear();
        const std::optional<DraftId> again = print(*later);
        QCOMPARE(offer.asked.size(), offeredAgain);
        QVERIFY(again);
        QCOMPARE(later->open(nullptr).details(*again).record.authorization,
                 recordedAgain ? std::optional(authorization()) : std::nullopt);
    }

    void telemarketingIsAskedAbout_data()
    {
        QTest::addColumn<int>("sale"); // AuthorizationRecord::Sale
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("asked");

        using Sale = AuthorizationRecord::Sale;
        QTest::newRow("the customer called") << int(Sale::CustomerCalled) << false << false;
        QTest::newRow("a sales call, No") << int(Sale::OurSalesCall) << false << true;
        QTest::newRow("a sales call, Yes") << int(Sale::OurSalesCall) << true << true;
        QTest::newRow("answered advertising by phone, No") << int(Sale::AnsweredAdvertising) << false << true;
        QTest::newRow("online") << int(Sale::Online) << false << false;
        QTest::newRow("in person") << int(Sale::InPerson) << false << false;
        QTest::newRow("business to business") << int(Sale::BusinessToBusiness) << false << false;
        QTest::newRow("an existing account") << int(Sale::ExistingAccount) << false << false;
    }

    void telemarketingIsAskedAbout()
    {
        QFETCH(int, sale);
        QFETCH(bool, yes);
        QFETCH(bool, asked);

        const QString path = folder(QTest::currentDataTag()) + "/register.sqlite";
        auto registerSession = session(path);
        DraftRegister& drafts = registerSession->open(nullptr);
        JournalOver over(drafts);
        auto& [questions, offer, journal] = over;
        questions.answer = yes;
        offer.offered = true;
        const AuthorizationRecord record = authorization({QStringLiteral("sale=%1").arg(sale)});
        offer.answer = {AuthorizationOffer::Choice::Record, record};

        const SentDraft draft = quickPrintOf(sampleTexts());
        const std::unique_ptr<DraftTicket> ticket = journal.maySend(draft);
        const bool sends = ticket != nullptr;
        QCOMPARE(questions.asked,
                 asked ? QStringList{"This draft pays for a telemarketing sale to a consumer, which federal rules do "
                                     "not allow. Print it anyway?"}
                       : QStringList());
        QCOMPARE(sends, !asked || yes);
        if (!sends) {
            // No prints nothing and records nothing.
            QCOMPARE(drafts.drafts().size(), std::size_t(0));
            return;
        }
        QVERIFY(ticket->sending(QStringLiteral("Office")));
        QCOMPARE(drafts.details(ticket->recordId().value()).record.authorization, std::optional(record));
    }

    void telemarketingIsAskedOnEveryPath_data()
    {
        QTest::addColumn<int>("kind");        // SentDraft::Kind
        QTest::addColumn<QStringList>("own"); // the window's record; none when empty
        QTest::addColumn<int>("choice");      // AuthorizationOffer::Choice, when offered
        QTest::addColumn<int>("sale");        // the kind of sale left in the offer
        QTest::addColumn<bool>("answeredInOffer");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("sends");
        QTest::addColumn<bool>("withRecord");

        const int quick = int(SentDraft::Kind::QuickPrint);
        const int preview = int(SentDraft::Kind::PreviewPrint);
        const int pdf = int(SentDraft::Kind::PdfFile);
        const int record = int(AuthorizationOffer::Choice::Record);
        const int without = int(AuthorizationOffer::Choice::WithoutRecord);
        const QStringList none;
        using Sale = AuthorizationRecord::Sale;
        const int call = int(Sale::OurSalesCall);
        const int ads = int(Sale::AnsweredAdvertising);
        const int called = int(Sale::CustomerCalled);
        QTest::newRow("OK in the offer, No")
            << quick << none << record << call << false << false << true << false << false;
        QTest::newRow("OK in the offer, Yes asked there")
            << quick << none << record << call << true << false << false << true << true;
        QTest::newRow("Print Without Record, No")
            << quick << none << without << call << false << false << true << false << false;
        QTest::newRow("Print Without Record, Yes")
            << quick << none << without << ads << false << true << true << true << false;
        QTest::newRow("Print Without Record, the customer called")
            << quick << none << without << called << false << false << false << true << false;
        QTest::newRow("Print Preview's Print with the window's record, No")
            << preview << QStringList{"sale=1"} << record << called << false << false << true << false << false;
        QTest::newRow("Print Preview's Print, Print Without Record, No")
            << preview << none << without << ads << false << false << true << false << false;
        QTest::newRow("Export as PDF with the window's record, No")
            << pdf << QStringList{"sale=2"} << record << called << false << false << true << false << false;
        QTest::newRow("Export as PDF, OK in the offer, Yes")
            << pdf << none << record << call << false << true << true << true << true;
    }

    void telemarketingIsAskedOnEveryPath()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, own);
        QFETCH(int, choice);
        QFETCH(int, sale);
        QFETCH(bool, answeredInOffer);
        QFETCH(bool, yes);
        QFETCH(bool, asked);
        QFETCH(bool, sends);
        QFETCH(bool, withRecord);

        auto registerSession = session(folder(QTest::currentDataTag()) + "/register.sqlite");
        DraftRegister& drafts = registerSession->open(nullptr);
        JournalOver over(drafts);
        auto& [questions, offer, journal] = over;
        questions.answer = yes;
        offer.offered = true;
        const AuthorizationRecord offered = authorization({QStringLiteral("sale=%1").arg(sale), "id=offered"});
        offer.answer = {AuthorizationOffer::Choice(choice), offered, answeredInOffer};

        const SentDraft draft{sampleTexts(),
                              {},
                              SentDraft::Kind(kind),
                              {},
                              own.isEmpty() ? std::nullopt : std::optional(authorization(own))};
        const std::unique_ptr<DraftTicket> ticket = journal.maySend(draft);
        const bool sent = ticket != nullptr;
        QCOMPARE(offer.kinds, own.isEmpty() ? QList<SentDraft::Kind>{SentDraft::Kind(kind)} : QList<SentDraft::Kind>());
        QCOMPARE(questions.asked,
                 asked ? QStringList{"This draft pays for a telemarketing sale to a consumer, which federal rules do "
                                     "not allow. Print it anyway?"}
                       : QStringList());
        QCOMPARE(sent, sends);
        if (!sent) {
            // No prints nothing and records nothing.
            QCOMPARE(drafts.drafts().size(), std::size_t(0));
            return;
        }
        QVERIFY(ticket->sending(QStringLiteral("Office")));
        ticket->sent(PrintOutcome::confirmed(QStringLiteral("Office"), 5));
        QCOMPARE(drafts.drafts().size(), std::size_t(1));
        const std::optional<AuthorizationRecord> kept = drafts.details(drafts.drafts().front().id).record.authorization;
        QCOMPARE(kept, withRecord ? std::optional(offered) : std::nullopt);
    }

    void authorizationMarks_data()
    {
        QTest::addColumn<QStringList>("earlier");    // checks printed before, each "<number>" or "<number>:voided"
        QTest::addColumn<QStringList>("authorized"); // changes of the authorization they went with
        QTest::addColumn<QStringList>("own");        // the window's own record; none without changes
        QTest::addColumn<QStringList>("current");
        QTest::addColumn<QStringList>("marks");

        const QStringList next = {"6=1043", "13=1043", "9=$75.00"};
        QTest::newRow("the same check again")
            << QStringList{"1042"} << QStringList() << QStringList() << QStringList() << QStringList();
        QTest::newRow("a cent more") << QStringList{"1042"} << QStringList() << QStringList()
                                     << QStringList{"9=$1,234.57"}
                                     << QStringList{"9: The customer authorized $1,234.56, not this amount."};
        QTest::newRow("the amount typed otherwise")
            << QStringList{"1042"} << QStringList() << QStringList() << QStringList{"9=1234.56   "} << QStringList();
        QTest::newRow("the payee in other case and spacing") << QStringList{"1042"} << QStringList() << QStringList()
                                                             << QStringList{"7=ACME  supplies llc "} << QStringList();
        QTest::newRow("dated the day before its authorization")
            << QStringList{"1042"} << QStringList() << QStringList() << QStringList{"10=11/30/2026"}
            << QStringList{"10: The check is dated before its authorization of 12/01/2026."};
        QTest::newRow("dated the day of its authorization")
            << QStringList{"1042"} << QStringList() << QStringList() << QStringList{"10=Dec 1, 2026"} << QStringList();
        QTest::newRow("the window's record given after the date")
            << QStringList() << QStringList() << QStringList{"id=a2"} << QStringList{"10=11/30/2026"}
            << QStringList{"10: The check is dated before its authorization of 12/01/2026."};
        QTest::newRow("another payee")
            << QStringList{"1042"} << QStringList() << QStringList() << QStringList{"7=Acme Supply"}
            << QStringList{"7: The customer authorized a check to \"Acme Supplies LLC\", not to this payee."};
        QTest::newRow("the next check, one draft authorized")
            << QStringList{"1042"} << QStringList() << QStringList() << next
            << QStringList{"12: The authorization of 12/01/2026 on the account ending in 6789 was for 1 draft, and 1 "
                           "has been printed: this draft needs an authorization of its own."};
        QTest::newRow("the next check, two drafts authorized")
            << QStringList{"1042"} << QStringList{"drafts=2"} << QStringList() << next
            << QStringList{"9: The customer authorized $1,234.56, not this amount."};
        QTest::newRow("the third check, two drafts authorized")
            << QStringList{"1042", "1043"} << QStringList{"drafts=2"} << QStringList()
            << QStringList{"6=1044", "13=1044", "9=$75.00"}
            << QStringList{"12: The authorization of 12/01/2026 on the account ending in 6789 was for 2 drafts, and 2 "
                           "have been printed: this draft needs an authorization of its own."};
        QTest::newRow("a check printed twice counts once")
            << QStringList{"1042", "1042"} << QStringList{"drafts=2"} << QStringList() << next
            << QStringList{"9: The customer authorized $1,234.56, not this amount."};
        QTest::newRow("the next check after a voided one")
            << QStringList{"1042:voided"} << QStringList() << QStringList() << next
            << QStringList{"9: The customer authorized $1,234.56, not this amount."};
        QTest::newRow("the next check with a record of its own")
            << QStringList{"1042"} << QStringList() << QStringList{"id=a2", "amount=$75.00"} << next << QStringList();
        QTest::newRow("another account") << QStringList{"1042"} << QStringList() << QStringList()
                                         << (QStringList{"12=98765436780C"} + next) << QStringList();
        QTest::newRow("the window's record for another amount")
            << QStringList() << QStringList() << QStringList{"amount=$75.00"} << QStringList()
            << QStringList{"9: The customer authorized $75.00, not this amount."};
        QTest::newRow("the window's record without an amount")
            << QStringList() << QStringList() << QStringList{"amount="} << QStringList()
            << QStringList{"9: The customer's authorization names no amount."};
    }

    void authorizationMarks()
    {
        QFETCH(QStringList, earlier);
        QFETCH(QStringList, authorized);
        QFETCH(QStringList, own);
        QFETCH(QStringList, current);
        QFETCH(QStringList, marks);

        const std::unique_ptr<DraftRegister> inMemory = registerInMemory();
        DraftRegister& drafts = *inMemory;
        for (const QString& check : earlier) {
            const QString number = check.section(QLatin1Char(':'), 0, 0);
            DraftRecord draft = printed(withChanges(sampleTexts(), {"6=" + number, "13=" + number}));
            draft.authorization = authorization(authorized);
            const DraftId id = drafts.record(draft, DraftEvent::printed("1"));
            if (check.endsWith(QLatin1String(":voided")))
                drafts.append(id, DraftEvent::voided());
        }
        m_now = Now.addDays(40); // past the 30 days of the same-amount mark
        JournalOver over(drafts);
        auto& [questions, offer, journal] = over;
        const std::optional<AuthorizationRecord> record =
            own.isEmpty() ? std::nullopt : std::optional(authorization(own));
        QCOMPARE(marksOf(journal.marks(quickPrintOf(withChanges(sampleTexts(), current), record))), marks);
        // Marks never ask anything.
        QVERIFY(questions.asked.isEmpty() && offer.asked.isEmpty());
    }

    void anAccountThatRefusedADraftIsRemembered_data()
    {
        QTest::addColumn<QStringList>("steps"); // of check 1041 once deposited, as aDraftsLifeWithTheBank's
        QTest::addColumn<QStringList>("current");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("mark"); // of the account box; empty for none
        QTest::addColumn<bool>("sent");

        const QString notAuthorized =
            "A draft on the account ending in 6789 came back \"Not authorized\" on 12/03/2026.";
        QTest::newRow("not authorized, No")
            << QStringList{"returned:not-authorized:2026-12-03"} << QStringList() << false << notAuthorized << false;
        QTest::newRow("not authorized, Yes")
            << QStringList{"returned:not-authorized:2026-12-03"} << QStringList() << true << notAuthorized << true;
        QTest::newRow("stop payment")
            << QStringList{"returned:stop-payment:2026-12-04"} << QStringList() << false
            << "A draft on the account ending in 6789 came back \"Stop payment\" on 12/04/2026." << false;
        QTest::newRow("account closed")
            << QStringList{"returned:account-closed:2026-12-02"} << QStringList() << false
            << "A draft on the account ending in 6789 came back \"Account closed\" on 12/02/2026." << false;
        QTest::newRow("insufficient funds")
            << QStringList{"returned:insufficient-funds:2026-12-03"} << QStringList() << false << QString() << true;
        QTest::newRow("refer to maker") << QStringList{"returned:refer-to-maker:2026-12-03"} << QStringList() << false
                                        << QString() << true;
        QTest::newRow("the return withdrawn") << QStringList{"returned:not-authorized:2026-12-03", "withdraw"}
                                              << QStringList() << false << QString() << true;
        QTest::newRow("re-presented and paid since")
            << QStringList{"returned:not-authorized:2026-12-03", "re-presented:2026-12-04", "paid:2026-12-07"}
            << QStringList() << false << notAuthorized << false;
        QTest::newRow("other account") << QStringList{"returned:not-authorized:2026-12-03"}
                                       << QStringList{"12=98765436780C"} << false << QString() << true;
        QTest::newRow("other routing number") << QStringList{"returned:not-authorized:2026-12-03"}
                                              << QStringList{"11=A071000013A"} << false << QString() << true;
        QTest::newRow("same account typed otherwise")
            << QStringList{"returned:not-authorized:2026-12-03"} << QStringList{"12=9876 5436 789"} << false
            << notAuthorized << false;
    }

    void anAccountThatRefusedADraftIsRemembered()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, current);
        QFETCH(bool, yes);
        QFETCH(QString, mark);
        QFETCH(bool, sent);

        // The same in a register file and in the store of the rules' tests.
        auto file = session(folder(QTest::currentDataTag()) + "/register.sqlite");
        const std::unique_ptr<DraftRegister> inMemory = registerInMemory();
        for (DraftRegister* drafts : {&file->open(nullptr), inMemory.get()}) {
            m_now = Now.addDays(-18);
            const DraftId earlier = drafts->record(
                printed(withChanges(sampleTexts(), {"6=1041", "13=1041", "9=$75.00"})), DraftEvent::printed("5"));
            m_now = Now;
            drafts->change(earlier, DraftEvent::deposited(QDate(2026, 12, 1)));
            for (const QString& step : steps) {
                if (step == QLatin1String("withdraw"))
                    drafts->withdrawLatestChange(earlier);
                else
                    drafts->change(earlier, eventFrom(step));
            }

            JournalOver over(*drafts);
            auto& [questions, offer, journal] = over;
            questions.answer = yes;
            const SentDraft draft = quickPrintOf(withChanges(sampleTexts(), current));
            QCOMPARE(journal.marks(draft)[Box::AccountNumber], mark);
            QVERIFY(questions.asked.isEmpty());
            const std::unique_ptr<DraftTicket> ticket = journal.maySend(draft);
            QCOMPARE(questions.asked, mark.isEmpty() ? QStringList() : QStringList{mark + " Print this one?"});
            QCOMPARE(ticket != nullptr, sent);
        }
    }

    void proofFilesAreKeptSealed()
    {
        const QString path = folder("register") + "/register.sqlite";
        const QString proofPath = folder("merchant") + "/call 1042.wav";
        const QByteArray recording =
            QByteArray("RIFF quillo test recording: Jane Q. Customer authorizes check 1042 ").repeated(64);
        QVERIFY(TestFiles::write(proofPath, recording));
        const QByteArray sha256 =
            QByteArray::fromHex("1730fd01ea3303c8aeeaf7e43133cbeea00c625676fb4c5380de70cded2cdf73");
        QCOMPARE(ProofCopies::sha256Of(proofPath), std::optional(sha256));

        auto registerSession = session(path);
        DraftRegister& drafts = registerSession->open(nullptr);
        AuthorizationRecord record = authorization();
        record.proofFile = proofPath;
        record.proofSha256 = sha256;
        DraftRecord draft = printed(sampleTexts());
        draft.authorization = record;
        const DraftId first = drafts.record(draft, DraftEvent::printed("1"));
        // Printed again, or another draft with the same proof: one copy serves them.
        draft.texts = withChanges(sampleTexts(), {"6=1043", "13=1043"});
        drafts.record(draft, DraftEvent::printed("2"));
        const QStringList copies = QDir(folder("register") + "/proofs").entryList(QDir::Files);
        QCOMPARE(copies.size(), 1);
        QVERIFY2(copies.first().endsWith(".proof") && copies.first().size() == 64 + 6, qPrintable(copies.first()));

        // Neither the copy nor the register's files hold the clear bytes.
        registerSession.reset();
        const QByteArray kept = filesUnder(folder("register"));
        QVERIFY(kept.size() > recording.size());
        QVERIFY(!kept.contains("Jane Q. Customer authorizes"));
        QVERIFY(!kept.contains("call 1042.wav"));
        QVERIFY(!kept.contains(recording.toBase64().left(40)));

        registerSession = session(path);
        DraftRegister& reopened = registerSession->open(nullptr);
        const std::optional<AuthorizationRecord> found = reopened.details(first).record.authorization;
        QVERIFY(found);
        QCOMPARE(found->proofFile, "call 1042.wav");
        QCOMPARE(found->proofSha256.toHex(), "1730fd01ea3303c8aeeaf7e43133cbeea00c625676fb4c5380de70cded2cdf73");
        QCOMPARE(reopened.proof(*found), recording);
        // Handed on only with the SHA-256 the authorization recorded: one byte off is refused.
        QCOMPARE(DraftProof::checked(recording, *found), recording);
        QByteArray other = recording;
        other[0] = 'r';
        QString refused;
        try {
            DraftProof::checked(other, *found);
        } catch (const QuilloError& error) {
            refused = error.message();
        }
        QCOMPARE(refused, "The proof file \"call 1042.wav\" was not saved: the register's copy does not match the "
                          "SHA-256 recorded with the authorization "
                          "(1730fd01ea3303c8aeeaf7e43133cbeea00c625676fb4c5380de70cded2cdf73).");

        // A copy altered on disk no longer opens.
        const QString copy = folder("register") + "/proofs/" + copies.first();
        QByteArray sealed = TestFiles::read(copy);
        sealed[100] = char(sealed[100] ^ 0x01);
        QVERIFY(TestFiles::write(copy, sealed));
        QString failure;
        try {
            reopened.proof(*found);
        } catch (const RegisterError& error) {
            failure = error.reason();
        }
        QCOMPARE(failure, "the register's copy does not match the SHA-256 recorded with the authorization "
                          "(1730fd01ea3303c8aeeaf7e43133cbeea00c625676fb4c5380de70cded2cdf73)");
    }

    void aProofIsSavedOnlyWhereThereIsOne_data()
    {
        QTest::addColumn<bool>("authorized");
        QTest::addColumn<bool>("withProof");
        QTest::addColumn<QString>("missing");

        QTest::newRow("no authorization record")
            << false << false << "The draft was printed without an authorization record.";
        QTest::newRow("an authorization without a proof file")
            << true << false << "The draft's authorization has no proof file.";
        QTest::newRow("an authorization with a proof file") << true << true << "";
    }

    void aProofIsSavedOnlyWhereThereIsOne()
    {
        QFETCH(bool, authorized);
        QFETCH(bool, withProof);
        QFETCH(QString, missing);

        DraftDetails draft;
        if (authorized)
            draft.record.authorization = authorization();
        if (withProof)
            draft.record.authorization->proofSha256 = QByteArray(32, 'x');
        QCOMPARE(DraftProof::missing(draft).value_or(QString()), missing);
    }

    void filesAreTheMerchantsAlone_data()
    {
        // Made readable to all by an older version, then opened again.
        QTest::addColumn<bool>("older");
        QTest::newRow("a new register") << false;
        QTest::newRow("an older register's readable files") << true;
    }

    void filesAreTheMerchantsAlone()
    {
        QFETCH(bool, older);
        const QString home = folder(QTest::currentDataTag());
        const QString where = home + "/Quillo/Quillo";
        const QString path = where + "/register.sqlite";
        const QString proofPath = home + "/call 1042.wav";
        QVERIFY(TestFiles::write(proofPath, "RIFF a recorded call"));
        // Nothing taken away by the umask: what is private is made so on purpose.
        const mode_t previous = ::umask(0);
        auto restore = qScopeGuard([previous] { ::umask(previous); });

        auto registerSession = session(path);
        DraftRecord draft = printed(sampleTexts());
        draft.authorization = authorization();
        draft.authorization->proofFile = proofPath;
        draft.authorization->proofSha256 = *ProofCopies::sha256Of(proofPath);
        registerSession->open(nullptr).record(draft, DraftEvent::printed("1"));
        const QString copy = where + "/proofs/" + QDir(where + "/proofs").entryList(QDir::Files).value(0);

        QSqlDatabase other;
        if (older) {
            registerSession.reset();
            for (const QString& opened : {home + "/Quillo", where, where + "/proofs"})
                QCOMPARE(::chmod(QFile::encodeName(opened).constData(), 0755), 0);
            for (const QString& readable : {path, copy})
                QCOMPARE(::chmod(QFile::encodeName(readable).constData(), 0644), 0);
            // Another program's connection makes the log and index files, as readable as the file.
            other = QSqlDatabase::addDatabase("QSQLITE", "older");
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec("SELECT COUNT(*) FROM drafts"));
            QCOMPARE(modeOf(path + "-wal"), "0644");
            QCOMPARE(modeOf(path + "-shm"), "0644");
            registerSession = session(path);
            registerSession->open(nullptr);
        }

        const QStringList modes = {
            modeOf(where), modeOf(path), modeOf(path + "-wal"), modeOf(path + "-shm"), modeOf(where + "/proofs"),
            modeOf(copy)};
        QCOMPARE(modes, QStringList({"0700", "0600", "0600", "0600", "0700", "0600"}));
        // The folders Quillo made above it are as private; one it found is left as it is.
        QCOMPARE(modeOf(home + "/Quillo"), older ? "0755" : "0700");
        registerSession.reset();
        if (other.isValid())
            other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase("older");
    }

    void aProofFileThatCannotBeKept_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("problem"); // the authorization's, as the offer says it again

        QTest::newRow("changed since it was chosen")
            << "changed"
            << "The proof file \"form 1043.pdf\" has changed since it was chosen: choose it again.";
        QTest::newRow("gone") << "gone"
                              << "The proof file \"form 1043.pdf\" cannot be read: no such file or directory.";
        QTest::newRow("a pipe now") << "pipe"
                                    << "The proof file \"form 1043.pdf\" is a folder, a device or a pipe, not a "
                                       "file: choose the file itself.";
    }

    void aProofFileThatCannotBeKept()
    {
        QFETCH(QString, fault);
        QFETCH(QString, problem);

        const QString proofPath = folder(QTest::currentDataTag()) + "/form 1043.pdf";
        const QByteArray form =
            QByteArray("%PDF-1.4 signed authorization form of Jane Q. Customer, check 1043\n").repeated(32);
        QVERIFY(TestFiles::write(proofPath, form));
        AuthorizationRecord record = authorization();
        record.proofFile = proofPath;
        record.proofSha256 = QByteArray::fromHex("21025b175dc46f83c8923e4b9d90349edae841b9dca34c47718a0125dfad7cc3");
        if (fault == QLatin1String("changed"))
            QVERIFY(TestFiles::write(proofPath, form + "a later line\n"));
        else
            QVERIFY(QFile::remove(proofPath));
        if (fault == QLatin1String("pipe"))
            QCOMPARE(::mkfifo(QFile::encodeName(proofPath).constData(), 0600), 0);

        auto registerSession =
            session(folder(QStringLiteral("%1/register").arg(QTest::currentDataTag())) + "/register.sqlite");
        DraftRegister& drafts = registerSession->open(nullptr);
        DraftRecord draft = printed(sampleTexts());
        draft.authorization = record;
        QString failure;
        QString told;
        try {
            drafts.record(draft, std::nullopt);
        } catch (const ProofFileError& error) {
            failure = error.reason();
            told = error.problem();
        }
        QCOMPARE(failure, QStringLiteral("the proof file %1 is no longer the file chosen").arg(proofPath));
        QCOMPARE(told, problem);
        QCOMPARE(drafts.drafts().size(), std::size_t(0));
        QVERIFY(QDir(folder(QStringLiteral("%1/register").arg(QTest::currentDataTag())) + "/proofs")
                    .entryList(QDir::Files)
                    .isEmpty());
    }

    void aProofFileIsReadOnlyWhenItIsOne_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("sha256"); // hex, when it is read
        QTest::addColumn<QString>("problem");

        QTest::newRow("a pipe") << "fifo"
                                << ""
                                << "The proof file \"call.wav\" is a folder, a device or a pipe, not a file: choose "
                                   "the file itself.";
        QTest::newRow("a folder") << "folder"
                                  << ""
                                  << "The proof file \"call.wav\" is a folder, a device or a pipe, not a file: "
                                     "choose the file itself.";
        QTest::newRow("exactly 100 MB") << "104857600"
                                        << "20492a4d0d84f8beb1767f6616229f85d44c2827b64bdbfb260ee12fa1109e0e"
                                        << "";
        QTest::newRow("100 MB and 1 byte") << "104857601"
                                           << ""
                                           << "The proof file \"call.wav\" is larger than 100 MB, more than a proof "
                                              "needs: choose a smaller copy of it.";
        QTest::newRow("missing") << "missing"
                                 << ""
                                 << "The proof file \"call.wav\" cannot be read: no such file or directory.";
    }

    void aProofFileIsReadOnlyWhenItIsOne()
    {
        QFETCH(QString, kind);
        QFETCH(QString, sha256);
        QFETCH(QString, problem);

        const QString path = folder(QTest::currentDataTag()) + "/call.wav";
        if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(path));
        else if (kind != QLatin1String("missing"))
            QVERIFY(QFile(path).open(QIODevice::WriteOnly) && QFile(path).resize(kind.toLongLong())); // sparse
        QList<int> shares;
        const ProofFileCheck::Result read = ProofFileCheck::read(path, [&](int percent) { shares.append(percent); });
        QCOMPARE(QString::fromLatin1(read.sha256.toHex()), sha256);
        QCOMPARE(read.problem, problem);
        if (!sha256.isEmpty())
            QCOMPARE(shares.last(), 100);
    }

    void anUnreadableProofFile()
    {
        const QString path = QDir::tempPath() + "/quillo-proof-" + QString::number(QCoreApplication::applicationPid());
        QVERIFY(QDir().mkpath(path));
        const QString proof = path + "/form.pdf";
        QVERIFY(TestFiles::write(proof, "%PDF-1.4 signed form"));
        QVERIFY(QFile::setPermissions(proof, QFileDevice::Permissions()));
        QVERIFY(runAsOrdinaryUser(path, [&] {
            const ProofFileCheck::Result read = ProofFileCheck::read(proof);
            QCOMPARE(read.sha256, QByteArray());
            QCOMPARE(read.problem, "The proof file \"form.pdf\" cannot be read: permission denied.");
        }));
        QDir(path).removeRecursively();
    }

    void aProofChangedSinceItWasChosenIsOfferedAgain_data()
    {
        QTest::addColumn<bool>("afterItsCheck"); // changed once the journal had looked at it, before its record
        QTest::addColumn<int>("choice");         // AuthorizationOffer::Choice in the offer made again
        QTest::addColumn<bool>("sends");
        QTest::addColumn<bool>("withRecord");

        for (const bool after : {false, true}) {
            const char* when = after ? "after its check, " : "before the print, ";
            QTest::addRow("%sCancel", when) << after << int(AuthorizationOffer::Choice::Cancel) << false << false;
            QTest::addRow("%srecorded without the proof", when)
                << after << int(AuthorizationOffer::Choice::Record) << true << true;
            QTest::addRow("%sPrint Without Record", when)
                << after << int(AuthorizationOffer::Choice::WithoutRecord) << true << false;
        }
    }

    void aProofChangedSinceItWasChosenIsOfferedAgain()
    {
        QFETCH(bool, afterItsCheck);
        QFETCH(int, choice);
        QFETCH(bool, sends);
        QFETCH(bool, withRecord);

        const QString proofPath = folder(QTest::currentDataTag()) + "/form 1042.pdf";
        QVERIFY(TestFiles::write(proofPath, "%PDF-1.4 signed form"));
        AuthorizationRecord own = authorization();
        own.proofFile = proofPath;
        own.proofSha256 = ProofFileCheck::read(proofPath).sha256;
        if (!afterItsCheck)
            QVERIFY(TestFiles::write(proofPath, "%PDF-1.4 signed form, edited"));

        auto registerSession =
            session(folder(QStringLiteral("%1/register").arg(QTest::currentDataTag())) + "/register.sqlite");
        DraftRegister& drafts = registerSession->open(nullptr);
        JournalOver over(drafts);
        auto& [questions, offer, journal] = over; // the offer turned off: the proof's problem is offered all the same
        AuthorizationRecord again = authorization({"id=a2"});
        offer.answer = {AuthorizationOffer::Choice(choice), again, false};

        const SentDraft draft = quickPrintOf(sampleTexts(), own);
        const std::unique_ptr<DraftTicket> ticket = journal.maySend(draft);
        QCOMPARE(ticket != nullptr, afterItsCheck || sends);
        if (afterItsCheck) {
            QVERIFY(offer.proofProblems.isEmpty());
            QVERIFY(TestFiles::write(proofPath, "%PDF-1.4 signed form, edited"));
            QCOMPARE(ticket->sending(QStringLiteral("Office")), sends);
        }
        QCOMPARE(offer.proofProblems,
                 QStringList{"The proof file \"form 1042.pdf\" has changed since it was chosen: choose it again."});
        QCOMPARE(offer.asked.first().id, "a1");
        // The register itself is fine: nothing asks to print without recording.
        QVERIFY(questions.asked.isEmpty());
        if (!sends) {
            QCOMPARE(drafts.drafts().size(), std::size_t(0));
            return;
        }
        if (!afterItsCheck)
            QVERIFY(ticket->sending(QStringLiteral("Office")));
        QVERIFY(ticket->recordId());
        QCOMPARE(drafts.details(*ticket->recordId()).record.authorization,
                 withRecord ? std::optional(again) : std::nullopt);
        QCOMPARE(drafts.drafts().size(), std::size_t(1));
        QVERIFY(questions.asked.isEmpty());
    }

    void draftsPastKeeping_data()
    {
        QTest::addColumn<QStringList>("steps"); // "<event>@<date>", the first the draft's recording
        QTest::addColumn<bool>("listed");

        QTest::newRow("printed five years less a day back") << QStringList{"printed@2021-12-09"} << false;
        QTest::newRow("printed five years back to the day") << QStringList{"printed@2021-12-08"} << true;
        QTest::newRow("printed five years and a day back") << QStringList{"printed@2021-12-07"} << true;
        QTest::newRow("printed six years back, a note five years less a day back")
            << QStringList{"printed@2020-12-08", "note@2021-12-09"} << false;
        QTest::newRow("printed six years back, voided five years and a day back")
            << QStringList{"printed@2020-12-08", "voided@2021-12-07"} << true;
    }

    void draftsPastKeeping()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, listed);

        const std::unique_ptr<DraftRegister> inMemory = registerInMemory();
        DraftRegister& drafts = *inMemory;
        DraftId id = 0;
        for (const QString& step : steps) {
            // At noon in Chicago, as Now is.
            m_now = QDateTime(QDate::fromString(step.section(QLatin1Char('@'), 1), Qt::ISODate), QTime(18, 0), Qt::UTC);
            const DraftEvent event = eventFrom(step.section(QLatin1Char('@'), 0, 0));
            if (id == 0)
                id = drafts.record(printed(sampleTexts()), event);
            else
                drafts.append(id, event);
        }
        m_now = Now;
        // A draft of today, never listed.
        drafts.record(printed(withChanges(sampleTexts(), {"6=1050"})), DraftEvent::printed("9"));

        const std::vector<DraftSummary> past = drafts.draftsPastKeeping();
        QCOMPARE(past.size(), std::size_t(listed ? 1 : 0));
        if (listed) {
            QCOMPARE(past.front().id, id);
            QCOMPARE(QDateTime::fromMSecsSinceEpoch(past.front().lastEventAt, Qt::UTC).toString(Qt::ISODate),
                     steps.last().section(QLatin1Char('@'), 1) + "T18:00:00Z");
        }
        // Only a draft past keeping is ever removed.
        QCOMPARE(drafts.removePastKeeping({id, id + 1}), listed ? 1 : 0);
        QCOMPARE(drafts.drafts().size(), std::size_t(listed ? 1 : 2));
    }

    void removingOldDraftsTakesTheirProofCopies()
    {
        const QString path = folder("register") + "/register.sqlite";
        const QString merchant = folder("merchant");
        auto registerSession = session(path);
        DraftRegister& drafts = registerSession->open(nullptr);
        const auto withProof = [&](const QString& check, const QByteArray& bytes) {
            const QString proof = merchant + "/" + check + ".wav";
            TestFiles::write(proof, bytes);
            DraftRecord draft = printed(withChanges(sampleTexts(), {"6=" + check, "13=" + check, "7=Old Hardware Co"}));
            draft.authorization = authorization();
            draft.authorization->proofFile = proof;
            draft.authorization->proofSha256 = *ProofCopies::sha256Of(proof);
            return draft;
        };
        // Two drafts of six years back, one of them with a proof that a recent draft uses too.
        m_now = Now.addYears(-6);
        const DraftId alone = drafts.record(withProof("1001", "the call of check 1001"), DraftEvent::printed("1"));
        const DraftId shared =
            drafts.record(withProof("1002", "the call of checks 1002 and 1050"), DraftEvent::printed("2"));
        m_now = Now;
        DraftRecord recent = withProof("1050", "the call of checks 1002 and 1050");
        recent.texts[Box::Payee] = QStringLiteral("Acme Supplies LLC");
        const DraftId kept = drafts.record(recent, DraftEvent::printed("3"));
        QCOMPARE(QDir(folder("register") + "/proofs").entryList(QDir::Files).size(), 2);

        QCOMPARE(drafts.removePastKeeping({alone, shared}), 2);
        std::vector<DraftId> left;
        for (const DraftSummary& draft : drafts.drafts())
            left.push_back(draft.id);
        QCOMPARE(left, std::vector<DraftId>{kept});
        // The copy only the removed draft used is gone; the shared one stays and opens.
        QCOMPARE(QDir(folder("register") + "/proofs").entryList(QDir::Files).size(), 1);
        const std::optional<AuthorizationRecord> proof = drafts.details(kept).record.authorization;
        QCOMPARE(drafts.proof(*proof), "the call of checks 1002 and 1050");
        registerSession.reset();
        // Nothing of the removed drafts is left in the file, not even in free pages.
        QVERIFY(!filesOf(path).contains("Old Hardware Co"));
        QCOMPARE(eventCodes(path), QStringList{"printed"});
    }

    void anEarlierVersionRegisterIsBroughtForward_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QStringList>("dropped"); // what later versions add

        const QStringList eventDays = {
            "DROP INDEX draft_events_by_withdrawn", "ALTER TABLE draft_events DROP COLUMN effective_date",
            "ALTER TABLE draft_events DROP COLUMN reason", "ALTER TABLE draft_events DROP COLUMN withdraws",
            "ALTER TABLE drafts DROP COLUMN reprint_of"};
        const QStringList seatsAndProofs = {"ALTER TABLE drafts DROP COLUMN seat",
                                            "ALTER TABLE draft_events DROP COLUMN seat", "DROP TABLE proof_copies"};
        const QStringList sealed = QStringList{"ALTER TABLE drafts DROP COLUMN sealed_source_file",
                                               "ALTER TABLE drafts DROP COLUMN sealed_destination",
                                               "ALTER TABLE draft_events DROP COLUMN sealed_detail"} +
                                   seatsAndProofs;
        QTest::newRow("the first version")
            << 1 << QStringList{"DROP TABLE draft_authorizations", "DROP TABLE register_schema"} + eventDays + sealed;
        QTest::newRow("the second, its version kept by SQLite")
            << 2 << QStringList{"DROP TABLE register_schema"} + eventDays + sealed;
        QTest::newRow("the third, without the days of events") << 3 << eventDays + sealed;
        QTest::newRow("the fourth, with clear source files") << 4 << sealed;
        QTest::newRow("the fifth, without seats or proof copies") << 5 << seatsAndProofs;
    }

    void anEarlierVersionRegisterIsBroughtForward()
    {
        QFETCH(int, version);
        QFETCH(QStringList, dropped);

        const QString path = folder(QTest::currentDataTag()) + "/register.sqlite";
        DraftId old = 0;
        DraftId oldExport = 0;
        {
            auto registerSession = session(path);
            old = registerSession->open(nullptr).record(printed(sampleTexts()), DraftEvent::printed("1"));
            DraftRecord exported = printed(withChanges(sampleTexts(), {"6=1041", "13=1041"}));
            exported.kind = SentDraft::Kind::PdfFile;
            exported.destinationName = "/home/m/Zebulon Quartz.pdf";
            oldExport = registerSession->open(nullptr).record(exported, DraftEvent::exported());
        }
        // What a register of that version holds: the same, without the
        // tables that later versions add.
        {
            QSqlDatabase file = QSqlDatabase::addDatabase("QSQLITE", "earlier");
            file.setDatabaseName(path);
            QVERIFY(file.open());
            QSqlQuery query(file);
            for (const QString& statement : dropped)
                QVERIFY2(query.exec(statement), qPrintable(statement));
            if (version >= 3)
                QVERIFY(query.exec(QStringLiteral("UPDATE register_schema SET version = %1").arg(version)));
            QVERIFY(query.exec(QStringLiteral("PRAGMA user_version = %1").arg(version)));
            if (version == 3)
                QVERIFY(query.exec("UPDATE register_schema SET version = 3"));
            // Of before: the paths and the events' words in clear, never sealed since.
            QVERIFY(query.exec("DELETE FROM register_facts WHERE name = 'clear_values_sealed'"));
            QVERIFY(query.exec("UPDATE drafts SET source_file = '/home/m/a.qlo'"));
            QVERIFY(query.exec("UPDATE drafts SET destination = '/home/m/Zebulon Quartz.pdf' WHERE "
                               "destination_kind = 'pdf'"));
            QVERIFY(query.exec("UPDATE draft_events SET detail = 'in clear'"));
            file.close();
        }
        QSqlDatabase::removeDatabase("earlier");

        auto registerSession = session(path);
        DraftRegister& drafts = registerSession->open(nullptr);
        QCOMPARE(drafts.details(old).record.texts, sampleTexts());
        QCOMPARE(drafts.details(old).record.authorization, std::nullopt);
        QCOMPARE(drafts.details(old).record.sourceFile, "/home/m/a.qlo");
        QCOMPARE(historyLine(drafts.details(old).history.back()), "2026-12-08T18:00:00Z Printed|1|in clear");
        QCOMPARE(drafts.details(oldExport).record.destinationName, "/home/m/Zebulon Quartz.pdf");
        QCOMPARE(drafts.details(oldExport).record.sourceFile, "/home/m/a.qlo");
        DraftRecord draft = printed(withChanges(sampleTexts(), {"6=1043", "13=1043"}));
        draft.authorization = authorization();
        const DraftId later = drafts.record(draft, DraftEvent::printed("2"));
        QCOMPARE(drafts.details(later).record.authorization, std::optional(authorization()));
        // The old draft's life goes on with the days of its changes.
        drafts.change(old, DraftEvent::deposited(QDate(2026, 12, 8), "Slip 15"));
        drafts.withdrawLatestChange(old);
        QStringList lines;
        for (const RecordedEvent& event : drafts.details(old).history)
            lines.append(historyLine(event));
        QCOMPARE(lines, (QStringList{"2026-12-08T18:00:00Z Printed|1|in clear",
                                     "2026-12-08T18:00:00Z Deposited||Slip 15|on 2026-12-08 (withdrawn)",
                                     "2026-12-08T18:00:00Z Withdrawn||"}));
        QCOMPARE(drafts.drafts().back().status, DraftStatus::Printed);
        registerSession.reset();
        // The version is a row of the schema's table now, and SQLite's own
        // says the same to programs that read only that.
        {
            QSqlDatabase file = QSqlDatabase::addDatabase("QSQLITE", "later");
            file.setDatabaseName(path);
            QVERIFY(file.open());
            QSqlQuery query(file);
            QVERIFY(query.exec("SELECT version FROM register_schema") && query.next());
            QCOMPARE(query.value(0).toInt(), 6);
            QVERIFY(!query.next());
            QVERIFY(query.exec("PRAGMA user_version") && query.next());
            QCOMPARE(query.value(0).toInt(), 6);
            file.close();
        }
        QSqlDatabase::removeDatabase("later");
        // What was clear is sealed now, and nothing of it is left readable
        // in the file; a printer's name stays clear for the list.
        QCOMPARE(draftColumns(path, {"destination", "source_file"}),
                 (QList<QList<QByteArray>>{{"Office", ""}, {"", ""}, {"Office", ""}}));
        const QByteArray files = filesOf(path);
        QVERIFY(!files.contains("/home/m/a.qlo"));
        QVERIFY(!files.contains("Zebulon Quartz"));
        QVERIFY(!files.contains("in clear"));
        registerSession = session(path);
        QCOMPARE(registerSession->open(nullptr).details(old).record.sourceFile, "/home/m/a.qlo");
        QCOMPARE(registerSession->open(nullptr).details(oldExport).record.destinationName,
                 "/home/m/Zebulon Quartz.pdf");
        QCOMPARE(historyLine(registerSession->open(nullptr).details(old).history.front()),
                 "2026-12-08T18:00:00Z Printed|1|in clear");
    }

    void duplicateQuestion_data()
    {
        QTest::addColumn<QStringList>("earlier"); // "<outcome>@<days ago>", oldest first
        QTest::addColumn<QStringList>("earlierChanges");
        QTest::addColumn<QStringList>("current");
        QTest::addColumn<QString>("question");

        const QString asked = "Check 1042 on the account ending in 6789 was already printed on 12/01/2026 (job 7 on "
                              "\"Office\") for 1,234.56 to \"Acme Supplies LLC\". Print it again?";
        QTest::newRow("printed before") << QStringList{"printed@7"} << QStringList() << QStringList() << asked;
        QTest::newRow("uncertain") << QStringList{"uncertain@7"} << QStringList() << QStringList()
                                   << "Check 1042 on the account ending in 6789 may have been printed on 12/01/2026 "
                                      "(the print service did not say; job 7 on \"Office\") for 1,234.56 to \"Acme "
                                      "Supplies LLC\". Print it again?";
        QTest::newRow("sent, no outcome") << QStringList{"none@7"} << QStringList() << QStringList()
                                          << "Check 1042 on the account ending in 6789 may have been printed on "
                                             "12/01/2026 (the print service did not say) for 1,234.56 to \"Acme "
                                             "Supplies LLC\". Print it again?";
        QTest::newRow("deposited") << QStringList{"deposited@7"} << QStringList() << QStringList() << asked;
        QTest::newRow("returned") << QStringList{"returned@7"} << QStringList() << QStringList() << asked;
        QTest::newRow("exported")
            << QStringList{"exported@7"} << QStringList() << QStringList()
            << "Check 1042 on the account ending in 6789 was exported to \"Office\" on 12/01/2026 "
               "for 1,234.56 to \"Acme Supplies LLC\". Print it again?";
        QTest::newRow("voided") << QStringList{"voided@7"} << QStringList() << QStringList() << QString();
        QTest::newRow("not printed") << QStringList{"not-printed@7"} << QStringList() << QStringList() << QString();
        QTest::newRow("printed long ago, reprint voided")
            << QStringList{"printed@40", "voided@7"} << QStringList() << QStringList()
            << "Check 1042 on the account ending in 6789 was already printed on 10/29/2026 (job 7 on \"Office\") for "
               "1,234.56 to \"Acme Supplies LLC\". Print it again?";
        QTest::newRow("other check number")
            << QStringList{"printed@7"} << QStringList() << QStringList{"6=1043", "13=1043"} << QString();
        QTest::newRow("other account") << QStringList{"printed@7"} << QStringList() << QStringList{"12=98765436780C"}
                                       << QString();
        QTest::newRow("other routing number")
            << QStringList{"printed@7"} << QStringList() << QStringList{"11=A071000013A"} << QString();
        QTest::newRow("same digits typed otherwise")
            << QStringList{"printed@7"} << QStringList()
            << QStringList{"11=021000021        ", "12=9876 5436 789", "13=001042"} << asked;
        // The bank line's number is the one the bank reads; the top one is only printed.
        QTest::newRow("top number other, bank line number the same")
            << QStringList{"printed@7"} << QStringList() << QStringList{"6=1043"} << asked;
        QTest::newRow("top number the same, bank line number other")
            << QStringList{"printed@7"} << QStringList() << QStringList{"13=1043"} << QString();
        QTest::newRow("bank line number empty, top number the same")
            << QStringList{"printed@7"} << QStringList() << QStringList{"13="} << asked;
        QTest::newRow("no account number")
            << QStringList{"printed@7"} << QStringList{"12=C"} << QStringList{"12=C"} << QString();
        QTest::newRow("dollars only")
            << QStringList{"printed@7"} << QStringList{"9=$75"} << QStringList()
            << "Check 1042 on the account ending in 6789 was already printed on 12/01/2026 (job 7 on \"Office\") for "
               "75.00 to \"Acme Supplies LLC\". Print it again?";
        QTest::newRow("a thousand, no cents typed")
            << QStringList{"printed@7"} << QStringList{"9=1020"} << QStringList()
            << "Check 1042 on the account ending in 6789 was already printed on 12/01/2026 (job 7 on \"Office\") for "
               "1,020.00 to \"Acme Supplies LLC\". Print it again?";
        QTest::newRow("no amount, no payee")
            << QStringList{"printed@7"} << QStringList{"7=", "8=", "9="} << QStringList()
            << "Check 1042 on the account ending in 6789 was already printed on 12/01/2026 (job 7 on \"Office\"). "
               "Print "
               "it again?";
        QTest::newRow("no payee")
            << QStringList{"printed@7"} << QStringList{"7=   "} << QStringList()
            << "Check 1042 on the account ending in 6789 was already printed on 12/01/2026 (job 7 "
               "on \"Office\") for 1,234.56. Print it again?";
        QTest::newRow("amount that is no number")
            << QStringList{"printed@7"} << QStringList{"9=about twelve dollars  "} << QStringList()
            << "Check 1042 on the account ending in 6789 was already printed on 12/01/2026 (job 7 on \"Office\") for "
               "about twelve dollars to \"Acme Supplies LLC\". Print it again?";
    }

    void duplicateQuestion()
    {
        QFETCH(QStringList, earlier);
        QFETCH(QStringList, earlierChanges);
        QFETCH(QStringList, current);
        QFETCH(QString, question);

        const std::unique_ptr<DraftRegister> inMemory = registerInMemory();
        DraftRegister& drafts = *inMemory;
        for (const QString& entry : earlier) {
            const QString outcome = entry.section(QLatin1Char('@'), 0, 0);
            m_now = Now.addDays(-entry.section(QLatin1Char('@'), 1).toInt());
            const DraftRecord draft = printed(withChanges(sampleTexts(), earlierChanges));
            if (outcome == QLatin1String("none")) {
                drafts.record(draft, std::nullopt);
            } else if (outcome == QLatin1String("deposited") || outcome == QLatin1String("returned") ||
                       outcome == QLatin1String("voided")) {
                const DraftId id = drafts.record(draft, DraftEvent::printed("7"));
                drafts.append(id, eventFrom(outcome));
            } else {
                drafts.record(draft, eventFrom(outcome + ":7"));
            }
        }
        m_now = Now;

        const std::optional<EarlierDraft> found = drafts.earlierDraft(withChanges(sampleTexts(), current));
        QCOMPARE(found ? RegisterTexts::duplicateQuestion(*found) : QString(), question);
    }

    void sameAmountMark_data()
    {
        QTest::addColumn<qint64>("secondsAgo");
        QTest::addColumn<QString>("earlierOutcome");
        QTest::addColumn<QStringList>("current");
        QTest::addColumn<QString>("mark");

        constexpr qint64 day = 24 * 3600;
        const QString marked = "Check 1041 for the same amount on the account ending in 6789 was printed on "
                               "11/08/2026 to \"Acme Supplies LLC\".";
        QTest::newRow("30 days ago") << 30 * day << "printed" << QStringList() << marked;
        QTest::newRow("30 days and a second ago") << 30 * day + 1 << "printed" << QStringList() << QString();
        QTest::newRow("31 days ago") << 31 * day << "printed" << QStringList() << QString();
        QTest::newRow("yesterday")
            << day << "printed" << QStringList()
            << "Check 1041 for the same amount on the account ending in 6789 was printed on 12/07/2026 to \"Acme "
               "Supplies LLC\".";
        QTest::newRow("voided") << day << "voided" << QStringList() << QString();
        QTest::newRow("not printed") << day << "not-printed" << QStringList() << QString();
        QTest::newRow("same check number") << day << "printed" << QStringList{"6=1041", "13=1041"} << QString();
        QTest::newRow("a cent more") << day << "printed" << QStringList{"9=$1,234.57"} << QString();
        QTest::newRow("amount typed otherwise") << 30 * day << "printed" << QStringList{"9=1234.56   "} << marked;
        QTest::newRow("amount that is no number") << day << "printed" << QStringList{"9=twelve"} << QString();
        QTest::newRow("other account") << day << "printed" << QStringList{"12=98765436780C"} << QString();
        QTest::newRow("no check number") << 30 * day << "printed" << QStringList{"6=", "13="} << marked;
    }

    void sameAmountMark()
    {
        QFETCH(qint64, secondsAgo);
        QFETCH(QString, earlierOutcome);
        QFETCH(QStringList, current);
        QFETCH(QString, mark);

        const std::unique_ptr<DraftRegister> inMemory = registerInMemory();
        DraftRegister& drafts = *inMemory;
        m_now = Now.addSecs(-secondsAgo);
        const DraftId id =
            drafts.record(printed(withChanges(sampleTexts(), {"6=1041", "13=1041"})), DraftEvent::printed("5"));
        if (earlierOutcome != QLatin1String("printed"))
            drafts.append(id, eventFrom(earlierOutcome));
        m_now = Now;

        const std::optional<EarlierDraft> found = drafts.sameAmountRecently(withChanges(sampleTexts(), current));
        QCOMPARE(found ? RegisterTexts::sameAmountMark(*found) : QString(), mark);
    }

    void printWithoutRecordingQuestion()
    {
        QCOMPARE(RegisterTexts::printWithoutRecording("the disk that holds /data/register.sqlite is full"),
                 "The draft register cannot be written: the disk that holds /data/register.sqlite is full. Print "
                 "without recording it?");
    }

    void csvOfTheListedDrafts_data()
    {
        QTest::addColumn<bool>("fullBankNumbers");
        QTest::addColumn<QByteArray>("csv");

        QTest::newRow("masked")
            << false
            << QByteArray("Printed,Check No.,Payor,Payee,Amount,Amount (number),Status,Status Date,Return Reason,"
                          "Printer or File,Authorized By,Authorization,Authorized On,Sale,Account No.,Seat\r\n"
                          "2026-12-08 12:00,1043,Ren\xc3\xa9"
                          "e Dubois,\"Acme, \"\"Best\"\" Supplies\",$75.00,75.00,Voided,2026-12-08,,"
                          "/home/m/Documents/1043.pdf,,,,,****0001,ann@desk-2\r\n"
                          "2026-12-01 14:05,1042,Jane Q. Customer,Acme Supplies LLC,\"$1,234.56\",1234.56,Returned,"
                          "2026-12-04,Not authorized,Office,Jane Q. Customer,Recorded phone call,2026-12-01 14:05,"
                          "\"The customer called us, not in answer to our advertising\",****6789,ann@desk-2\r\n");
        QTest::newRow("full")
            << true
            << QByteArray(
                   "Printed,Check No.,Payor,Payee,Amount,Amount (number),Status,Status Date,Return Reason,"
                   "Printer or File,Authorized By,Authorization,Authorized On,Sale,Routing No.,Account No.,Seat\r\n"
                   "2026-12-08 12:00,1043,Ren\xc3\xa9"
                   "e Dubois,\"Acme, \"\"Best\"\" Supplies\",$75.00,75.00,Voided,2026-12-08,,"
                   "/home/m/Documents/1043.pdf,,,,,A071000013A,000120000001C,ann@desk-2\r\n"
                   "2026-12-01 14:05,1042,Jane Q. Customer,Acme Supplies LLC,\"$1,234.56\",1234.56,Returned,"
                   "2026-12-04,Not authorized,Office,Jane Q. Customer,Recorded phone call,2026-12-01 14:05,"
                   "\"The customer called us, not in answer to our "
                   "advertising\",A021000021A,98765436789C,ann@desk-2\r\n");
    }

    void csvOfTheListedDrafts()
    {
        QFETCH(bool, fullBankNumbers);
        QFETCH(QByteArray, csv);

        auto registerSession = session(folder(QTest::currentDataTag()) + "/register.sqlite");
        DraftRegister& drafts = registerSession->open(nullptr);
        m_now = QDateTime(QDate(2026, 12, 1), QTime(20, 5), Qt::UTC);
        DraftRecord authorized = printed(sampleTexts());
        authorized.authorization = authorization();
        const DraftId returned = drafts.record(authorized, DraftEvent::printed("17"));
        m_now = Now;
        drafts.change(returned, DraftEvent::deposited(QDate(2026, 12, 2), "Slip 15"));
        drafts.change(returned, DraftEvent::returned(QDate(2026, 12, 4), ReturnReason::NotAuthorized));
        DraftRecord exported = printed(
            withChanges(sampleTexts(), {QString::fromUtf8("1=Renée Dubois     "), "6=1043", "7=Acme, \"Best\" Supplies",
                                        "9=$75.00", "11=A071000013A   ", "12=000120000001C", "13=1043"}));
        exported.kind = SentDraft::Kind::PdfFile;
        exported.destinationName = QStringLiteral("/home/m/Documents/1043.pdf");
        const DraftId id = drafts.record(exported, DraftEvent::exported());
        drafts.append(id, DraftEvent::voided());

        QCOMPARE(RegisterCsv::write(drafts, drafts.drafts(), fullBankNumbers), csv);
    }

    void csvWritesFormulasAsText_data()
    {
        QTest::addColumn<QString>("payor");
        QTest::addColumn<QByteArray>("written");

        QTest::newRow("=") << "=HYPERLINK(\"http://x.test\",\"Pay\")"
                           << QByteArray("\"'=HYPERLINK(\"\"http://x.test\"\",\"\"Pay\"\")\"");
        QTest::newRow("+") << "+1+2" << QByteArray("'+1+2");
        QTest::newRow("-") << "-2+3" << QByteArray("'-2+3");
        QTest::newRow("@") << "@SUM(1,1)" << QByteArray("\"'@SUM(1,1)\"");
        QTest::newRow("tab") << "\t=1+2" << QByteArray("'\t=1+2");
        QTest::newRow("carriage return") << "\r=1+2" << QByteArray("\"'\r=1+2\"");
        // Left as typed: nothing a spreadsheet runs starts them.
        QTest::newRow("space first") << " =1+2" << QByteArray(" =1+2");
        QTest::newRow("digit first") << "1=1" << QByteArray("1=1");
        QTest::newRow("letter first") << "Jane = Q" << QByteArray("Jane = Q");
        QTest::newRow("a line feed first") << "\n=1" << QByteArray("\"\n=1\"");
        QTest::newRow("empty") << "" << QByteArray("");
    }

    void csvWritesFormulasAsText()
    {
        QFETCH(QString, payor);
        QFETCH(QByteArray, written);
        const std::unique_ptr<DraftRegister> drafts = registerInMemory();
        drafts->record(printed(withChanges(sampleTexts(), {"1=" + payor})), DraftEvent::printed("1"));
        const QByteArray csv = RegisterCsv::write(*drafts, drafts->drafts(), false);
        QVERIFY2(csv.contains(",1042," + written + ",Acme Supplies LLC,"), csv.constData());
    }

    void aDamagedValueHidesNothingElse()
    {
        const QString path = folder("damaged-value") + "/register.sqlite";
        {
            auto registerSession = session(path);
            DraftRegister& drafts = registerSession->open(nullptr);
            for (const QString& number : QStringList{"1042", "1043", "1044"})
                drafts.record(printed(withChanges(sampleTexts(),
                                                  {QStringLiteral("6=") + number, QStringLiteral("13=") + number})),
                              DraftEvent::printed("1"));
        }
        // One byte of the second draft's sealed payor changed, as SQLite's own checks let pass.
        QVERIFY(AlteredRegister::flipPayorByte(path, "1043"));

        auto registerSession = session(path);
        DraftRegister& drafts = registerSession->open(nullptr);
        DraftListModel list;
        list.setSource(drafts);
        QStringList payors;
        for (int row = 0; row < list.rowCount(); ++row)
            payors.append(list.data(list.index(row, DraftListModel::Payor)).toString());
        QCOMPARE(payors, (QStringList{"Jane Q. Customer", "(damaged)", "Jane Q. Customer"}));
        QCOMPARE(list.damagedDrafts().size(), std::size_t(1));
        QCOMPARE(list.damagedDrafts().front().checkNumber, "1043");

        const DraftDetails damaged = drafts.details(list.draftAt(1).id);
        QVERIFY(damaged.damaged);
        QCOMPARE(damaged.record.texts[Box::PayorLine1], "(damaged)");
        QCOMPARE(damaged.record.texts[Box::PayorLine2], "12 Elm Street");
        QCOMPARE(damaged.record.texts[Box::AccountNumber], "98765436789C");
        QVERIFY(!drafts.details(list.draftAt(0).id).damaged);

        const QByteArray csv = RegisterCsv::write(drafts, drafts.drafts(), true);
        QVERIFY(csv.contains(",1043,(damaged),Acme Supplies LLC,"));
        QVERIFY(csv.contains(",1044,Jane Q. Customer,Acme Supplies LLC,"));
        QCOMPARE(csv.count("\r\n"), 4);

        // The damaged check is still asked about, and another check prints and is recorded.
        JournalOver over(drafts);
        auto& [questions, offer, journal] = over;
        QVERIFY(!journal.maySend(quickPrintOf(withChanges(sampleTexts(), {"6=1043", "13=1043"}))));
        QCOMPARE(questions.asked,
                 QStringList{"Check 1043 on the account ending in 6789 was already printed on 12/08/2026 (job 1 on "
                             "\"Office\") for 1,234.56 to \"Acme Supplies LLC\". Print it again?"});
        const std::unique_ptr<DraftTicket> ticket =
            journal.maySend(quickPrintOf(withChanges(sampleTexts(), {"6=1045", "13=1045"})));
        QVERIFY(ticket && ticket->sending(QStringLiteral("Office")));
        QCOMPARE(drafts.details(ticket->recordId().value()).record.texts[Box::PayorLine1], "Jane Q. Customer");
    }

    void aFileFoundDamagedIsLeftAsItIs()
    {
        const QString path = folder("found-damaged") + "/register.sqlite";
        {
            auto filling = session(path);
            DraftRegister& drafts = filling->open(nullptr);
            drafts.together([&] {
                for (int number = 2000; number < 2300; ++number)
                    drafts.record(printed(withChanges(sampleTexts(), {"6=" + QString::number(number)})),
                                  DraftEvent::printed("1"));
            });
        }
        auto registerSession = session(path);
        DraftRegister& drafts = registerSession->open(nullptr);
        // A draft in the log, not yet in the file; then the file's pages go bad under the running program.
        drafts.record(printed(sampleTexts()), DraftEvent::printed("2"));
        QByteArray bytes = TestFiles::read(path);
        QVERIFY(bytes.size() > 40 * 4096);
        bytes.replace(4096, bytes.size() - 4096, QByteArray(bytes.size() - 4096, '\xff'));
        QVERIFY(TestFiles::write(path, bytes));

        const QString damaged = QStringLiteral("the file %1/register.sqlite is damaged; Quillo leaves it as it is")
                                    .arg(folder("found-damaged"));
        try {
            drafts.drafts();
            QFAIL("the damaged pages were read without a word");
        } catch (const RegisterError& error) {
            QCOMPARE(error.reason(), damaged);
        }
        // Said at the next print, and nothing more is written to it, not even as it closes.
        JournalOver over(drafts);
        auto& [questions, offer, journal] = over;
        // Asked as it looks for the same check, or else as it records the draft; No sends nothing.
        const std::unique_ptr<DraftTicket> ticket =
            journal.maySend(quickPrintOf(withChanges(sampleTexts(), {"6=3000"})));
        QVERIFY(!ticket || !ticket->sending(QStringLiteral("Office")));
        QCOMPARE(questions.asked,
                 QStringList{"The draft register cannot be written: " + damaged + ". Print without recording it?"});
        registerSession.reset();
        QCOMPARE(TestFiles::read(path), bytes);
    }

    void noClearBankNumbersInItsFiles()
    {
        const QString path = folder("at-rest") + "/register.sqlite";
        auto registerSession = session(path);
        DraftRegister& drafts = registerSession->open(nullptr);
        for (int i = 0; i < 20; ++i)
            drafts.record(printed(sampleTexts()), DraftEvent::printed(QString::number(i)));
        // What may name the payor: the file the draft came from, notes, return reasons.
        DraftRecord fromFile = printed(withChanges(sampleTexts(), {"6=1043", "13=1043"}));
        fromFile.sourceFile = QStringLiteral("/home/m/Zebulon Quartz.qlo");
        fromFile.authorization = authorization();
        const DraftId named = drafts.record(fromFile, DraftEvent::printed("21"));
        drafts.append(named, DraftEvent::note(QStringLiteral("Called back Zebulon's wife")));
        drafts.append(named, DraftEvent::returned(QDate(2026, 12, 8), ReturnReason::Other,
                                                  QStringLiteral("Zebulon closed the account")));
        QCOMPARE(drafts.details(named).record.sourceFile, "/home/m/Zebulon Quartz.qlo");
        DraftRecord exported = fromFile;
        exported.kind = SentDraft::Kind::PdfFile;
        exported.destinationName = QStringLiteral("/home/m/Zebulon Quartz.pdf");
        const DraftId file = drafts.record(exported, DraftEvent::exported());
        QCOMPARE(drafts.details(file).record.destinationName, "/home/m/Zebulon Quartz.pdf");
        QCOMPARE(drafts.drafts().front().destinationName, "/home/m/Zebulon Quartz.pdf");
        QCOMPARE(historyLine(drafts.details(named).history.back()),
                 "2026-12-08T18:00:00Z Returned||Zebulon closed the account|on 2026-12-08|Other");

        // While the program runs, the latest drafts are in the write-ahead log.
        const QByteArray running = filesOf(path);
        QVERIFY(!TestFiles::read(path + "-wal").isEmpty());
        registerSession.reset();
        const QByteArray closed = filesOf(path);
        for (const QByteArray& files : {running, closed}) {
            QVERIFY(files.contains("Acme Supplies LLC")); // the search would find a clear value
            for (const QByteArray& secret :
                 {QByteArray("98765436789"), QByteArray("021000021"), QByteArray("Jane Q. Customer"),
                  QByteArray("12 Elm Street"), QByteArray("Springfield, IL 62701"), QByteArray("Zebulon"),
                  QByteArray("(217) 555-0142")}) {
                QVERIFY2(!files.contains(secret), secret.constData());
                QVERIFY2(!files.contains(QString::fromLatin1(secret).toUtf8().toBase64()), secret.constData());
            }
        }
    }

    void eachSealedValueHasANonceOfItsOwn()
    {
        // The same account sealed twice, in two drafts and twice in one context.
        const QString path = folder("nonces") + "/register.sqlite";
        auto registerSession = session(path);
        DraftRegister& drafts = registerSession->open(nullptr);
        drafts.record(printed(sampleTexts()), DraftEvent::printed("1"));
        drafts.record(printed(sampleTexts()), DraftEvent::printed("2"));
        registerSession.reset();
        const QList<QList<QByteArray>> rows = draftColumns(path, {"account_number", "payor_line1"});
        QCOMPARE(rows.size(), 2);
        const RegisterCipher cipher(SecretBytes::copyOf(QByteArray(RegisterCipher::KeyBytes, '\x07')));
        const QByteArray context("quillo-register\x1f"
                                 "d1\x1f"
                                 "account_number");
        const QList<QByteArray> sealed = {rows[0][0],
                                          rows[0][1],
                                          rows[1][0],
                                          rows[1][1],
                                          cipher.seal("98765436789C", context),
                                          cipher.seal("98765436789C", context)};

        // XChaCha20-Poly1305: a 24-byte nonce first.
        QSet<QByteArray> nonces;
        for (const QByteArray& value : sealed) {
            const QByteArray nonce = value.left(24);
            QVERIFY2(nonce != QByteArray(24, '\0'), value.toHex().constData());
            nonces.insert(nonce);
        }
        QCOMPARE(nonces.size(), sealed.size());
        QCOMPARE(cipher.open(sealed[4], context), "98765436789C");
        QCOMPARE(cipher.open(sealed[5], context), "98765436789C");
    }

    void blindIndexesNeedTheRegistersKey_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("keyed");   // under the key 00 01 02 ... 1f
        QTest::addColumn<QByteArray>("unkeyed"); // BLAKE2b-256 without a key

        QTest::newRow("account") << QByteArray("account\x1f"
                                               "021000021\x1f"
                                               "98765436789")
                                 << QByteArray("59d50e9e2dff7ebdc4dfc56db6a6f5cd905cf1f833757368fbd62a69811654c4")
                                 << QByteArray("049943b19d9e21a0c75e8481dd4883b85786ae656103a4f12fcd382982ee7a71");
        QTest::newRow("cheque") << QByteArray("cheque\x1f"
                                              "021000021\x1f"
                                              "98765436789\x1f"
                                              "1042")
                                << QByteArray("a97565a42dbefbc5a45ebcdd3b769ce10883238a070646e4c50f141126dd0eb1")
                                << QByteArray("d88810865db6a2e7aebc3f5a5150fcfac2ca230a64e5299539b8b87f505e71b7");
    }

    void blindIndexesNeedTheRegistersKey()
    {
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, keyed);
        QFETCH(QByteArray, unkeyed);

        QByteArray key(RegisterCipher::KeyBytes, '\0');
        for (int k = 0; k < key.size(); ++k)
            key[k] = char(k);
        const RegisterCipher cipher(SecretBytes::copyOf(key));
        QCOMPARE(cipher.blindIndex(message).toHex(), keyed);
        QCOMPARE(cipher.blindIndex(message).toHex(), keyed); // the same again: look-ups find it
        key[0] = '\x01';
        const QByteArray otherKey = RegisterCipher(SecretBytes::copyOf(key)).blindIndex(message).toHex();
        QVERIFY(otherKey != keyed);
        QVERIFY(otherKey != unkeyed);

        // Two registers, each with a key of its own, and the same draft in each.
        QList<QByteArray> indexes;
        for (const char* name : {"first", "second"}) {
            const QString path = folder(QString::fromLatin1(QTest::currentDataTag()) + "-" + name) + "/register.sqlite";
            auto registerSession = session(path);
            registerSession->open(nullptr).record(printed(sampleTexts()), DraftEvent::printed("1"));
            registerSession.reset();
            const QList<QList<QByteArray>> rows = draftColumns(path, {"account_key", "cheque_key"});
            QCOMPARE(rows.size(), 1);
            indexes.append(rows[0][QTest::currentDataTag() == QByteArray("account") ? 0 : 1].toHex());
        }
        QCOMPARE(indexes[0].size(), 64);
        QVERIFY(indexes[0] != indexes[1]);
        QVERIFY(!indexes.contains(unkeyed));
    }

    void aRegisterThatCannotBeUsed_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason"); // %1: the register's folder
        // Reading is not held up by another program's write.
        QTest::addColumn<bool>("opensToRead");

        QTest::newRow("read-only folder, no register yet") << "read-only-new"
                                                           << "the folder %1 is read-only" << false;
        QTest::newRow("read-only folder") << "read-only"
                                          << "the file %1/register.sqlite is read-only" << false;
        QTest::newRow("not a database") << "not-a-database"
                                        << "the file %1/register.sqlite is damaged; Quillo leaves it as it is" << false;
        QTest::newRow("a damaged page") << "damaged-page"
                                        << "the file %1/register.sqlite is damaged; Quillo leaves it as it is" << false;
        QTest::newRow("a later version") << "later-version"
                                         << "the file %1/register.sqlite was written by a later version of Quillo"
                                         << false;
        QTest::newRow("locked by another program")
            << "locked"
            << "another program has kept %1/register.sqlite locked for more than 5 seconds" << true;
        QTest::newRow("keyring without the key") << "keyring-lost"
                                                 << "the desktop's keyring holds no key for it" << false;
        QTest::newRow("keyring locked, its unlock refused")
            << "keyring-locked"
            << "the desktop's keyring, which keeps its key, is locked" << false;
        QTest::newRow("keyring does not answer")
            << "keyring-silent"
            << "the desktop's keyring, which keeps its key, does not answer" << false;
        QTest::newRow("another register's key in the keyring")
            << "keyring-other"
            << "the key that the desktop's keyring holds for it is not its key" << false;
        QTest::newRow("wrong passphrase in the environment")
            << "wrong-variable"
            << "QUILLO_REGISTER_PASSPHRASE does not hold its passphrase" << false;
    }

    void aRegisterThatCannotBeUsed()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        QFETCH(bool, opensToRead);

        const QString where = QDir::homePath() + "/faults/" + fault;
        if (fault.startsWith(QLatin1String("read-only"))) {
            mountTmpfs(where, "size=4m");
            if (QTest::currentTestFailed())
                return;
        } else {
            QDir().mkpath(where);
        }
        const QString path = where + "/register.sqlite";
        if (fault != QLatin1String("read-only-new") && fault != QLatin1String("not-a-database")) {
            if (fault == QLatin1String("wrong-variable"))
                qputenv("QUILLO_REGISTER_PASSPHRASE", "the right one, kept safe");
            auto first = session(path);
            DraftRegister& drafts = first->open(nullptr);
            // Enough drafts for pages that opening and recording never read.
            const int count = fault == QLatin1String("damaged-page") ? 300 : 1;
            drafts.together([&] {
                for (int i = 0; i < count; ++i)
                    drafts.record(printed(sampleTexts()), DraftEvent::printed("1"));
            });
        }

        QSqlDatabase other;
        const QString otherName = QStringLiteral("other program");
        if (fault == QLatin1String("read-only") || fault == QLatin1String("read-only-new")) {
            QVERIFY(::mount(nullptr, QFile::encodeName(where).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) ==
                    0);
        } else if (fault == QLatin1String("not-a-database")) {
            QVERIFY(
                TestFiles::write(path, QByteArray("These are not the drafts you are looking for.\n").repeated(100)));
        } else if (fault == QLatin1String("damaged-page")) {
            // A page in the middle of the file: a leaf of the drafts or of an index.
            QByteArray bytes = TestFiles::read(path);
            QVERIFY(bytes.size() > 40 * 4096);
            bytes.replace(bytes.size() / 4096 / 2 * 4096, 64, QByteArray(64, '\xff'));
            QVERIFY(TestFiles::write(path, bytes));
        } else if (fault == QLatin1String("later-version")) {
            other = QSqlDatabase::addDatabase("QSQLITE", otherName);
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec("UPDATE register_schema SET version = 7"));
            other.close();
        } else if (fault == QLatin1String("locked")) {
            other = QSqlDatabase::addDatabase("QSQLITE", otherName);
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QVERIFY(other.transaction());
            QVERIFY(QSqlQuery(other).exec("INSERT INTO register_facts (name, value) VALUES ('held', 'x')"));
        } else if (fault == QLatin1String("keyring-lost")) {
            m_keyring.keys.clear();
        } else if (fault == QLatin1String("keyring-locked")) {
            m_keyring.ready = KeyringKeys::Readiness::Locked;
            m_keyring.staysLocked = true;
        } else if (fault == QLatin1String("keyring-silent")) {
            m_keyring.answers = false;
        } else if (fault == QLatin1String("keyring-other")) {
            for (QByteArray& key : m_keyring.keys)
                key = QByteArray(32, 'k');
        } else if (fault == QLatin1String("wrong-variable")) {
            qputenv("QUILLO_REGISTER_PASSPHRASE", "the wrong one, kept safe");
        }
        const QByteArray before = contentsOf(path);

        FakePassphrasePrompt prompt; // cancels
        QString failure;
        try {
            auto again = session(path);
            again->open(&prompt).record(printed(sampleTexts()), DraftEvent::printed("2"));
        } catch (const RegisterError& error) {
            failure = error.reason();
        }
        // Opened in the background at start-up: the same refusal, nothing changed.
        std::optional<bool> opened;
        auto background = session(path);
        background->openInBackground([&opened](bool open) { opened = open; });
        QTRY_VERIFY_WITH_TIMEOUT(opened.has_value(), 20000);
        QCOMPARE(*opened, opensToRead);
        QCOMPARE(background->isOpen(), opensToRead);
        background.reset();
        const QByteArray after = contentsOf(path);
        if (other.isValid()) {
            other.rollback();
            other.close();
        }
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(otherName);

        QCOMPARE(failure, reason.contains("%1") ? reason.arg(where) : reason);
        QCOMPARE(after, before);
    }

    // At start-up the register opens while the window goes on: its pages are
    // checked on a worker thread and a locked keyring is waited for without
    // holding up the event loop; the key then comes from that answer alone.
    void openedInTheBackgroundWhileTheKeyringIsLocked()
    {
        const QString path = folder("background") + "/register.sqlite";
        session(path)->open(nullptr).record(printed(sampleTexts()), DraftEvent::printed("1"));
        m_keyring.locked = true;
        m_keyring.reads = 0;

        auto later = session(path);
        std::optional<bool> opened;
        later->openInBackground([&opened](bool open) { opened = open; });
        QTRY_COMPARE(m_keyring.waiting.size(), std::size_t(1));
        bool eventLoopRan = false;
        QTimer::singleShot(50, [&eventLoopRan] { eventLoopRan = true; });
        QTRY_VERIFY(eventLoopRan);
        QVERIFY(!opened.has_value());
        QVERIFY(!later->isOpen());

        m_keyring.unlock();
        QTRY_VERIFY(opened.has_value());
        QCOMPARE(*opened, true);
        QCOMPARE(m_keyring.reads, 1);
        DraftRegister& drafts = later->open(nullptr);
        QCOMPARE(drafts.payor(drafts.drafts().front()), "Jane Q. Customer");
    }

    // The first print comes before the keyring has given the key: the
    // window's thread goes on at once, the keyring is asked and answers off
    // it, and the draft is recorded and sent once it has.
    void aFirstPrintWaitsForTheKeyringNotTheWindow_data()
    {
        // "locked": the register's key in a locked keyring; "slow": none yet, and the keyring slow to take it;
        // "refused": its unlock refused; "variable": a passphrase register, its passphrase in the variable
        QTest::addColumn<QString>("keyring");
        QTest::addColumn<QStringList>("asked"); // the merchant's questions
        QTest::addColumn<int>("pages");

        QTest::newRow("a locked keyring, unlocked") << "locked" << QStringList() << 1;
        QTest::newRow("a new register's key, slow to be taken") << "slow" << QStringList() << 1;
        QTest::newRow("Argon2id for the passphrase variable") << "variable" << QStringList() << 1;
        QTest::newRow("a locked keyring that stays locked")
            << "refused"
            << QStringList{"The draft register cannot be written: the desktop's keyring, which keeps its key, is "
                           "locked. Print without recording it?"}
            << 0;
    }

    void aFirstPrintWaitsForTheKeyringNotTheWindow()
    {
        QFETCH(QString, keyring);
        QFETCH(QStringList, asked);
        QFETCH(int, pages);

        const QString path = folder(QTest::currentDataTag()) + "/register.sqlite";
        const bool variable = keyring == QLatin1String("variable");
        if (variable)
            qputenv("QUILLO_REGISTER_PASSPHRASE", "a passphrase kept for the scripts");
        if (keyring != QLatin1String("slow")) {
            session(path)->open(nullptr);
            m_keyring.locked = true;
            m_keyring.staysLocked = keyring == QLatin1String("refused");
        }
        m_keyring.holdsWrites = keyring == QLatin1String("slow");
        m_keyring.onMainThread = 0;

        RegisterSession program(
            path, &m_keyring, [this] { return m_now; }, RegisterSession::KeyringThreads::OffCallingThread);
        FakeQuestionBox questions;
        FakeAuthorizationOffer offer;
        RegisterJournal journal([&](SentDraft::Kind) -> DraftRecorder& { return program.open(nullptr); },
                                [&]() -> DraftRecorder* { return program.isOpen() ? &program.open(nullptr) : nullptr; },
                                questions, offer, [this] { return m_now; }, [&] { return program.openLater(); });
        FakePrinterFinder printers;
        FakeMessageBox messages;
        FakeFailureReporter failures;
        Printing printing(printers, messages, failures, &journal);
        printing.toDefaultPrinter([](PrintSurface&) { return std::vector<QuickPrint::Overflow>(); },
                                  QStringLiteral("Printed."), {}, quickPrintOf(sampleTexts()));

        // Back at once: the print waits, holding the merchant's input, until the keyring answers.
        QVERIFY(printing.isBusy());
        QVERIFY(!program.isOpen());
        if (keyring == QLatin1String("slow")) {
            m_keyring.writesLetThrough->release();
        } else if (!variable) {
            QTRY_COMPARE(m_keyring.waiting.size(), std::size_t(1));
            QVERIFY(printing.isBusy());
            m_keyring.unlock();
        }
        QTRY_VERIFY(!printing.isBusy());
        QCOMPARE(questions.asked, asked);
        QCOMPARE(printers.printer.pages.size(), pages);
        QCOMPARE(program.isOpen(), pages == 1);
        if (pages == 1) {
            DraftRegister& drafts = program.open(nullptr);
            QCOMPARE(drafts.drafts().size(), std::size_t(1));
            QCOMPARE(drafts.details(drafts.drafts().front().id).status, DraftStatus::Printed);
            QCOMPARE(m_keyring.keys.size(), variable ? 0 : 1);
            QCOMPARE(messages.shown, QStringList{"Printed."});
        }
        // Not once did the window's thread wait for the keyring.
        QCOMPARE(m_keyring.onMainThread, 0);
    }

    void startUpAsksNothing_data()
    {
        QTest::addColumn<QString>("made");    // "keyring", "passphrase" or "" for no register yet
        QTest::addColumn<QString>("keyring"); // its state at the start: "unlocked", "locked", "absent"
        QTest::addColumn<bool>("variable");   // QUILLO_REGISTER_PASSPHRASE set at the start
        QTest::addColumn<bool>("openedAtStart");
        QTest::addColumn<QString>("firstNeed"); // what the first use asks: C choose, E enter, - nothing

        QTest::newRow("first start, no keyring, no variable") << ""
                                                              << "absent" << false << false << "C";
        QTest::newRow("first start, the variable") << ""
                                                   << "absent" << true << true << "-";
        QTest::newRow("first start, an unlocked keyring") << ""
                                                          << "unlocked" << false << true << "-";
        QTest::newRow("key in the unlocked keyring") << "keyring"
                                                     << "unlocked" << false << true << "-";
        QTest::newRow("key in the locked keyring") << "keyring"
                                                   << "locked" << false << false << "-";
        QTest::newRow("key in a keyring not running") << "keyring"
                                                      << "absent" << false << false << "-";
        QTest::newRow("passphrase, no variable") << "passphrase"
                                                 << "unlocked" << false << false << "E";
        QTest::newRow("passphrase in the variable") << "passphrase"
                                                    << "unlocked" << true << true << "-";
    }

    void startUpAsksNothing()
    {
        QFETCH(QString, made);
        QFETCH(QString, keyring);
        QFETCH(bool, variable);
        QFETCH(bool, openedAtStart);
        QFETCH(QString, firstNeed);

        const QString path = folder(QTest::currentDataTag()) + "/register.sqlite";
        const QByteArray passphrase = "horse battery staple";
        if (!made.isEmpty()) {
            if (made == QLatin1String("passphrase"))
                qputenv("QUILLO_REGISTER_PASSPHRASE", passphrase);
            session(path)->open(nullptr).record(printed(sampleTexts()), DraftEvent::printed("1"));
            qunsetenv("QUILLO_REGISTER_PASSPHRASE");
        }
        const int keysBefore = m_keyring.keys.size();
        m_keyring.reads = 0;
        m_keyring.ready = keyring == QLatin1String("unlocked") ? KeyringKeys::Readiness::Unlocked
                          : keyring == QLatin1String("locked") ? KeyringKeys::Readiness::Locked
                                                               : KeyringKeys::Readiness::Absent;
        if (variable)
            qputenv("QUILLO_REGISTER_PASSPHRASE", passphrase);

        auto start = session(path);
        std::optional<bool> opened;
        start->openInBackground([&opened](bool open) { opened = open; });
        QTRY_VERIFY_WITH_TIMEOUT(opened.has_value(), 20000);
        QCOMPARE(*opened, openedAtStart);
        QCOMPARE(start->isOpen(), openedAtStart);
        // Nothing read from a keyring that would ask to be unlocked or
        // started, nothing written to it; an open one gets a new register's
        // key, which is not read back.
        QCOMPARE(m_keyring.reads, openedAtStart && made == QLatin1String("keyring") ? 1 : 0);
        QCOMPARE(m_keyring.keys.size(), keysBefore + (made.isEmpty() && keyring == QLatin1String("unlocked") ? 1 : 0));

        // The first use asks what the register needs.
        FakePassphrasePrompt prompt;
        prompt.answers = {QString::fromLatin1(passphrase), QString::fromLatin1(passphrase)};
        start->open(&prompt).record(printed(sampleTexts()), DraftEvent::printed("2"));
        QStringList asked;
        for (const FakePassphrasePrompt::Question& question : std::as_const(prompt.asked))
            asked.append(question.purpose == PassphrasePrompt::Purpose::Choose ? "C" : "E");
        QCOMPARE(asked.isEmpty() ? QStringLiteral("-") : asked.join(' '), firstNeed);
    }

    void aFullDisk()
    {
        const QString where = QDir::homePath() + "/full-disk";
        mountTmpfs(where, "size=1m");
        if (QTest::currentTestFailed())
            return;
        const QString path = where + "/register.sqlite";
        auto registerSession = session(path);
        DraftRegister& drafts = registerSession->open(nullptr);
        drafts.record(printed(sampleTexts()), DraftEvent::printed("1"));
        // Leaves the register a few pages to grow into.
        QFile filler(where + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
        QVERIFY(filler.resize(filler.size() - 96 * 1024));

        int recorded = 1;
        QString failure;
        QByteArray before;
        for (int i = 0; i < 200 && failure.isEmpty(); ++i) {
            before = TestFiles::read(path);
            try {
                drafts.record(printed(withChanges(sampleTexts(), {"6=" + QString::number(2000 + i)})),
                              DraftEvent::printed("2"));
                ++recorded;
            } catch (const RegisterError& error) {
                failure = error.reason();
            }
        }
        QCOMPARE(failure, QStringLiteral("the disk that holds %1 is full").arg(path));
        QCOMPARE(TestFiles::read(path), before);
        registerSession.reset();

        // With room again, every draft committed before the disk filled is there.
        QVERIFY(QFile::remove(where + "/filler"));
        auto reopened = session(path);
        const std::vector<DraftSummary> listed = reopened->open(nullptr).drafts();
        QCOMPARE(int(listed.size()), recorded);
        QVERIFY(recorded > 1);
        for (const DraftSummary& draft : listed)
            QCOMPARE(reopened->open(nullptr).payor(draft), "Jane Q. Customer");
    }

    void twoProgramsRecordAtOnce()
    {
        const QString path = folder("two-writers") + "/register.sqlite";
        qputenv("QUILLO_REGISTER_PASSPHRASE", "two writers share one ledger");
        RegisterSession(path, nullptr).open(nullptr);

        QProcess* one = startWriter(path, 40, 1000);
        QProcess* two = startWriter(path, 40, 5000);
        for (QProcess* writer : {one, two}) {
            QVERIFY(writer->waitForFinished(120000));
            QCOMPARE(writer->readAllStandardError(), QByteArray());
            QCOMPARE(writer->exitCode(), 0);
        }

        RegisterSession reader(path, nullptr);
        QSet<QString> numbers;
        for (const DraftSummary& draft : reader.open(nullptr).drafts())
            numbers.insert(draft.checkNumber);
        QCOMPARE(numbers.size(), 80);
        QVERIFY(numbers.contains("1000") && numbers.contains("1039") && numbers.contains("5000") &&
                numbers.contains("5039"));
    }

    void killedWhileRecording()
    {
        const QString path = folder("killed") + "/register.sqlite";
        qputenv("QUILLO_REGISTER_PASSPHRASE", "two writers share one ledger");
        RegisterSession(path, nullptr).open(nullptr);

        QProcess* writer = startWriter(path, 100000, 1);
        QStringList committed;
        while (committed.size() < 25) {
            QVERIFY(writer->waitForReadyRead(30000));
            while (writer->canReadLine())
                committed.append(QString::fromLatin1(writer->readLine()).trimmed());
        }
        ::kill(pid_t(writer->processId()), SIGKILL);
        QVERIFY(writer->waitForFinished(10000));
        QCOMPARE(writer->exitStatus(), QProcess::CrashExit);
        committed.append(QString::fromLatin1(writer->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts));

        RegisterSession reopened(path, nullptr);
        DraftRegister& drafts = reopened.open(nullptr);
        QStringList found;
        for (const DraftSummary& draft : drafts.drafts()) {
            found.prepend(draft.checkNumber);
            QCOMPARE(drafts.payor(draft), "Jane Q. Customer");
        }
        // The one under way when it was killed may have committed unreported.
        QVERIFY(found.size() == committed.size() || found.size() == committed.size() + 1);
        QCOMPARE(found.mid(0, committed.size()), committed);
        drafts.record(printed(sampleTexts()), DraftEvent::printed("after"));
        QCOMPARE(drafts.drafts().size(), std::size_t(found.size() + 1));
    }

    void secretBytesAreLockedAndWiped()
    {
        const int lockedBefore = lockedKilobytes();
        QByteArray typed("correct horse battery staple");
        const char* typedBytes = typed.constData();
        {
            SecretBytes secret = SecretBytes::takeFrom(typed);
            QCOMPARE(secret.view(), QByteArrayView("correct horse battery staple"));
            // The way in is wiped where it was, not merely let go.
            QCOMPARE(typed.constData(), typedBytes);
            QCOMPARE(typed, QByteArray(28, '\0'));
            // Kept out of swap while it lives. AddressSanitizer turns mlock
            // into a no-op, so only the plain build can see the lock.
            if (!builtWithAddressSanitizer())
                QVERIFY2(
                    lockedKilobytes() >= lockedBefore + 4,
                    qPrintable(QStringLiteral("%1 kB locked, %2 before").arg(lockedKilobytes()).arg(lockedBefore)));

            SecretBytes moved = std::move(secret);
            QVERIFY(secret.isEmpty());
            QCOMPARE(moved.view(), QByteArrayView("correct horse battery staple"));
            const unsigned char* kept = moved.data();
            moved.wipe();
            QCOMPARE(QByteArrayView(kept, 28), QByteArrayView(QByteArray(28, '\0')));
            QCOMPARE(SecretBytes::utf8Of(QStringLiteral("Łukasz")).view(), QByteArrayView("\xc5\x81ukasz"));
        }
        QCOMPARE(lockedKilobytes(), lockedBefore);
    }

    void passphraseStrength_data()
    {
        QTest::addColumn<QString>("passphrase");
        QTest::addColumn<QString>("advice"); // empty: accepted

        const QString refused = "This passphrase could be guessed in fewer than ten billion tries. ";
        const QString words = "Common words and names are guessed first, even with digits for letters. ";
        const QString repeats = "Repeated characters or words add little. ";
        const QString shortOne = "It is short: every character more makes it harder to guess. ";
        const QString more = "Add another word or two that are not common.";
        // The edge, ten billion guesses, is 33.22 bits of the estimator's.
        QTest::newRow("two words, 32.9 bits") << "zebra staple" << refused + words + more;
        QTest::newRow("two words, one capital, 34.5 bits") << "Zebra staple"
                                                           << "";
        QTest::newRow("seven random letters, 32.9 bits") << "zqxjvkw" << refused + shortOne + more;
        QTest::newRow("eight random letters, 37.6 bits") << "zqxjvkwp"
                                                         << "";
        QTest::newRow("dictionary word") << "password" << refused + words + shortOne + more;
        QTest::newRow("a word with digits for letters") << "p4ssw0rd" << refused + words + shortOne + more;
        QTest::newRow("a repeated character") << "zzzzzzzzzzzzzzzzzzzz" << refused + repeats + more;
        QTest::newRow("a repeated pair") << "zqzqzqzqzqzq" << refused + repeats + more;
        QTest::newRow("a sequence") << "abcdefgh"
                                    << refused + "Sequences such as \"abc\" or \"1234\" add little. " + shortOne + more;
        QTest::newRow("a row of keys") << "asdfghjkl;"
                                       << refused + "Rows of keys such as \"qwerty\" add little. " + shortOne + more;
        QTest::newRow("a date") << "11/12/1987" << refused + "Dates and years are guessed early. " + shortOne + more;
        QTest::newRow("one character") << "a" << refused + words + shortOne + more;
        QTest::newRow("four common words") << "correct horse battery staple"
                                           << "";
    }

    void passphraseStrength()
    {
        QFETCH(QString, passphrase);
        QFETCH(QString, advice);
        const PassphraseStrength strength(passphrase);
        QCOMPARE(strength.advice(), advice);
        QCOMPARE(strength.isEnough(), advice.isEmpty());
    }

    void passphrase_data()
    {
        QTest::addColumn<QStringList>("firstAnswers");
        QTest::addColumn<QStringList>("laterAnswers");
        QTest::addColumn<QString>("variable");      // when the register is made
        QTest::addColumn<QString>("laterVariable"); // when it is opened again
        QTest::addColumn<QString>("asked");         // C: choose, E: enter, e: enter after a wrong one
        QTest::addColumn<QString>("reason");

        QTest::newRow("chosen, then typed") << QStringList{"horse battery"} << QStringList{"horse battery"} << ""
                                            << ""
                                            << "C E"
                                            << "";
        QTest::newRow("a wrong one, then the right one")
            << QStringList{"horse battery"} << QStringList{"horse staple", "horse battery"} << ""
            << ""
            << "C E e"
            << "";
        QTest::newRow("a wrong one, then cancelled")
            << QStringList{"horse battery"} << QStringList{"horse staple", QString()} << ""
            << ""
            << "C E e"
            << "no register passphrase was given";
        QTest::newRow("cancelled when choosing")
            << QStringList{QString()} << QStringList() << ""
            << ""
            << "C"
            << "the desktop's keyring does not answer, and no register passphrase was given";
        QTest::newRow("from the environment") << QStringList() << QStringList() << "horse battery staple"
                                              << "horse battery staple"
                                              << ""
                                              << "";
        QTest::newRow("too easy to guess in the environment, new register")
            << QStringList() << QStringList() << "zebra staple"
            << ""
            << ""
            << "the passphrase in QUILLO_REGISTER_PASSPHRASE is too easy to guess for a new register";
        QTest::newRow("just hard enough in the environment, new register")
            << QStringList() << QStringList() << "Zebra staple"
            << "Zebra staple"
            << ""
            << "";
        // A register made before the rule, with a weak passphrase, still opens with it.
        QTest::newRow("too easy to guess in the environment, existing register")
            << QStringList{"zebra staple"} << QStringList() << ""
            << "zebra staple"
            << "C"
            << "";
    }

    void passphrase()
    {
        QFETCH(QStringList, firstAnswers);
        QFETCH(QStringList, laterAnswers);
        QFETCH(QString, variable);
        QFETCH(QString, laterVariable);
        QFETCH(QString, asked);
        QFETCH(QString, reason);

        m_keyring.answers = false;
        if (!variable.isEmpty())
            qputenv("QUILLO_REGISTER_PASSPHRASE", variable.toUtf8());
        const QString path = folder(QTest::currentDataTag()) + "/register.sqlite";
        FakePassphrasePrompt prompt;
        prompt.answers.assign(firstAnswers.cbegin(), firstAnswers.cend());
        QString failure;
        try {
            session(path)->open(&prompt).record(printed(sampleTexts()), DraftEvent::printed("1"));
            // The keyring answers now, but the register keeps its passphrase.
            m_keyring.answers = true;
            prompt.answers.assign(laterAnswers.cbegin(), laterAnswers.cend());
            qunsetenv("QUILLO_REGISTER_PASSPHRASE");
            if (!laterVariable.isEmpty())
                qputenv("QUILLO_REGISTER_PASSPHRASE", laterVariable.toUtf8());
            auto later = session(path);
            DraftRegister& drafts = later->open(&prompt);
            QCOMPARE(drafts.payor(drafts.drafts().front()), "Jane Q. Customer");
        } catch (const RegisterError& error) {
            failure = error.reason();
        }
        QStringList questions;
        for (const FakePassphrasePrompt::Question& question : std::as_const(prompt.asked))
            questions.append(question.purpose == PassphrasePrompt::Purpose::Choose ? "C"
                             : question.wrongBefore                                ? "e"
                                                                                   : "E");
        QCOMPARE(questions.join(' '), asked);
        QCOMPARE(failure, reason);
        QVERIFY(m_keyring.keys.isEmpty());
        // A new register's key costs each guess libsodium's moderate work:
        // three passes over 256 MiB, kept with the register for its later opens.
        if (reason.isEmpty())
            QCOMPARE(QStringList({factOf(path, "passphrase_operations"), factOf(path, "passphrase_memory")}),
                     QStringList({"3", "268435456"}));
        else if (reason.endsWith("for a new register"))
            QCOMPARE(factOf(path, "key_source"), QString());
    }

    // The office server as one seat sees it: the database stands in as a
    // register file at `path`; the server takes only the password
    // `password` where one is given.
    static RegisterLocation officeAt(const QString& path)
    {
        RegisterLocation location = RegisterLocation::server(QStringLiteral("db.office.example"),
                                                             QStringLiteral("drafts"), QStringLiteral("frontdesk"));
        location.path = path;
        return location;
    }

    static RegisterSession::StoreOpener officeServer(const QString& password = {})
    {
        return [password](const RegisterLocation& location, const QString& given, RegisterStore::Check check) {
            if (!password.isEmpty() && given != password)
                throw ServerPasswordRefused(QStringLiteral("the office server refused the password"));
            return RegisterStore::open(location.path, check);
        };
    }

    // One seat of the office, with its own keyring.
    std::unique_ptr<RegisterSession> seat(const QString& path, FakeKeyring& keyring,
                                          PassphrasePrompt* passwordPrompt = nullptr, const QString& password = {})
    {
        return std::make_unique<RegisterSession>(officeAt(path), &keyring, officeServer(password), passwordPrompt,
                                                 [this] { return m_now; });
    }

    // C: the office passphrase chosen, E: entered, e: after a wrong one; P
    // and p the same for the server's password; anything else is "?".
    static QString questionsOf(const FakePassphrasePrompt& prompt)
    {
        QStringList questions;
        for (const FakePassphrasePrompt::Question& question : prompt.asked) {
            switch (question.purpose) {
            case PassphrasePrompt::Purpose::ChooseOffice:
                questions.append(question.wrongBefore ? "?" : "C");
                break;
            case PassphrasePrompt::Purpose::EnterOffice:
                questions.append(question.wrongBefore ? "e" : "E");
                break;
            case PassphrasePrompt::Purpose::ServerPassword:
                questions.append(question.wrongBefore ? "p" : "P");
                break;
            default:
                questions.append("?");
            }
        }
        return questions.join(' ');
    }

    void officeKey_data()
    {
        QTest::addColumn<QStringList>("chosen");    // the first seat's answers
        QTest::addColumn<QString>("variable");      // when the first seat makes the register
        QTest::addColumn<QString>("kept");          // the joining seat's keyring: "", "same" or "other"
        QTest::addColumn<QStringList>("entered");   // the joining seat's answers
        QTest::addColumn<QString>("laterVariable"); // when the joining seat opens it
        QTest::addColumn<QString>("asked");         // of both seats: C choose, E enter, e after a wrong one
        QTest::addColumn<QString>("reason");

        const QString office = "Office drawer 7 keeps the stamps";
        QTest::newRow("joins with the office passphrase") << QStringList{office} << ""
                                                          << "" << QStringList{office} << ""
                                                          << "C E"
                                                          << "";
        QTest::newRow("a wrong one, then the right one")
            << QStringList{office} << ""
            << "" << QStringList{"office drawer 7 keeps the stamps", office} << ""
            << "C E e"
            << "";
        QTest::newRow("a wrong one, then cancelled") << QStringList{office} << ""
                                                     << "" << QStringList{"stamps", {}} << ""
                                                     << "C E e"
                                                     << "no office passphrase was given";
        QTest::newRow("cancelled when joining") << QStringList{office} << ""
                                                << "" << QStringList{} << ""
                                                << "C E"
                                                << "no office passphrase was given";
        QTest::newRow("cancelled when choosing") << QStringList{QString()} << ""
                                                 << "" << QStringList{} << ""
                                                 << "C"
                                                 << "no office passphrase was given";
        QTest::newRow("its keyring holds the key") << QStringList{office} << ""
                                                   << "same" << QStringList{} << ""
                                                   << "C"
                                                   << "";
        // A key kept for an earlier database of the same name.
        QTest::newRow("its keyring holds another key") << QStringList{office} << ""
                                                       << "other" << QStringList{office} << ""
                                                       << "C E"
                                                       << "";
        QTest::newRow("from the environment") << QStringList{} << office << "" << QStringList{} << office << ""
                                              << "";
        QTest::newRow("a wrong one in the environment")
            << QStringList{} << office << "" << QStringList{office} << "Office drawer 8 keeps the stamps"
            << ""
            << "QUILLO_REGISTER_PASSPHRASE does not hold the office passphrase";
        QTest::newRow("too easy to guess in the environment")
            << QStringList{} << "zebra staple"
            << "" << QStringList{} << ""
            << ""
            << "the passphrase in QUILLO_REGISTER_PASSPHRASE is too easy to guess for a new office register";
        QTest::newRow("just hard enough in the environment") << QStringList{} << "Zebra staple"
                                                             << "" << QStringList{} << "Zebra staple"
                                                             << ""
                                                             << "";
    }

    void officeKey()
    {
        QFETCH(QStringList, chosen);
        QFETCH(QString, variable);
        QFETCH(QString, kept);
        QFETCH(QStringList, entered);
        QFETCH(QString, laterVariable);
        QFETCH(QString, asked);
        QFETCH(QString, reason);

        const QString path = folder(QTest::currentDataTag()) + "/office.sqlite";
        const QString entry = "office-key-db.office.example:5432/drafts";
        FakeKeyring first;
        FakeKeyring joining;
        FakePassphrasePrompt prompt;
        prompt.answers.assign(chosen.cbegin(), chosen.cend());
        std::unique_ptr<RegisterSession> joiner;
        bool recorded = false;
        QString failure;
        try {
            if (!variable.isEmpty())
                qputenv("QUILLO_REGISTER_PASSPHRASE", variable.toUtf8());
            seat(path, first)->open(&prompt).record(printed(sampleTexts()), DraftEvent::printed("1"));
            recorded = true;
            qunsetenv("QUILLO_REGISTER_PASSPHRASE");
            if (!laterVariable.isEmpty())
                qputenv("QUILLO_REGISTER_PASSPHRASE", laterVariable.toUtf8());
            if (kept == "same")
                joining.keys = first.keys;
            else if (kept == "other")
                joining.keys.insert(entry, QByteArray(32, 'k'));
            prompt.answers.assign(entered.cbegin(), entered.cend());
            joiner = seat(path, joining);
            DraftRegister& drafts = joiner->open(&prompt);
            QCOMPARE(drafts.payor(drafts.drafts().front()), "Jane Q. Customer");
        } catch (const RegisterError& error) {
            failure = error.reason();
        }
        QCOMPARE(questionsOf(prompt), asked);
        QCOMPARE(failure, reason);
        if (!reason.isEmpty()) {
            // A seat without the key has no register to read or write.
            QVERIFY(!joiner || !joiner->isOpen());
            QCOMPARE(draftColumns(path, {"id"}).size(), recorded ? 1 : 0);
            return;
        }
        // The key is wrapped in the database, its Argon2id limits and salt
        // beside it; no file-register passphrase is kept.
        QCOMPARE(QStringList({factOf(path, "key_source"), factOf(path, "office_operations_1"),
                              factOf(path, "office_memory_1"), QString::number(factOf(path, "office_salt_1").size()),
                              QString::number(factOf(path, "office_key_1").size()), factOf(path, "passphrase_salt")}),
                 QStringList({"office", "3", "268435456", "16", "72", ""}));
        // Each seat keeps the unwrapped key in its own keyring, named by
        // server and database; a script leaves nothing there.
        const bool scripted = !variable.isEmpty();
        QCOMPARE(first.keys.keys(), scripted ? QStringList() : QStringList{entry});
        QCOMPARE(joining.keys.keys(), scripted ? QStringList() : QStringList{entry});
        if (!scripted)
            QCOMPARE(joining.keys.value(entry), first.keys.value(entry));
    }

    void officePassphraseChanged()
    {
        const QString path = folder("changed") + "/office.sqlite";
        const QString before = "Office drawer 7 keeps the stamps";
        const QString after = "Blue kettle hums at noon";
        FakeKeyring owners;
        FakePassphrasePrompt prompt;
        prompt.answers = {before};
        std::unique_ptr<RegisterSession> owner = seat(path, owners);
        DraftRegister& drafts = owner->open(&prompt);
        for (const QString& number : QStringList{"1042", "1043", "1044"})
            drafts.record(printed(withChanges(sampleTexts(), {"6=" + number, "13=" + number})),
                          DraftEvent::printed("1"));
        const QStringList sealed{"payor_line1", "routing_number", "account_number", "account_key"};
        const QList<QList<QByteArray>> sealedBefore = draftColumns(path, sealed);
        QCOMPARE(sealedBefore.size(), 3);

        const auto change = [&](const QString& current, const QString& chosen) {
            try {
                owner->changeOfficePassphrase(current, chosen);
            } catch (const RegisterError& error) {
                return error.reason();
            }
            return QString();
        };
        QCOMPARE(change("Office drawer 8 keeps the stamps", after), "the office passphrase given is not the office's");
        QCOMPARE(change(before, "zebra staple"), "the new office passphrase is too easy to guess");
        QCOMPARE(factOf(path, "office_key_2"), QString());
        QCOMPARE(change(before, after), QString());
        QCOMPARE(factOf(path, "office_key_2").size(), 72);
        // The drafts' sealed values are as they were: only the key's wrapping is new.
        QCOMPARE(draftColumns(path, sealed), sealedBefore);

        // A new seat joins with the new passphrase only.
        FakeKeyring joining;
        prompt.asked.clear();
        prompt.answers = {before, after};
        std::unique_ptr<RegisterSession> joiner = seat(path, joining);
        DraftRegister& joined = joiner->open(&prompt);
        QCOMPARE(questionsOf(prompt), "E e");
        QStringList numbers;
        for (const DraftSummary& draft : joined.drafts()) {
            numbers.append(draft.checkNumber);
            QCOMPARE(joined.payor(draft), "Jane Q. Customer");
        }
        QCOMPARE(numbers, QStringList({"1044", "1043", "1042"}));
        // The seat that kept the key goes on without a question, and writes.
        prompt.asked.clear();
        std::unique_ptr<RegisterSession> again = seat(path, owners);
        again->open(&prompt).record(printed(withChanges(sampleTexts(), {"6=1045", "13=1045"})),
                                    DraftEvent::printed("2"));
        QCOMPARE(prompt.asked.size(), 0);
        QCOMPARE(joined.drafts().size(), std::size_t(4));
        // The passphrase given in the environment is the new one too.
        qputenv("QUILLO_REGISTER_PASSPHRASE", before.toUtf8());
        FakeKeyring script;
        QString failure;
        try {
            seat(path, script)->open(nullptr);
        } catch (const RegisterError& error) {
            failure = error.reason();
        }
        QCOMPARE(failure, "QUILLO_REGISTER_PASSPHRASE does not hold the office passphrase");
    }

    void officePassphraseCommand_data()
    {
        QTest::addColumn<bool>("office");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("opensWith"); // the passphrase a new seat joins with afterwards

        const QString before = "Office drawer 7 keeps the stamps";
        const QString after = "Blue kettle hums at noon";
        QTest::newRow("changed") << true << QStringList{before, after} << "E C"
                                 << "The office passphrase has been changed. Seats that keep the register's key go "
                                    "on as before; a seat that joins from now on types the new one."
                                 << after;
        QTest::newRow("the one in use is wrong")
            << true << QStringList{"Office drawer 8 keeps the stamps", after} << "E C"
            << "The office passphrase cannot be changed: the office passphrase given is not the office's." << before;
        QTest::newRow("cancelled at the first question") << true << QStringList{} << "E"
                                                         << "" << before;
        QTest::newRow("cancelled at the second question") << true << QStringList{before} << "E C"
                                                          << "" << before;
        QTest::newRow("a register file") << false << QStringList{before, after} << ""
                                         << "The draft register is kept on this computer: only a register on the "
                                            "office server has an office passphrase."
                                         << "";
    }

    void officePassphraseCommand()
    {
        QFETCH(bool, office);
        QFETCH(QStringList, answers);
        QFETCH(QString, asked);
        QFETCH(QString, shown);
        QFETCH(QString, opensWith);

        const QString path = folder(QTest::currentDataTag()) + "/office.sqlite";
        FakeKeyring keyring;
        qputenv("QUILLO_REGISTER_PASSPHRASE", "Office drawer 7 keeps the stamps");
        std::unique_ptr<RegisterSession> drafts = office ? seat(path, keyring) : session(path);
        drafts->open(nullptr).record(printed(sampleTexts()), DraftEvent::printed("1"));
        qunsetenv("QUILLO_REGISTER_PASSPHRASE");

        FakePassphrasePrompt prompt;
        prompt.answers.assign(answers.cbegin(), answers.cend());
        FakeMessageBox messages;
        OfficePassphraseChange::run(*drafts, prompt, messages);
        QCOMPARE(questionsOf(prompt), asked);
        QCOMPARE(messages.shown, shown.isEmpty() ? QStringList() : QStringList{shown});
        if (opensWith.isEmpty())
            return;
        qputenv("QUILLO_REGISTER_PASSPHRASE", opensWith.toUtf8());
        FakeKeyring joining;
        std::unique_ptr<RegisterSession> joiner = seat(path, joining);
        DraftRegister& joined = joiner->open(nullptr);
        QCOMPARE(joined.payor(joined.drafts().front()), "Jane Q. Customer");
    }

    void serverPassword_data()
    {
        QTest::addColumn<QString>(
            "inKeyring"); // the password the keyring holds; "-" for a keyring that does not answer
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("keptAfter"); // in the keyring afterwards
        QTest::addColumn<QString>("reason");

        QTest::newRow("kept in the keyring") << "Hydrant 4 paints" << QStringList{} << ""
                                             << "Hydrant 4 paints"
                                             << "";
        QTest::newRow("asked, then kept") << "" << QStringList{"Hydrant 4 paints"} << "P"
                                          << "Hydrant 4 paints"
                                          << "";
        QTest::newRow("the keyring's is old") << "Hydrant 3 paints" << QStringList{"Hydrant 4 paints"} << "p"
                                              << "Hydrant 4 paints"
                                              << "";
        QTest::newRow("a wrong one, then the right one") << "" << QStringList{"hydrant", "Hydrant 4 paints"} << "P p"
                                                         << "Hydrant 4 paints"
                                                         << "";
        QTest::newRow("cancelled") << "" << QStringList{} << "P"
                                   << ""
                                   << "no password for the office server was given";
        QTest::newRow("a keyring that does not answer") << "-" << QStringList{"Hydrant 4 paints"} << "P"
                                                        << ""
                                                        << "";
    }

    void serverPassword()
    {
        QFETCH(QString, inKeyring);
        QFETCH(QStringList, typed);
        QFETCH(QString, asked);
        QFETCH(QString, keptAfter);
        QFETCH(QString, reason);

        qputenv("QUILLO_REGISTER_PASSPHRASE", "Office drawer 7 keeps the stamps");
        const QString path = folder(QTest::currentDataTag()) + "/office.sqlite";
        const QString entry = "office-password-frontdesk@db.office.example:5432/drafts";
        FakeKeyring keyring;
        if (inKeyring == "-")
            keyring.answers = false;
        else if (!inKeyring.isEmpty())
            keyring.keys.insert(entry, inKeyring.toUtf8());
        FakePassphrasePrompt passwords;
        passwords.answers.assign(typed.cbegin(), typed.cend());
        std::unique_ptr<RegisterSession> session = seat(path, keyring, &passwords, "Hydrant 4 paints");
        QString failure;
        try {
            session->open(nullptr).record(printed(sampleTexts()), DraftEvent::printed("1"));
            // Asked once a run: the change of the office passphrase connects again without a question.
            session->changeOfficePassphrase("Office drawer 7 keeps the stamps", "Blue kettle hums at noon");
        } catch (const RegisterError& error) {
            failure = error.reason();
        }
        QCOMPARE(questionsOf(passwords), asked);
        QCOMPARE(failure, reason);
        QCOMPARE(QString::fromUtf8(keyring.keys.value(entry)), keptAfter);
        QCOMPARE(session->isOpen(), reason.isEmpty());
    }

    void locationChanged()
    {
        qputenv("QUILLO_REGISTER_PASSPHRASE", "horse battery staple");
        const QString first = folder("first") + "/register.sqlite";
        const QString second = folder("second") + "/register.sqlite";
        auto drafts = session(first);
        drafts->open(nullptr).record(printed(sampleTexts()), DraftEvent::printed("1"));
        drafts->setLocation(RegisterLocation::file(first));
        QVERIFY(drafts->isOpen());
        drafts->setLocation(RegisterLocation::file(second));
        QVERIFY(!drafts->isOpen());
        QCOMPARE(drafts->open(nullptr).drafts().size(), std::size_t(0));
        drafts->open(nullptr).record(printed(withChanges(sampleTexts(), {"6=2001", "13=2001"})),
                                     DraftEvent::printed("2"));
        drafts->setLocation(RegisterLocation::file(first));
        QCOMPARE(drafts->path(), first);
        QCOMPARE(drafts->open(nullptr).drafts().front().checkNumber, "1042");
        QCOMPARE(draftColumns(second, {"check_number"}), QList<QList<QByteArray>>({{"2001"}}));

        // Moved while a check prints: its outcome never lands on the other register's draft of the same number.
        FakeQuestionBox questions;
        FakeAuthorizationOffer offer;
        RegisterJournal journal([&](SentDraft::Kind) -> DraftRecorder& { return drafts->open(nullptr); },
                                [&]() -> DraftRecorder* { return &drafts->open(nullptr); }, questions, offer);
        drafts->setLocation(RegisterLocation::file(folder("third") + "/register.sqlite"));
        const std::unique_ptr<DraftTicket> ticket =
            journal.maySend(quickPrintOf(withChanges(sampleTexts(), {"6=3001", "13=3001"})));
        QVERIFY(ticket && ticket->sending(QStringLiteral("Office")));
        QCOMPARE(ticket->recordId(), std::optional<qint64>(1));
        drafts->setLocation(RegisterLocation::file(second));
        ticket->jobStarted(7);
        QCOMPARE(ticket->sent(PrintOutcome::confirmed(QStringLiteral("Office"), 7)),
                 "The draft register could not record what became of the check: the register was moved to another "
                 "place while the check was printing.");
        QStringList history;
        for (const RecordedEvent& event : drafts->open(nullptr).details(1).history)
            history.append(historyLine(event));
        QCOMPARE(history, QStringList{"2026-12-08T18:00:00Z Printed|2|"});
    }

    void keyringKeepsTheKey()
    {
        // The runner's Secret Service, on the test's own session bus.
        QVERIFY2(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS").contains(qEnvironmentVariable("QUILLO_TEST_SANDBOX")),
                 "run through run-isolated.sh --keyring");
        KeychainKeyring keyring(QStringLiteral("Quillo"));
        // The runner's keyring is unlocked: start-up may read it without a question.
        QCOMPARE(keyring.readiness(), KeyringKeys::Readiness::Unlocked);
        const QString path = folder("keyring") + "/register.sqlite";
        FakePassphrasePrompt prompt; // would cancel: never asked
        {
            RegisterSession first(path, &keyring);
            first.open(&prompt).record(printed(sampleTexts()), DraftEvent::printed("1"));
        }
        QCOMPARE(prompt.asked.size(), 0);

        // The key is in the keyring under the register's name, as the
        // keyring's own tool reads it.
        QSqlDatabase file = QSqlDatabase::addDatabase("QSQLITE", "inspect");
        file.setDatabaseName(path);
        QVERIFY(file.open());
        QSqlQuery id(file);
        QVERIFY(id.exec("SELECT value FROM register_facts WHERE name = 'register_id'") && id.next());
        const QString name = "register-" + id.value(0).toString();
        id = QSqlQuery();
        file.close();
        file = QSqlDatabase();
        QSqlDatabase::removeDatabase("inspect");
        QProcess lookup;
        lookup.start("secret-tool", {"lookup", "server", "Quillo", "user", name});
        QVERIFY(lookup.waitForFinished(10000));
        QCOMPARE(QByteArray::fromBase64(lookup.readAllStandardOutput().trimmed()).size(), 32);

        {
            RegisterSession later(path, &keyring);
            DraftRegister& drafts = later.open(&prompt);
            QCOMPARE(drafts.payor(drafts.drafts().front()), "Jane Q. Customer");
        }
        QCOMPARE(prompt.asked.size(), 0);

        QProcess clear;
        clear.start("secret-tool", {"clear", "server", "Quillo", "user", name});
        QVERIFY(clear.waitForFinished(10000));
        QCOMPARE(clear.exitCode(), 0);
        QString failure;
        try {
            RegisterSession(path, &keyring).open(&prompt);
        } catch (const RegisterError& error) {
            failure = error.reason();
        }
        QCOMPARE(failure, "the desktop's keyring holds no key for it");
    }
};

int main(int argc, char* argv[])
{
    qputenv("TZ", TestZone);
    ::tzset();
    QCoreApplication app(argc, argv);
    // As the program names itself: the register's folder follows the names.
    QCoreApplication::setApplicationName(QStringLiteral("Quillo"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quillo"));
    if (argc == 4 && qstrcmp(argv[1], "--print-one-check") == 0)
        return printOneCheck(QString::fromLocal8Bit(argv[2]), qstrcmp(argv[3], "hold") == 0);
    if (argc == 5 && qstrcmp(argv[1], "--record-drafts") == 0)
        return recordDrafts(QString::fromLocal8Bit(argv[2]), atoi(argv[3]), atoi(argv[4]));
    TstRegister test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_register.moc"
