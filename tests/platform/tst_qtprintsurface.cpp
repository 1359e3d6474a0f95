#include "fakes/DesignedCaptions.h"
#include "fakes/FakeMessageBox.h"
#include "platform/QuilloError.h"
#include "platform/qt/QtPrintSurface.h"
#include "print/QuickPrint.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Word {
    QString text;
    double x;
    double y;
};

// The words of a PDF with their boxes, as poppler's pdftotext -bbox reads them.
QList<Word> pdfWords(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression wordPattern(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re"));
    QList<Word> words;
    for (const auto& match : wordPattern.globalMatch(html))
        words.append({match.captured(3), match.captured(1).toDouble(), match.captured(2).toDouble()});
    return words;
}

std::unique_ptr<QPrinter> pdfPrinter(const QString& path)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    return printer;
}

} // namespace

class TestQtPrintSurface : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void chequeLandsAtItsColumnsAndLines();
    void unwritablePrinterFailsAtEndWithAReason();
    void abandonedDocumentSendsNothing();
};

void TestQtPrintSurface::chequeLandsAtItsColumnsAndLines()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("cheque.pdf"));
    auto printer = pdfPrinter(pdf);
    const double dpi = printer->resolution();
    const QRectF paintRect = printer->pageLayout().paintRect(QPageLayout::Point);

    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(10);
    arial.setBold(true);
    const QFontMetricsF arialMetrics(arial, printer.get());
    QFont micr(QStringLiteral("MICR 013 BT"));
    micr.setPointSizeF(16);
    micr.setBold(true);
    const QFontMetricsF micrMetrics(micr, printer.get());

    const CheckTexts texts = {QStringLiteral("Payor1"), QStringLiteral("Payor2"),    QStringLiteral("Payor3"),
                              QStringLiteral("Bank1"),  QStringLiteral("Bank2"),     QStringLiteral("No1001"),
                              QStringLiteral("Payee"),  QStringLiteral("Words"),     QStringLiteral("$10.00"),
                              QStringLiteral("Dated"),  QStringLiteral("021000021"), QStringLiteral("55512345"),
                              QStringLiteral("1001"),   QStringLiteral("Memo7")};
    FakeMessageBox messages;
    {
        QtPrintSurface surface(std::move(printer));
        QuickPrint::run(texts, designedCaptions(), surface, messages);
    }
    QCOMPARE(messages.shown, QStringList{QuickPrint::Confirmation});
    QVERIFY(QFileInfo::exists(pdf));

    const QList<Word> words = pdfWords(pdf);
    QVERIFY2(!words.isEmpty(), "pdftotext read no words");

    struct Expected {
        QString word;
        int line;
        int column;
        bool isMicr;
    };
    const QList<Expected> expected = {
        {"Payor1", 2, 3, false},  {"Bank1", 2, 60, false},   {"No1001", 2, 110, false},   {"Payor2", 3, 3, false},
        {"Bank2", 3, 60, false},  {"Payor3", 4, 3, false},   {"Dated", 4, 110, false},    {"Pay", 6, 5, false},
        {"Payee", 6, 28, false},  {"Payable", 6, 85, false}, {"In", 7, 5, false},         {"Words", 7, 28, false},
        {"$10.00", 7, 85, false}, {"Memo", 11, 10, false},   {"Memo7", 11, 22, false},    {"NO", 11, 85, false},
        {"This", 12, 85, false},  {"and", 13, 85, false},    {"021000021", 16, 10, true}, {"55512345", 16, 25, true},
        {"1001", 16, 45, true},
    };
    const double toPoints = 72.0 / dpi;
    // Bold 10-point Arial columns are about 4.8 points wide, so that column 110
    // (cheque number and date) still lies on a Letter page.
    const double arialColumn = weightedAverageCharWidth(arialMetrics) * toPoints;
    QVERIFY2(arialColumn > 4.5 && arialColumn < 5.2, qPrintable(QString::number(arialColumn)));
    const double arialLine = arialMetrics.lineSpacing() * toPoints;
    for (const Expected& item : expected) {
        const auto found = std::find_if(words.begin(), words.end(), [&](const Word& w) { return w.text == item.word; });
        QVERIFY2(found != words.end(), qPrintable(item.word));
        const QFontMetricsF& metrics = item.isMicr ? micrMetrics : arialMetrics;
        const double x = paintRect.left() + (item.column - 1) * weightedAverageCharWidth(metrics) * toPoints;
        // A glyph's ink starts a little right of its pen position.
        QVERIFY2(found->x >= x - 0.5 && found->x <= x + 2.0,
                 qPrintable(QStringLiteral("%1: x %2, expected %3").arg(item.word).arg(found->x).arg(x)));
        const double lineTop = paintRect.top() + (item.line - 1) * arialLine;
        const double lineBottom = lineTop + (item.isMicr ? micrMetrics.lineSpacing() * toPoints : arialLine);
        QVERIFY2(found->y >= lineTop - 1.0 && found->y < lineBottom,
                 qPrintable(QStringLiteral("%1: y %2, expected line %3 from %4")
                                .arg(item.word)
                                .arg(found->y)
                                .arg(item.line)
                                .arg(lineTop)));
    }
}

void TestQtPrintSurface::unwritablePrinterFailsAtEndWithAReason()
{
    QtPrintSurface surface(pdfPrinter(QStringLiteral("/nonexistent-folder/cheque.pdf")));
    surface.setFontName(QStringLiteral("Arial"));
    surface.drawText(0, 0, QStringLiteral("text"));
    try {
        surface.endDoc();
        QFAIL("endDoc succeeded on a printer that cannot start");
    } catch (const QuilloError& error) {
        QVERIFY(error.message().contains(QLatin1String("could not be started")));
    }
}

void TestQtPrintSurface::abandonedDocumentSendsNothing()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("half.pdf"));
    {
        QtPrintSurface surface(pdfPrinter(pdf));
        surface.setFontName(QStringLiteral("Arial"));
        surface.drawText(0, 0, QStringLiteral("half a cheque"));
        // The composition fails here; the surface goes away without endDoc.
    }
    QVERIFY(!QFileInfo::exists(pdf));
}

QTEST_MAIN(TestQtPrintSurface)
#include "tst_qtprintsurface.moc"
