// The baselines: what bare Qt programs take for the same steps.
//
//   bare-bench startup   process start to an empty QMainWindow's first paint
//   bare-bench startup-text  the same with one line of text in the window: the
//                        floor for any window that shows text, which needs the
//                        font database and a font
//   bare-bench idle      that window open and idle
//   bare-bench print     sixteen lines of text drawn with QPainter to a PDF file
//   bare-bench print-two-fonts  the same with the last line in a second font
//
// Each prints key=value lines for bench/run-bench.py.
#include "FirstPaint.h"
#include "IdleMeter.h"
#include "ProcessStats.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using ProcessStats::report;

// Sixteen lines of bold 10-point Arial; with `secondFont`, the last line in
// another font, as a cheque's MICR line is.
double printSixteenLines(const QString& path, const QString& secondFont)
{
    const std::int64_t start = ProcessStats::bootNs();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    QPainter painter(&printer);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(10);
    font.setBold(true);
    painter.setFont(font);
    const int lineHeight = painter.fontMetrics().lineSpacing();
    for (int line = 1; line <= 16; ++line) {
        if (line == 16 && !secondFont.isEmpty())
            painter.setFont(QFont(secondFont, 16));
        painter.drawText(0, line * lineHeight,
                         QStringLiteral("Line %1 of the page, as long as a cheque's line").arg(line));
    }
    painter.end();
    return (ProcessStats::bootNs() - start) / 1e6;
}

void runPrint(const QString& folder, const QString& secondFont)
{
    std::vector<double> repeated;
    QString path;
    for (int run = 0; run < 16; ++run) {
        path = QStringLiteral("%1/lines-%2.pdf").arg(folder).arg(run);
        const double ms = printSixteenLines(path, secondFont);
        if (run == 0)
            report("print_first_ms", ms);
        else
            repeated.push_back(ms);
    }
    std::sort(repeated.begin(), repeated.end());
    report("print_repeated_ms", repeated[repeated.size() / 2]);
    report("pdf_bytes", double(QFile(path).size()));
}

} // namespace

int main(int argc, char* argv[])
{
    // The program's libraries are loaded and its static objects made by now.
    const std::int64_t mainNs = ProcessStats::bootNs();
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    int programArgc = 1;
    QApplication app(programArgc, argv);
    QTemporaryDir folder;
    std::unique_ptr<IdleMeter> idle;

    if (mode == QLatin1String("print") || mode == QLatin1String("print-two-fonts")) {
        runPrint(folder.path(), mode == QLatin1String("print") ? QString() : QStringLiteral("DejaVu Sans Mono"));
        ProcessStats::finish();
    }
    const bool startup = mode == QLatin1String("startup") || mode == QLatin1String("startup-text");
    if (!startup && mode != QLatin1String("idle")) {
        std::fprintf(stderr, "usage: bare-bench startup|startup-text|idle|print|print-two-fonts\n");
        return 2;
    }

    QMainWindow window;
    window.setObjectName(QStringLiteral("window"));
    window.resize(640, 480);
    if (mode == QLatin1String("startup-text"))
        window.setCentralWidget(new QLabel(QStringLiteral("Quillo")));
    FirstPaint firstPaint(QStringLiteral("window"), [&] {
        report("main_ns", double(mainNs));
        report("paint_ns", double(ProcessStats::bootNs()));
        report("start_ns", double(ProcessStats::startNs()));
        report("peak_rss_kb", double(ProcessStats::peakResidentKb()));
        if (startup)
            ProcessStats::finish();
        window.activateWindow();
        idle = std::make_unique<IdleMeter>(2000, 30000, [&] {
            ProcessStats::report("idle_active", window.isActiveWindow() ? 1 : 0);
            ProcessStats::finish();
        });
    });
    window.show();
    return app.exec();
}
