#include "fakes/DesignedCaptions.h"
#include "fakes/FakeMessageBox.h"
#include "platform/PrintDestination.h"
#include "platform/QuilloError.h"
#include "platform/qt/QtPrintSurface.h"
#include "print/QuickPrint.h"

#include "fakes/TestFiles.h"

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

std::unique_ptr<QPrinter> pdfPrinter(const QString& path, QPageSize::PageSizeId size = QPageSize::Letter)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(size));
    return printer;
}

// A printer that keeps a copy of each document it is handed, or refuses it.
class FakeDestination : public PrintDestination {
public:
    QString name() const override { return QStringLiteral("Front Desk"); }
    void print(const QString& file, const QString& title) override
    {
        handed.append(file);
        titles.append(title);
        documents.append(TestFiles::read(file));
        if (!refusal.isEmpty())
            throw QuilloError(refusal);
    }

    QString refusal;
    QStringList handed;
    QStringList titles;
    QList<QByteArray> documents;
};

// Hands the surface a destination that the test keeps.
class ForwardingDestination : public PrintDestination {
public:
    explicit ForwardingDestination(PrintDestination& target) : m_target(target) {}
    QString name() const override { return m_target.name(); }
    void print(const QString& file, const QString& title) override { m_target.print(file, title); }

private:
    PrintDestination& m_target;
};

CheckTexts mariasCheque()
{
    return {QStringLiteral("Maria L. Gonzalez"),
            QStringLiteral("1457 Alder Court"),
            QStringLiteral("Fresno, CA 93701"),
            QStringLiteral("Valley Community Bank"),
            QStringLiteral("Fresno, CA"),
            QStringLiteral("2318"),
            QStringLiteral("Sunrise Garden Supply"),
            QStringLiteral("Two hundred forty-seven and 50/100"),
            QStringLiteral("$247.50"),
            QStringLiteral("12/08/2026"),
            QStringLiteral("A021000021A"),
            QStringLiteral("123456789C"),
            QStringLiteral("2318"),
            QStringLiteral("Spring order")};
}

// Prints `texts` through Quick Print to a PDF; the confirmation, or the failure.
// The printable area is that of the generic PDF printer driver of CUPS: a
// quarter inch from the sides, half an inch from the top and bottom.
QString printToPdf(const CheckTexts& texts, const QString& pdf, QPageSize::PageSizeId size = QPageSize::Letter)
{
    FakeMessageBox messages;
    try {
        auto printer = pdfPrinter(pdf, size);
        printer->setPageMargins(QMarginsF(18, 36, 18, 36), QPageLayout::Point);
        QtPrintSurface surface(std::move(printer));
        QuickPrint::run(texts, designedCaptions(), surface, messages);
    } catch (const QuilloError& error) {
        return error.message();
    }
    return messages.shown.join(QLatin1Char('|'));
}

} // namespace

class TestQtPrintSurface : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void chequeLandsAtItsColumnsAndLines();
    void unwritablePrinterFailsAtEndWithAReason();
    void abandonedDocumentSendsNothing();
    void reopenedChequePrintsAtTheSamePlaces();
    void itemPastTheEdgeIsRefused_data();
    void itemPastTheEdgeIsRefused();
    void destinationTakesTheWholeDocument();
    void refusedJobIsAFailure();
    void noPrintServiceFailsAtTheFirstOutput();
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

void TestQtPrintSurface::reopenedChequePrintsAtTheSamePlaces()
{
    QTemporaryDir dir;
    const QString typedPdf = dir.filePath(QStringLiteral("typed.pdf"));
    const QString reopenedPdf = dir.filePath(QStringLiteral("reopened.pdf"));
    const CheckTexts typed = mariasCheque();
    // What the boxes hold after Save and Open: every value filled or cut to 32 characters.
    const CheckTexts reopened = CheckRecord::fromWindow(typed).toWindow();
    QCOMPARE(printToPdf(typed, typedPdf), QuickPrint::Confirmation);
    QCOMPARE(printToPdf(reopened, reopenedPdf), QuickPrint::Confirmation);

    const QList<Word> first = pdfWords(typedPdf);
    const QList<Word> second = pdfWords(reopenedPdf);
    QVERIFY(!first.isEmpty());
    QCOMPARE(second.size(), first.size());
    for (qsizetype i = 0; i < first.size(); ++i) {
        // The file keeps 32 characters of the amount in words: "50/100" comes back as "50/1".
        if (first[i].text != QLatin1String("50/100"))
            QCOMPARE(second[i].text, first[i].text);
        QCOMPARE(second[i].x, first[i].x);
        QCOMPARE(second[i].y, first[i].y);
    }
    // The MICR line is one line.
    const auto micrTop = [&](const QString& text) {
        return std::find_if(second.begin(), second.end(), [&](const Word& w) { return w.text == text; })->y;
    };
    QCOMPARE(micrTop(QStringLiteral("123456789C")), micrTop(QStringLiteral("A021000021A")));
}

void TestQtPrintSurface::itemPastTheEdgeIsRefused_data()
{
    QTest::addColumn<int>("pageSize");
    QTest::addColumn<QString>("date");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<QString>("advice"); // what the refusal suggests
    // On Letter a short date fits; on A4 nothing but wider paper helps.
    QTest::newRow("Letter, 12/08/2026") << int(QPageSize::Letter) << QStringLiteral("12/08/2026") << true << QString();
    QTest::newRow("Letter, December 8, 2026")
        << int(QPageSize::Letter) << QStringLiteral("December 8, 2026") << false
        << QStringLiteral("Use a shorter text, and for the date a short form such as \"12/08/2026\".");
    QTest::newRow("A4, 12/08/2026") << int(QPageSize::A4) << QStringLiteral("12/08/2026") << false
                                    << QStringLiteral("Use a shorter text, or print on US Letter paper, for which "
                                                      "Quillo's layout is designed.");
}

void TestQtPrintSurface::itemPastTheEdgeIsRefused()
{
    QFETCH(int, pageSize);
    QFETCH(QString, date);
    QFETCH(bool, fits);
    QFETCH(QString, advice);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("cheque.pdf"));
    CheckTexts texts = mariasCheque();
    texts[9] = date;
    const QString outcome = printToPdf(texts, pdf, static_cast<QPageSize::PageSizeId>(pageSize));
    if (fits) {
        QCOMPARE(outcome, QuickPrint::Confirmation);
        QVERIFY(QFileInfo::exists(pdf));
        return;
    }
    const QRegularExpression refusal(
        QStringLiteral("^Quillo did not print the check, because part of it would run past the right edge of the "
                       "paper:\nDate: \"%1\" runs (\\d\\.\\d\\d) inch past the edge\\.\n%2$")
            .arg(QRegularExpression::escape(date), QRegularExpression::escape(advice)));
    const QRegularExpressionMatch match = refusal.match(outcome);
    QVERIFY2(match.hasMatch(), qPrintable(outcome));
    const double inches = match.captured(1).toDouble();
    QVERIFY2(inches > 0 && inches < 1, qPrintable(outcome));
    QVERIFY(!QFileInfo::exists(pdf)); // nothing was printed
}

namespace {

// Quick Print onto a PDF painted for `destination`; the message or the failure.
QString printTo(FakeDestination& destination)
{
    auto pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
    pdf->setOutputFormat(QPrinter::PdfFormat);
    pdf->setPageSize(QPageSize(QPageSize::Letter));
    FakeMessageBox messages;
    try {
        QtPrintSurface surface(std::move(pdf),
                               std::unique_ptr<PrintDestination>(new ForwardingDestination(destination)));
        QuickPrint::run(mariasCheque(), designedCaptions(), surface, messages);
    } catch (const QuilloError& error) {
        return error.message();
    }
    return messages.shown.join(QLatin1Char('|'));
}

} // namespace

void TestQtPrintSurface::destinationTakesTheWholeDocument()
{
    FakeDestination destination;
    QCOMPARE(printTo(destination), QuickPrint::Confirmation);
    QCOMPARE(destination.handed.size(), 1);
    QCOMPARE(destination.titles, QStringList{QStringLiteral("Quillo")});
    const QByteArray& document = destination.documents.first();
    QVERIFY(document.startsWith("%PDF-"));
    QVERIFY(document.trimmed().endsWith("%%EOF"));
    // The document lived only until the printer had taken it.
    QVERIFY(!QFileInfo::exists(destination.handed.first()));
}

void TestQtPrintSurface::refusedJobIsAFailure()
{
    FakeDestination destination;
    destination.refusal = QStringLiteral("The printer \"Front Desk\" is not accepting jobs.");
    QCOMPARE(printTo(destination), destination.refusal); // and no confirmation
    QCOMPARE(destination.handed.size(), 1);
    QVERIFY(!QFileInfo::exists(destination.handed.first()));
}

void TestQtPrintSurface::noPrintServiceFailsAtTheFirstOutput()
{
    // The test's CUPS_SERVER names a socket that does not exist.
    auto surface = QtPrintSurface::forDefaultPrinter();
    FakeMessageBox messages;
    try {
        QuickPrint::run(mariasCheque(), designedCaptions(), *surface, messages);
        QFAIL("printed without a print service");
    } catch (const QuilloError& error) {
        QVERIFY2(error.message().startsWith(QLatin1String("The print service is not running, so the check was not "
                                                          "printed.")),
                 qPrintable(error.message()));
    }
    QVERIFY(messages.shown.isEmpty());
}

QTEST_MAIN(TestQtPrintSurface)
#include "tst_qtprintsurface.moc"
