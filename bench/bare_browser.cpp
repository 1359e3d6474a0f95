// The baseline of the first browser window: a bare QWebEngineView loading
// Quillo's home page (the same compiled-in page) once the program's window
// is up, to its load-finished notification.
#include "FirstPaint.h"
#include "ProcessStats.h"

#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <QWebEngineView>

int main(int argc, char* argv[])
{
    const std::int64_t mainNs = ProcessStats::bootNs();
    int programArgc = 1;
    QApplication app(programArgc, argv);
    (void)argc;

    QMainWindow window;
    window.setObjectName(QStringLiteral("window"));
    window.resize(640, 480);
    FirstPaint firstPaint(QStringLiteral("window"), [mainNs] {
        // This program loads the web engine with its other libraries, before main().
        ProcessStats::report("main_ns", double(mainNs));
        ProcessStats::report("paint_ns", double(ProcessStats::bootNs()));
        QTimer::singleShot(500, [] {
            const std::int64_t start = ProcessStats::bootNs();
            auto* view = new QWebEngineView;
            QObject::connect(view, &QWebEngineView::loadFinished, [start, view] {
                ProcessStats::report("browser_ms", (ProcessStats::bootNs() - start) / 1e6);
                ProcessStats::report("browser_title", view->title());
                ProcessStats::report("peak_rss_kb", double(ProcessStats::peakResidentKb()));
                ProcessStats::report("children_rss_kb", double(ProcessStats::descendantsResidentKb()));
                ProcessStats::finish();
            });
            view->resize(800, 600);
            view->show();
            view->load(QUrl(QStringLiteral("qrc:/home/index.html")));
            ProcessStats::report("browser_window_ms", (ProcessStats::bootNs() - start) / 1e6);
        });
    });
    window.show();
    return app.exec();
}
