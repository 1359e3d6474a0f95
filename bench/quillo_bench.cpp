// Quillo's side of the benchmarks: the program's own start-up and windows,
// with a stopwatch around the step being measured. One mode per run:
//
//   quillo-bench startup   process start to the cheque-entry window's first paint
//   quillo-bench startup-register  the same with the register of 100,000 drafts
//                          that register-bench makes, on until the register is
//                          open, timing the longest the event loop waited meanwhile
//   quillo-bench startup-locked  the same with a keyring locked for 2 s after it is asked
//   quillo-bench idle      CPU time and wake-ups with that window open, active and idle
//   quillo-bench idle-inactive  the same with the window inactive (another has the focus)
//   quillo-bench steps     start-up again, with the time each of its steps takes
//   quillo-bench print     Quick Print of a full cheque to a PDF file
//   quillo-bench preview   File, Print Preview of that cheque to the preview's first paint
//   quillo-bench files     File, Save and File, Open of a cheque, per operation
//   quillo-bench checks    one keystroke in a box to the marks of every check shown
//   quillo-bench browser   View, Web Browser to the home page's load-finished
//
// Each prints key=value lines for bench/run-bench.py.
#include "BenchKeyring.h"
#include "FirstPaint.h"
#include "IdleMeter.h"
#include "ProcessStats.h"

#include "app/AppServices.h"
#include "app/Module1.h"
#include "app/frmSplash.h"
#include "document/FileCommands.h"
#include "platform/FailureHandling.h"
#include "platform/FileDialogs.h"
#include "platform/WebBrowserControl.h"
#include "print/PaperPolicy.h"
#include "print/QuickPrint.h"
#include "system/qt/Fonts.h"
#include "system/qt/QtPrinterDestination.h"
#include "system/qt/QtSettingsStore.h"
#include "ui/authorization/frmAuthorization.h"
#include "ui/main/frmMain.h"

#include "fakes/FakeMessageBox.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

using ProcessStats::report;

// A cheque as a merchant fills it in.
const char* const Cheque[14] = {
    "Harbour Road Hardware",
    "12 Harbour Road",
    "Portsmouth NH 03801",
    "First Granite Bank",
    "Portsmouth NH",
    "1042",
    "Acme Supplies Ltd.",
    "Two hundred and 00/100",
    "200.00",
    "12/07/2026",
    "011000015",
    "123456789",
    "1042",
    "Invoice 77 - nails",
};

// Reports a failure that the program would show in a message box, and stops.
class StopOnFailure : public FailureReporter {
public:
    void report(const QString& message) override
    {
        std::fprintf(stderr, "failure: %s\n", qPrintable(message));
        ProcessStats::finish(2);
    }
};

double msSince(std::int64_t startNs)
{
    return (ProcessStats::bootNs() - startNs) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void reportStartup(std::int64_t mainNs)
{
    report("main_ns", double(mainNs));
    report("paint_ns", double(ProcessStats::bootNs()));
    report("start_ns", double(ProcessStats::startNs()));
    report("peak_rss_kb", double(ProcessStats::peakResidentKb()));
}

// After the first paint, until the register is open: ticks of the event loop
// every millisecond, and the longest gap between two, which is the longest
// that a key press would have waited.
class UntilRegisterOpen : public QObject {
public:
    UntilRegisterOpen(RegisterSession& session) : m_session(session)
    {
        m_since.start();
        m_lastTick = 0;
        m_ticks.setTimerType(Qt::PreciseTimer);
        connect(&m_ticks, &QTimer::timeout, this, &UntilRegisterOpen::tick);
        m_ticks.start(1);
    }

private:
    void tick()
    {
        const qint64 now = m_since.nsecsElapsed();
        m_longestGap = std::max(m_longestGap, now - m_lastTick);
        m_lastTick = now;
        if (m_session.isOpen()) {
            m_ticks.stop();
            report("register_open_ms", now / 1e6);
            report("longest_stall_ms", m_longestGap / 1e6);
            ProcessStats::finish();
        } else if (now > 60'000'000'000LL) {
            std::fprintf(stderr, "the register did not open within 60 s\n");
            ProcessStats::finish(2);
        }
    }

    RegisterSession& m_session;
    QElapsedTimer m_since;
    QTimer m_ticks;
    qint64 m_lastTick = 0;
    qint64 m_longestGap = 0;
};

// The program's own start, as main() does it.
void startAsTheProgram(AppServices& services)
{
    QString failure;
    if (!Failures::succeeds([&] { Module1::Main(services); }, &failure)) {
        std::fprintf(stderr, "Quillo could not start: %s\n", qPrintable(failure));
        ProcessStats::finish(2);
    }
}

// Reports how long each step of the start took, as step_<name>=<ms>.
namespace Steps {

std::int64_t last = 0;

void mark(const char* step)
{
    const std::int64_t now = ProcessStats::bootNs();
    std::printf("step_%s=%.3f\n", QByteArray(step).replace(' ', '_').constData(), (now - last) / 1e6);
    last = now;
}

} // namespace Steps

// Module1::Main's steps one by one, each timed. It follows Module1::Main;
// the measured start-up is the function itself.
void startInSteps(AppServices& services)
{
    auto* splash = new frmSplash(services.facts());
    Steps::mark("splash built");
    services.windows().add(splash);
    splash->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    splash->repaint();
    Steps::mark("splash shown");
    Module1::MainWindow = new frmMain(services.mainWindowServices());
    Steps::mark("main window built");
    services.windows().add(Module1::MainWindow);
    Module1::MainWindow->Load();
    delete splash;
    Steps::mark("main window loaded");
    Module1::MainWindow->show();
}

// The open and save dialogs, always choosing the same file.
class ChooseFile : public FileDialogs {
public:
    std::optional<QString> choose(const FileDialogRequest&) override { return path; }
    QString path;
};

// A print service whose default printer writes each page to the PDF file
// `path`, on US Letter, without asking anyone.
class PdfPrinterFinder : public PrinterFinder {
public:
    QFuture<FoundPrinter> findDefault() override
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(path);
        printer->setPageLayout(PaperPolicy::fallbackLayout());
        return QtFuture::makeReadyFuture(FoundPrinter{std::make_shared<QtPrinterDestination>(std::move(printer)), {}});
    }
    QString path;
};

// A cheque-entry window with the program's services but a fake message box,
// file dialogs and printer, so that nothing waits for a person.
struct BenchWindow {
    explicit BenchWindow(AppServices& services)
    {
        MainWindowServices s = services.mainWindowServices();
        s.messages = &messages;
        s.failures = &failures;
        s.fileDialogs = &dialogs;
        s.printers = &printers;
        window = std::make_unique<frmMain>(s);
        window->Load();
        window->show();
    }

    // The cheque, under check number 1042 + `draft`: each print is a draft
    // of its own, as a merchant's are, so none asks whether to print again.
    void fillIn(int draft = 0)
    {
        for (Box box : AllBoxes)
            window->Text(box)->setText(QString::fromLatin1(Cheque[numberOf(box) - 1]));
        const QString checkNumber = QString::number(1042 + draft);
        window->Text(Box::CheckNumber)->setText(checkNumber);
        window->Text(Box::MicrCheckNumber)->setText(checkNumber);
    }

    FakeMessageBox messages;
    StopOnFailure failures;
    ChooseFile dialogs;
    PdfPrinterFinder printers;
    std::unique_ptr<frmMain> window;
};

void runPrint(BenchWindow& bench, const QString& folder)
{
    auto* quickPrint = bench.window->findChild<QPushButton*>(QStringLiteral("Command1"));
    std::vector<double> repeated;
    for (int run = 0; run < 16; ++run) {
        bench.fillIn(run);
        bench.printers.path = QStringLiteral("%1/cheque-%2.pdf").arg(folder).arg(run);
        const std::int64_t start = ProcessStats::bootNs();
        quickPrint->click();
        const double ms = msSince(start);
        if (bench.messages.shown.size() != run + 1 || !QFile::exists(bench.printers.path)) {
            std::fprintf(stderr, "Quick Print did not print\n");
            ProcessStats::finish(2);
        }
        if (run == 0)
            report("print_first_ms", ms);
        else
            repeated.push_back(ms);
    }
    report("print_repeated_ms", median(repeated));
    report("pdf_bytes", double(QFile(bench.printers.path).size()));
}

// File, Print Preview from the menu command to the preview's first paint,
// closed each time as the merchant closes it.
void runPreview(BenchWindow& bench)
{
    bench.fillIn();
    QAction* preview = bench.window->findChild<QAction*>("mnuFilePreview");
    std::vector<double> times;
    for (int run = 0; run < 16; ++run) {
        const std::int64_t start = ProcessStats::bootNs();
        const FirstPaint painted(QStringLiteral("frmPrintPreview"), [&] {
            times.push_back(msSince(start));
            QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        });
        preview->trigger();
        if (times.size() != std::size_t(run + 1)) {
            std::fprintf(stderr, "the preview was not painted\n");
            ProcessStats::finish(2);
        }
    }
    report("preview_first_ms", times.front());
    report("preview_repeated_ms", median(std::vector<double>(times.begin() + 1, times.end())));
}

// File, Save and File, Open through the window's handler, alternated with the
// same file operations written plainly with QFile (fsync included, as a save
// that returns only once the data is on the disk).
void runFiles(BenchWindow& bench, const QString& folder)
{
    bench.fillIn();
    const QString quilloPath = folder + QStringLiteral("/quillo.qlo");
    const QString barePath = folder + QStringLiteral("/bare.qlo");
    const QByteArray record(480, 'x');
    bench.window->cDlg.FileName = quilloPath;
    bench.dialogs.path = quilloPath;
    std::vector<double> save, open, bareSave, bareOpen;
    for (int i = 0; i < 40; ++i) {
        std::int64_t start = ProcessStats::bootNs();
        bench.window->mFile_Click(FileCommands::Save);
        save.push_back(msSince(start));

        start = ProcessStats::bootNs();
        {
            QFile file(barePath);
            file.open(QIODevice::ReadWrite);
            file.write(record);
            file.flush();
            ::fsync(file.handle());
        }
        bareSave.push_back(msSince(start));

        start = ProcessStats::bootNs();
        bench.window->mFile_Click(FileCommands::Open);
        open.push_back(msSince(start));

        start = ProcessStats::bootNs();
        {
            QFile file(barePath);
            file.open(QIODevice::ReadOnly);
            if (file.read(480).size() != 480)
                ProcessStats::finish(2);
        }
        bareOpen.push_back(msSince(start));
    }
    if (bench.window->Text(Box::Memo)->text() != QString::fromLatin1(Cheque[13]).leftJustified(32))
        ProcessStats::finish(2);
    report("save_ms", median(save));
    report("open_ms", median(open));
    report("bare_save_ms", median(bareSave));
    report("bare_open_ms", median(bareOpen));
}

// CPU time of the calling thread: what a step costs, without the time the
// thread waited for a core that other work on the machine held.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Keystrokes in the routing number box of a full cheque, each timed from the
// key press until every check has run and the marks are shown. They take the
// check digit away and put it back in turn, so every one sets or clears a mark.
void runChecks(BenchWindow& bench)
{
    bench.fillIn();
    QLineEdit* routing = bench.window->Text(Box::RoutingNumber);
    routing->setText(QStringLiteral("A021000021A"));
    routing->setFocus();
    routing->setCursorPosition(10);
    std::vector<double> wall, cpu;
    for (int i = 0; i < 400; ++i) {
        const bool takeAway = i % 2 == 0;
        QKeyEvent key(QEvent::KeyPress, takeAway ? Qt::Key_Backspace : Qt::Key_1, Qt::NoModifier,
                      takeAway ? QString() : QStringLiteral("1"));
        const std::int64_t start = ProcessStats::bootNs();
        const double startCpu = threadCpuMs();
        QApplication::sendEvent(routing, &key);
        cpu.push_back(threadCpuMs() - startCpu);
        wall.push_back(msSince(start));
        if (routing->accessibleDescription().isEmpty() == takeAway) {
            std::fprintf(stderr, "the routing number's mark did not follow the keystroke\n");
            ProcessStats::finish(2);
        }
    }
    report("checks_ms", median(wall));
    report("checks_slowest_ms", *std::max_element(wall.begin(), wall.end()));
    report("checks_cpu_slowest_ms", *std::max_element(cpu.begin(), cpu.end()));
}

// From the menu command to the home page's load-finished notification.
void runBrowser()
{
    QAction* command = Module1::MainWindow->findChild<QAction*>("mnuViewWebBrowser");
    const std::int64_t start = ProcessStats::bootNs();
    command->trigger();
    // The window is up and its control made: the web engine is loaded and started.
    report("browser_window_ms", msSince(start));
    QWidget* browser = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("frmBrowser"))
            browser = window;
    }
    auto* control = browser ? browser->findChild<WebBrowserControl*>() : nullptr;
    if (!control) {
        std::fprintf(stderr, "no browser window opened\n");
        ProcessStats::finish(2);
    }
    QObject::connect(control, &WebBrowserControl::DownloadComplete, [start, control] {
        report("browser_ms", msSince(start));
        report("browser_title", control->LocationName());
        report("peak_rss_kb", double(ProcessStats::peakResidentKb()));
        report("children_rss_kb", double(ProcessStats::descendantsResidentKb()));
        ProcessStats::finish();
    });
}

} // namespace

int main(int argc, char* argv[])
{
    // The program's libraries are loaded and its static objects made by now.
    const std::int64_t mainNs = ProcessStats::bootNs();
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    Steps::last = mainNs;
    // The program itself takes no arguments.
    int programArgc = 1;
    QApplication app(programArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillo"));
    QApplication::setOrganizationName(QStringLiteral("Quillo"));
    QApplication::setQuitOnLastWindowClosed(false);
    const bool steps = mode == QLatin1String("steps");
    if (steps)
        Steps::mark("application");
    Fonts::install();
    if (steps)
        Steps::mark("fonts installed");

    const bool withRegister = mode == QLatin1String("startup-register") || mode == QLatin1String("startup-locked");
    QTemporaryDir folder;
    if (withRegister) {
        if (!QFileInfo::exists(RegisterSession::defaultPath())) {
            std::fprintf(stderr, "no register: run register-bench register first\n");
            return 2;
        }
    } else {
        // A register of its own for the run: the bench's register of 100,000
        // drafts is only for the runs that time it.
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder.path() + QStringLiteral("/data")));
    }
    // A keyring that answers at once, as an unlocked desktop's does.
    using namespace std::chrono_literals;
    auto keyring = std::make_unique<BenchKeyring>(mode == QLatin1String("startup-locked") ? 2000ms : 0ms);
    const bool inAWindow = mode == QLatin1String("print") || mode == QLatin1String("files") ||
                           mode == QLatin1String("preview") || mode == QLatin1String("checks");
    AppServices services(keyring.get());
    if (inAWindow) {
        // Open before anything is timed, as the program opens it once its
        // window is up: its key comes off this thread, then it opens here.
        const QFuture<void> opening = services.draftRegister().openLater();
        while (!opening.isFinished())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        services.draftRegister().open(nullptr);
        // No authorization dialog before each print, as for a merchant who
        // keeps the proof elsewhere and has turned the offer off.
        QtSettingsStore settings;
        frmAuthorization::saveOffered(settings, services.facts().title(), false);
    }
    std::unique_ptr<UntilRegisterOpen> registerOpening;
    std::unique_ptr<BenchWindow> bench;
    std::unique_ptr<IdleMeter> idle;
    std::function<void()> painted;

    if (mode == QLatin1String("startup")) {
        painted = [mainNs] {
            reportStartup(mainNs);
            ProcessStats::finish();
        };
    } else if (withRegister) {
        painted = [&] {
            reportStartup(mainNs);
            registerOpening = std::make_unique<UntilRegisterOpen>(services.draftRegister());
        };
    } else if (mode == QLatin1String("idle") || mode == QLatin1String("idle-inactive")) {
        painted = [&] {
            reportStartup(mainNs);
            // Active, as a window manager makes a newly shown window: the
            // caret blinks in Text1 as the merchant sees it. (Xvfb has no
            // window manager; without this the window stays inactive.)
            if (mode == QLatin1String("idle"))
                Module1::MainWindow->activateWindow();
            idle = std::make_unique<IdleMeter>(2000, 30000, [] {
                ProcessStats::report("idle_active", Module1::MainWindow->isActiveWindow() ? 1 : 0);
                ProcessStats::finish();
            });
        };
    } else if (mode == QLatin1String("browser")) {
        // Let the start-up settle, as a merchant would not choose the menu
        // within the first moment either.
        painted = [] { QTimer::singleShot(500, [] { runBrowser(); }); };
    } else if (mode == QLatin1String("print") || mode == QLatin1String("files") || mode == QLatin1String("preview") ||
               mode == QLatin1String("checks")) {
        painted = [&] {
            if (mode == QLatin1String("print"))
                runPrint(*bench, folder.path());
            else if (mode == QLatin1String("preview"))
                runPreview(*bench);
            else if (mode == QLatin1String("files"))
                runFiles(*bench, folder.path());
            else
                runChecks(*bench);
            ProcessStats::finish();
        };
    } else if (steps) {
        painted = [] {
            Steps::mark("first paint");
            ProcessStats::finish();
        };
    } else {
        std::fprintf(
            stderr,
            "usage: quillo-bench "
            "startup|startup-register|startup-locked|idle|idle-inactive|steps|print|preview|files|checks|browser\n");
        return 2;
    }

    FirstPaint firstPaint(QStringLiteral("frmMain"), painted);
    if (mode == QLatin1String("print") || mode == QLatin1String("files") || mode == QLatin1String("preview") ||
        mode == QLatin1String("checks"))
        bench = std::make_unique<BenchWindow>(services);
    else if (steps)
        startInSteps(services);
    else
        startAsTheProgram(services);
    return app.exec();
}
