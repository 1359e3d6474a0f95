// The draft register with 100,000 drafts, made once in the bench's data
// folder and reused by later runs:
//
//   register-bench register   View, Register to the table's first paint (the
//                             register opened first, its key from a keyring
//                             that answers at once; then open already), one
//                             search keystroke to the table repainted, once
//                             the list is complete and while it is still
//                             being fetched and opened,
//                             recording one print (its draft and its outcome,
//                             each flushed to disk) and the duplicate look-up
//   register-bench office     the same register copied to an office register
//                             on a private PostgreSQL server (Unix socket
//                             only, writes flushed to disk): View, Register
//                             to the first rows painted, and four seats, each
//                             a process of its own, recording prints at once
//
// Prints key=value lines for bench/run-bench.py.
#include "BenchKeyring.h"
#include "FirstPaint.h"
#include "ProcessStats.h"

#include "document/AuthorizationRecord.h"
#include "fakes/FakeFailureReporter.h"
#include "fakes/FakeFileDialogs.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/FakeQuestionBox.h"
#include "fakes/FakeTextPrompt.h"
#include "fakes/PrivatePostgres.h"
#include "register/DraftListModel.h"
#include "register/DraftRegister.h"
#include "register/KeyringKeys.h"
#include "register/RegisterSession.h"
#include "register/RegisterStore.h"
#include "system/qt/Fonts.h"
#include "ui/register/frmRegister.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

namespace {

using ProcessStats::report;

constexpr int DraftCount = 100000;
constexpr int Customers = 5000;

double msSince(std::int64_t startNs)
{
    return double(ProcessStats::bootNs() - startNs) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The office register's server, stopped before a failure ends the process
// at once (ProcessStats::finish runs no destructor).
PrivatePostgres* officeServer = nullptr;

void fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    if (officeServer) {
        officeServer->stop();
        QDir(officeServer->socketFolder()).removeRecursively();
    }
    ProcessStats::finish(2);
}

// A customer's cheque: each customer has an account of its own, and its
// check numbers count up.
CheckTexts cheque(int customer, int number, qint64 cents)
{
    static const char* const first[] = {"Jane", "Sam", "Maria", "Tom", "Renée", "Ahmed", "Lin", "Olga", "Kofi", "Ana"};
    static const char* const last[] = {"Customer", "Lee",   "Garcia", "Dubois", "Okafor", "Novak",
                                       "Chen",     "Smith", "Haddad", "Silva",  "Brown",  "Kim"};
    const QString payor = QString::fromUtf8(first[customer % 10]) + QLatin1Char(' ') +
                          QString::fromUtf8(last[(customer / 10) % 12]) + QStringLiteral(" %1").arg(customer);
    const QString checkNumber = QString::number(number);
    return {payor,
            QStringLiteral("%1 Elm Street").arg(customer % 900 + 1),
            QStringLiteral("Springfield, IL 62701"),
            QStringLiteral("First Prairie Bank"),
            QStringLiteral("Springfield, IL"),
            checkNumber,
            QStringLiteral("Harbour Road Hardware"),
            QString(),
            QStringLiteral("$%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0')),
            QStringLiteral("12/01/2026"),
            QStringLiteral("A021000021A"),
            QStringLiteral("%1C").arg(100000000 + customer),
            checkNumber,
            QString()};
}

void makeRegister(const QString& path, KeyringKeys& keyring)
{
    const std::int64_t start = ProcessStats::bootNs();
    QDateTime time = QDateTime::currentDateTimeUtc().addDays(-730);
    RegisterSession session(path, &keyring, [&time] { return time; });
    DraftRegister& drafts = session.open(nullptr);
    std::mt19937 random(42);
    std::vector<int> nextNumber(Customers, 1001);
    const qint64 step = 730LL * 24 * 3600 * 1000 / DraftCount;
    for (int made = 0; made < DraftCount;) {
        drafts.together([&] {
            for (int i = 0; i < 5000; ++i, ++made) {
                const int customer = int(random() % Customers);
                DraftRecord draft;
                draft.texts = cheque(customer, nextNumber[std::size_t(customer)]++, qint64(random() % 500000) + 100);
                draft.destinationName = QStringLiteral("Office");
                time = time.addMSecs(step);
                const DraftId id = drafts.record(draft, DraftEvent::printed(QString::number(made)));
                if (made % 50 == 0)
                    drafts.append(id, DraftEvent::deposited(time.toLocalTime().date()));
            }
        });
    }
    report("generate_ms", msSince(start));
}

struct Window {
    FakeMessageBox messages;
    FakeQuestionBox questions;
    FakeTextPrompt texts;
    FakeFileDialogs dialogs;
    FakeFailureReporter failures;

    // View, Register as the program runs it: the window made, loaded and shown.
    frmRegister* open(RegisterSession& session)
    {
        RegisterWindowServices services;
        services.session = &session;
        services.messages = &messages;
        services.questions = &questions;
        services.texts = &texts;
        services.fileDialogs = &dialogs;
        services.failures = &failures;
        auto* window = new frmRegister(services);
        if (!window->Form_Load())
            fail(qPrintable(QStringLiteral("the register did not open: ") + messages.shown.join(QLatin1Char(' '))));
        window->show();
        return window;
    }
};

// From the command to the window's first paint, rows included.
double timeWindow(Window& window, RegisterSession& session, frmRegister** opened)
{
    double ms = -1;
    const std::int64_t start = ProcessStats::bootNs();
    {
        FirstPaint painted(QStringLiteral("frmRegister"), [&] { ms = msSince(start); });
        *opened = window.open(session);
        while (ms < 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    if ((*opened)->findChild<QTableView*>(QStringLiteral("tblDrafts"))->model()->rowCount() == 0)
        fail("the window lists no draft");
    return ms;
}

// One keystroke in the search box until the table has been repainted.
double keystroke(QLineEdit* search, QTableView* table, Qt::Key keyCode, const QString& text)
{
    QKeyEvent key(QEvent::KeyPress, keyCode, Qt::NoModifier, text);
    const std::int64_t start = ProcessStats::bootNs();
    QApplication::sendEvent(search, &key);
    table->viewport()->repaint();
    return msSince(start);
}

void runRegister()
{
    const QString path = RegisterSession::defaultPath();
    BenchKeyring keyring;
    if (!QFileInfo::exists(path))
        makeRegister(path, keyring);
    report("register_bytes", double(QFileInfo(path).size()));

    Window window;
    RegisterSession session(path, &keyring);
    frmRegister* opened = nullptr;
    report("window_first_ms", timeWindow(window, session, &opened));
    auto* search = opened->findChild<QLineEdit*>(QStringLiteral("txtSearch"));
    auto* table = opened->findChild<QTableView*>(QStringLiteral("tblDrafts"));
    // At once, before the window has opened the payors in the background.
    report("search_first_ms", keystroke(search, table, Qt::Key_A, QStringLiteral("a")));
    keystroke(search, table, Qt::Key_Backspace, QString());
    delete opened;

    std::vector<double> windows;
    for (int i = 0; i < 5; ++i) {
        windows.push_back(timeWindow(window, session, &opened));
        if (i < 4)
            delete opened;
    }
    report("window_ms", median(windows));

    // While the list is still fetched and its payors opened: a key pressed at
    // any moment waits for the slice of that work under way, then for its own
    // search and repaint. A key is typed after every third slice and counts
    // the longest of the three whole, as if it had come at that one's start.
    search = opened->findChild<QLineEdit*>(QStringLiteral("txtSearch"));
    table = opened->findChild<QTableView*>(QStringLiteral("tblDrafts"));
    auto* model = static_cast<DraftListModel*>(table->model());
    const std::int64_t loading = ProcessStats::bootNs();
    std::vector<double> duringLoading;
    const char typed[] = {'l', 'e', 'e', ' ', '4'};
    int slices = 0;
    double sliceMs = 0;
    while (!model->allFetched() || !model->openPayors(0)) {
        const std::int64_t slice = ProcessStats::bootNs();
        QCoreApplication::processEvents();
        // A key pressed at the start of any of the three slices waits for that one.
        sliceMs = std::max(sliceMs, msSince(slice));
        if (++slices % 3 != 0)
            continue;
        // Five letters typed, then taken back, over and over.
        const int step = int(duringLoading.size() % 10);
        const double keyMs = step < 5 ? keystroke(search, table, Qt::Key(QChar(typed[step]).toUpper().unicode()),
                                                  QString(QChar(typed[step])))
                                      : keystroke(search, table, Qt::Key_Backspace, QString());
        duringLoading.push_back(sliceMs + keyMs);
        sliceMs = 0;
    }
    report("background_ms", msSince(loading));
    if (duringLoading.empty())
        fail("the list was complete before a key could be typed");
    report("search_loading_ms", median(duringLoading));
    report("search_loading_slowest_ms", *std::max_element(duringLoading.begin(), duringLoading.end()));
    search->clear();
    while (!model->openPayors(0))
        QCoreApplication::processEvents();
    if (model->totalCount() < DraftCount)
        fail("the window does not list every draft");
    std::vector<double> keys;
    for (int round = 0; round < 5; ++round) {
        for (const char c : {'l', 'e', 'e', ' ', '4'})
            keys.push_back(keystroke(search, table, Qt::Key(QChar(c).toUpper().unicode()), QString(QChar(c))));
        for (int i = 0; i < 5; ++i)
            keys.push_back(keystroke(search, table, Qt::Key_Backspace, QString()));
    }
    report("search_ms", median(keys));
    report("search_slowest_ms", *std::max_element(keys.begin(), keys.end()));
    delete opened;

    DraftRegister& drafts = session.open(nullptr);
    std::vector<double> records;
    for (int i = 0; i < 20; ++i) {
        DraftRecord draft;
        draft.texts = cheque(Customers + i, 5001, 12345);
        draft.destinationName = QStringLiteral("Office");
        const std::int64_t start = ProcessStats::bootNs();
        const DraftId id = drafts.record(draft, std::nullopt);
        drafts.append(id, DraftEvent::printed(QStringLiteral("bench")));
        records.push_back(msSince(start));
    }
    report("record_ms", median(records));
    report("record_slowest_ms", *std::max_element(records.begin(), records.end()));

    const CheckTexts printedBefore = cheque(Customers, 5001, 12345);
    std::vector<double> lookups;
    for (int i = 0; i < 200; ++i) {
        const std::int64_t start = ProcessStats::bootNs();
        const bool asked = drafts.earlierDraft(printedBefore).has_value();
        drafts.sameAmountRecently(printedBefore);
        lookups.push_back(msSince(start));
        if (!asked)
            fail("the duplicate look-up found nothing");
    }
    report("lookup_ms", median(lookups));
    report("lookup_slowest_ms", *std::max_element(lookups.begin(), lookups.end()));
    report("peak_rss_kb", double(ProcessStats::peakResidentKb()));
}

constexpr int Seats = 4;
constexpr int PrintsPerSeat = 250;
// Half of every seat's prints are on this account, which all four seats
// share; the others on an account of the seat's own (the next numbers).
constexpr int SharedAccount = Customers + 100;

// One seat of the office as a process of its own: opens the office register
// with the key the copy left in the keyring, says "ready", waits for a line
// on its input so that the seats start together, then makes its Quick
// Prints' records one after another and prints each one's time in ms.
int runSeat(const RegisterLocation& location, int seat)
{
    BenchKeyring keyring;
    RegisterSession session(location, &keyring, &RegisterSession::openStore, nullptr, &QDateTime::currentDateTimeUtc,
                            RegisterSession::KeyringThreads::Any, QStringLiteral("seat%1@office").arg(seat));
    DraftRegister& drafts = session.open(nullptr);
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return 2;
    std::printf("ready\n");
    std::fflush(stdout);
    in.readLine();
    for (int i = 0; i < PrintsPerSeat; ++i) {
        // Check numbers and amounts of their own: no draft is held back as a
        // duplicate or for the same amount.
        const int customer = i % 2 == 0 ? SharedAccount : SharedAccount + 1 + seat;
        DraftRecord draft;
        draft.kind = SentDraft::Kind::QuickPrint;
        draft.texts = cheque(customer, 1 + seat * 1000 + i, 10000 + seat * 1000 + i);
        draft.destinationName = QStringLiteral("Office");
        draft.authorization = AuthorizationRecord::forDraft(draft.texts, QDateTime::currentDateTimeUtc());
        const std::int64_t start = ProcessStats::bootNs();
        const DraftRecorder::Recording recording = drafts.recordUnlessSent(draft, {});
        if (recording.id == 0)
            return 3;
        drafts.append(recording.id, DraftEvent::printed(QStringLiteral("seat%1-%2").arg(seat).arg(i)));
        std::printf("%.3f\n", msSince(start));
    }
    std::fflush(stdout);
    return 0;
}

// The seats' record times once all four have recorded at once: those on the
// account they share, and those on each seat's own.
struct SeatTimes {
    std::vector<double> shared;
    std::vector<double> own;
};

SeatTimes recordAtOnce(const RegisterLocation& location)
{
    std::vector<std::unique_ptr<QProcess>> seats;
    for (int seat = 0; seat < Seats; ++seat) {
        seats.push_back(std::make_unique<QProcess>());
        seats.back()->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        seats.back()->start(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("office-seat"), location.host, location.database, location.user, QString::number(seat)});
    }
    for (auto& seat : seats) {
        while (!seat->canReadLine())
            if (!seat->waitForReadyRead(60000))
                fail("a seat did not open the office register");
        seat->readLine();
    }
    for (auto& seat : seats)
        seat->write("go\n");
    SeatTimes times;
    for (auto& seat : seats) {
        if (!seat->waitForFinished(600000) || seat->exitStatus() != QProcess::NormalExit || seat->exitCode() != 0)
            fail("a seat failed to record its prints");
        // In the order runSeat made them: the even ones on the shared account.
        for (int i = 0; seat->canReadLine(); ++i)
            (i % 2 == 0 ? times.shared : times.own).push_back(seat->readLine().trimmed().toDouble());
    }
    if (times.shared.size() + times.own.size() != std::size_t(Seats * PrintsPerSeat))
        fail("a seat did not record all its prints");
    return times;
}

double percentile(std::vector<double> values, int percent)
{
    std::sort(values.begin(), values.end());
    const std::size_t rank = (values.size() * std::size_t(percent) + 99) / 100;
    return values[std::max<std::size_t>(rank, 1) - 1];
}

void runOffice()
{
    const QString path = RegisterSession::defaultPath();
    BenchKeyring keyring;
    if (!QFileInfo::exists(path))
        makeRegister(path, keyring);

    PrivatePostgres server(PrivatePostgres::Writes::Flushed);
    officeServer = &server;
    if (!server.start() || !server.createDatabase(QStringLiteral("office")))
        fail(qPrintable(server.error()));
    const RegisterLocation location = server.location(QStringLiteral("office"));
    {
        RegisterSession session(location, &keyring, &RegisterSession::openStore);
        const std::int64_t copying = ProcessStats::bootNs();
        const RegisterCopy::Counts copied =
            session.copyThisComputersRegister(QStringLiteral("harbour road office seven lanterns"), nullptr);
        report("office_copy_ms", msSince(copying));
        report("office_drafts", copied.drafts);

        Window window;
        frmRegister* opened = nullptr;
        report("office_window_first_ms", timeWindow(window, session, &opened));
        delete opened;
        std::vector<double> windows;
        for (int i = 0; i < 5; ++i) {
            windows.push_back(timeWindow(window, session, &opened));
            delete opened;
        }
        report("office_window_ms", median(windows));
    }

    const SeatTimes times = recordAtOnce(location);
    std::vector<double> records = times.shared;
    records.insert(records.end(), times.own.begin(), times.own.end());
    report("office_record_shared_p99_ms", percentile(times.shared, 99));
    report("office_record_own_p99_ms", percentile(times.own, 99));
    report("office_prints", double(records.size()));
    report("office_record_p50_ms", percentile(records, 50));
    report("office_record_p99_ms", percentile(records, 99));
    report("office_record_slowest_ms", *std::max_element(records.begin(), records.end()));
    officeServer = nullptr;
}

} // namespace

int main(int argc, char* argv[])
{
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    int programArgc = 1;
    QApplication app(programArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillo"));
    QApplication::setOrganizationName(QStringLiteral("Quillo"));
    Fonts::install();
    if (mode == QLatin1String("office-seat") && argc == 6)
        return runSeat(RegisterLocation::server(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                                                QString::fromLocal8Bit(argv[4])),
                       std::atoi(argv[5]));
    if (mode != QLatin1String("register") && mode != QLatin1String("office")) {
        std::fprintf(stderr, "usage: register-bench register|office\n");
        return 2;
    }
    QTimer::singleShot(0, [mode] {
        if (mode == QLatin1String("office"))
            runOffice();
        else
            runRegister();
        ProcessStats::finish();
    });
    return app.exec();
}
