#include "fakes/DesignedCaptions.h"
#include "fakes/FakePrintDestination.h"
#include "fakes/PageItems.h"
#include "fakes/PrintedPdf.h"
#include "fakes/TestFiles.h"
#include "print/ConfirmationLetter.h"
#include "print/PageBuilder.h"
#include "print/PageFit.h"
#include "print/Printing.h"
#include "print/QuickPrint.h"
#include "print/TextAdvances.h"
#include "system/SystemPrinterFinder.h"
#include "system/qt/Fonts.h"
#include "system/qt/QtPrinterDestination.h"
#include "ui/preview/PagePreview.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

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
QString printToPdf(const CheckTexts& texts, const QString& pdf, QPageSize::PageSizeId size = QPageSize::Letter,
                   const PageSetup& setup = {})
{
    auto printer = pdfPrinter(pdf, size);
    printer->setPageMargins(QMarginsF(18, 36, 18, 36), QPageLayout::Point);
    return quickPrintTo(std::move(printer), texts, setup);
}

} // namespace

class TestPrintedPage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::install(); }
    void chequeLandsAtItsColumnsAndLines();
    void unwritablePrinterFailsAtEndWithAReason();
    void reopenedChequePrintsAtTheSamePlaces();
    void itemPastTheEdgeIsRefused_data();
    void itemPastTheEdgeIsRefused();
    void bankLinePastTheBottomIsAdvisedPaper_data();
    void bankLinePastTheBottomIsAdvisedPaper();
    void paperIsNamedAsAMerchantKnowsIt_data();
    void paperIsNamedAsAMerchantKnowsIt();
    void destinationTakesTheWholeDocument();
    void noPrintServiceFailsAtTheFirstOutput();
    void previewAndPrintedPageAgree();
    void pageSetupPlacesItemsOnTheSheet_data();
    void pageSetupPlacesItemsOnTheSheet();
    void letterDatesTheAuthorizationApartFromItself_data();
    void letterDatesTheAuthorizationApartFromItself();
    void pageComposedAgainMeasuresOnlyWhatChanged();
    void keptWidthsAreTheFontsOwn();
};

void TestPrintedPage::chequeLandsAtItsColumnsAndLines()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("cheque.pdf"));
    auto printer = pdfPrinter(pdf);
    const QRectF paintRect = printer->pageLayout().paintRect(QPageLayout::Point);

    const CheckTexts texts = {QStringLiteral("Payor1"), QStringLiteral("Payor2"),    QStringLiteral("Payor3"),
                              QStringLiteral("Bank1"),  QStringLiteral("Bank2"),     QStringLiteral("No1001"),
                              QStringLiteral("Payee"),  QStringLiteral("Words"),     QStringLiteral("$10.00"),
                              QStringLiteral("Dated"),  QStringLiteral("021000021"), QStringLiteral("55512345"),
                              QStringLiteral("1001"),   QStringLiteral("Memo7")};
    QCOMPARE(quickPrintTo(std::move(printer), texts), QuickPrint::Confirmation);
    QVERIFY(QFileInfo::exists(pdf));

    const QList<PdfWord> words = pdfWords(pdf);
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
    // In points: bold 10-point Arial columns are 4.795 wide, so that column
    // 110 (cheque number and date) still lies on a Letter page, and its lines
    // 11.523 high; the bold 16-point MICR font is 9.011 to a character (1/8
    // inch in whole printer pixels) and 16.02 to a line.
    const double arialColumn = 4.79521;
    const double arialLine = 11.52281;
    const double micrColumn = 9.01125;
    const double micrLine = 16.02;
    for (const Expected& item : expected) {
        const auto found =
            std::find_if(words.begin(), words.end(), [&](const PdfWord& w) { return w.text == item.word; });
        QVERIFY2(found != words.end(), qPrintable(item.word));
        const double x = paintRect.left() + (item.column - 1) * (item.isMicr ? micrColumn : arialColumn);
        // A glyph's ink starts a little right of its pen position.
        QVERIFY2(found->xMin >= x - 0.5 && found->xMin <= x + 2.0,
                 qPrintable(QStringLiteral("%1: x %2, expected %3").arg(item.word).arg(found->xMin).arg(x)));
        const double lineTop = paintRect.top() + (item.line - 1) * arialLine;
        const double lineBottom = lineTop + (item.isMicr ? micrLine : arialLine);
        QVERIFY2(found->yMin >= lineTop - 1.0 && found->yMin < lineBottom,
                 qPrintable(QStringLiteral("%1: y %2, expected line %3 from %4")
                                .arg(item.word)
                                .arg(found->yMin)
                                .arg(item.line)
                                .arg(lineTop)));
    }
}

void TestPrintedPage::unwritablePrinterFailsAtEndWithAReason()
{
    const QString outcome = quickPrintTo(pdfPrinter(QStringLiteral("/nonexistent-folder/cheque.pdf")), mariasCheque());
    QVERIFY2(outcome.startsWith(QLatin1String("The printer \"/nonexistent-folder/cheque.pdf\" could not be started, "
                                              "so the check was not printed.")),
             qPrintable(outcome));
}

void TestPrintedPage::reopenedChequePrintsAtTheSamePlaces()
{
    QTemporaryDir dir;
    const QString typedPdf = dir.filePath(QStringLiteral("typed.pdf"));
    const QString reopenedPdf = dir.filePath(QStringLiteral("reopened.pdf"));
    const CheckTexts typed = mariasCheque();
    // What the boxes hold after Save and Open: every value filled or cut to 32 characters.
    const CheckTexts reopened = CheckRecord::fromWindow(typed).toWindow();
    QCOMPARE(printToPdf(typed, typedPdf), QuickPrint::Confirmation);
    QCOMPARE(printToPdf(reopened, reopenedPdf), QuickPrint::Confirmation);

    const QList<PdfWord> first = pdfWords(typedPdf);
    const QList<PdfWord> second = pdfWords(reopenedPdf);
    QVERIFY(!first.isEmpty());
    QCOMPARE(second.size(), first.size());
    for (qsizetype i = 0; i < first.size(); ++i) {
        // The file keeps 32 characters of the amount in words: "50/100" comes back as "50/1".
        if (first[i].text != QLatin1String("50/100"))
            QCOMPARE(second[i].text, first[i].text);
        QCOMPARE(second[i].xMin, first[i].xMin);
        QCOMPARE(second[i].yMin, first[i].yMin);
    }
    // The MICR line is one line.
    const auto micrTop = [&](const QString& text) {
        return std::find_if(second.begin(), second.end(), [&](const PdfWord& w) { return w.text == text; })->yMin;
    };
    QCOMPARE(micrTop(QStringLiteral("123456789C")), micrTop(QStringLiteral("A021000021A")));
}

void TestPrintedPage::itemPastTheEdgeIsRefused_data()
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

void TestPrintedPage::itemPastTheEdgeIsRefused()
{
    QFETCH(int, pageSize);
    QFETCH(QString, date);
    QFETCH(bool, fits);
    QFETCH(QString, advice);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("cheque.pdf"));
    CheckTexts texts = mariasCheque();
    texts[Box::CheckDate] = date;
    const QString outcome = printToPdf(texts, pdf, static_cast<QPageSize::PageSizeId>(pageSize));
    if (fits) {
        QCOMPARE(outcome, QuickPrint::Confirmation);
        QVERIFY(QFileInfo::exists(pdf));
        return;
    }
    const QRegularExpression refusal(
        QStringLiteral("^Quillo did not print the check, because part of it would run past the right edge of the "
                       "paper:\nDate: \"%1\" runs (\\d\\.\\d\\d) inch past the right edge\\.\n%2$")
            .arg(QRegularExpression::escape(date), QRegularExpression::escape(advice)));
    const QRegularExpressionMatch match = refusal.match(outcome);
    QVERIFY2(match.hasMatch(), qPrintable(outcome));
    const double inches = match.captured(1).toDouble();
    QVERIFY2(inches > 0 && inches < 1, qPrintable(outcome));
    QVERIFY(!QFileInfo::exists(pdf)); // nothing was printed
}

void TestPrintedPage::bankLinePastTheBottomIsAdvisedPaper_data()
{
    // Paper `width` by `height` points, a quarter inch of margin at the sides
    // and half an inch at the top and bottom: what the routing number's
    // mark says. The bank line ends between 2.62 and 2.63 inch down the
    // printable area.
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("offsetDown"); // hundredths of an inch
    QTest::addColumn<QString>("reason");
    QTest::newRow("3.64 in: the bank line fits") << 612 << 262 << 0 << QString();
    QTest::newRow("3.61 in: past the bottom")
        << 612 << 260 << 0
        << "The check will not print on 8.5 \u00d7 3.61 in paper: \"A021000021A\" runs 0.01 inch past the bottom "
           "edge. Print on taller paper, or move the page up in Page Setup.";
    QTest::newRow("narrower, 3.61 in: past the bottom")
        << 595 << 260 << 0
        << "The check will not print on 8.26 \u00d7 3.61 in paper: \"A021000021A\" runs 0.01 inch past the bottom "
           "edge. Print on taller paper such as US Letter, for which Quillo's layout is designed, or move the page "
           "up in Page Setup.";
    QTest::newRow("3.64 in, moved down")
        << 612 << 262 << 10
        << "The check will not print on 8.5 \u00d7 3.64 in paper: \"A021000021A\" runs 0.08 inch past the bottom "
           "edge with the page moved 0.10 inch down in Page Setup. Make the offset smaller.";
    QTest::newRow("3 in, moved down")
        << 612 << 216 << 10
        << "The check will not print on 8.5 \u00d7 3 in paper: \"A021000021A\" runs 0.72 inch past the bottom edge "
           "with the page moved 0.10 inch down in Page Setup. Make the offset smaller, and print on taller paper.";
}

void TestPrintedPage::bankLinePastTheBottomIsAdvisedPaper()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, offsetDown);
    const QPageLayout layout(QPageSize(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::FuzzyMatch),
                             QPageLayout::Portrait, QMarginsF(18, 36, 18, 36), QPageLayout::Point);
    PageSetup setup;
    setup.offsetDown = offsetDown;
    const PerBox<QString> reasons = PageFit::reasons(mariasCheque(), designedCaptions(), setup, layout);
    QTEST(reasons[Box::RoutingNumber], "reason");
    // The memo, three lines higher, fits all the same.
    QCOMPARE(reasons[Box::Memo], QString());
}

void TestPrintedPage::paperIsNamedAsAMerchantKnowsIt_data()
{
    QTest::addColumn<QPageSize>("paper");
    QTest::addColumn<QString>("name");
    QTest::newRow("Letter") << QPageSize(QPageSize::Letter) << "US Letter";
    QTest::newRow("Legal") << QPageSize(QPageSize::Legal) << "US Legal";
    QTest::newRow("A4") << QPageSize(QPageSize::A4) << "A4";
    QTest::newRow("Letter in points") << QPageSize(QSizeF(612, 792), QPageSize::Point, QString(), QPageSize::FuzzyMatch)
                                      << "US Letter";
    QTest::newRow("a check sheet") << QPageSize(QSizeF(612, 216), QPageSize::Point, QString(), QPageSize::FuzzyMatch)
                                   << "8.5 \u00d7 3 in";
    QTest::newRow("half a Letter sheet") << QPageSize(QSizeF(306, 792), QPageSize::Point) << "4.25 \u00d7 11 in";
    QTest::newRow("Executive") << QPageSize(QPageSize::Executive) << "7.5 \u00d7 10 in";
}

void TestPrintedPage::paperIsNamedAsAMerchantKnowsIt()
{
    QFETCH(QPageSize, paper);
    QTEST(PageFit::paperName(QPageLayout(paper, QPageLayout::Portrait, {})), "name");
}

void TestPrintedPage::destinationTakesTheWholeDocument()
{
    const Printing::Composed page = Printing::compose(FakePrintDestination().pageLayout(),
                                                      QuickPrint::page(mariasCheque(), designedCaptions(), {}));
    const QByteArray document = page.page.toPdf(QStringLiteral("Quillo"));
    QVERIFY(document.startsWith("%PDF-"));
    QVERIFY(document.trimmed().endsWith("%%EOF"));
}

void TestPrintedPage::noPrintServiceFailsAtTheFirstOutput()
{
    // The test's CUPS_SERVER names a socket that does not exist.
    QFuture<FoundPrinter> found = SystemPrinterFinder().findDefault();
    QTRY_VERIFY_WITH_TIMEOUT(found.isFinished(), 60000);
    QVERIFY(!found.result().printer);
    QCOMPARE(found.result().failure,
             QStringLiteral("The print service is not running, so the check was not printed. Start the computer's "
                            "print service (CUPS), or ask whoever looks after this computer to, and try again."));
}

void TestPrintedPage::previewAndPrintedPageAgree()
{
    // One page, composed as Quick Print composes it for a printer.
    const Printing::Composed composed = Printing::compose(FakePrintDestination().pageLayout(),
                                                          QuickPrint::page(mariasCheque(), designedCaptions(), {}));
    QVERIFY(composed.overflows.empty());
    const PrintedPage& page = composed.page;

    // The printer's PDF and the preview's drawing, both at 150 dpi.
    constexpr int Dpi = 150;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    QVERIFY(TestFiles::write(pdf, page.toPdf(QStringLiteral("Quillo"))));
    QProcess raster;
    raster.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QString::number(Dpi), QStringLiteral("-gray"), QStringLiteral("-singlefile"),
                  pdf, dir.filePath(QStringLiteral("printed"))});
    QVERIFY(raster.waitForFinished(60000) && raster.exitCode() == 0);
    const QImage printed(dir.filePath(QStringLiteral("printed.pgm")));
    QCOMPARE(printed.size(), QSize(1275, 1650)); // Letter

    QImage shown(printed.size(), QImage::Format_RGB32);
    shown.setDotsPerMeterX(qRound(Dpi / 0.0254));
    shown.setDotsPerMeterY(qRound(Dpi / 0.0254));
    {
        QPainter painter(&shown);
        painter.setRenderHint(QPainter::TextAntialiasing);
        PagePreview(page, {}).paintSheet(painter);
    }

    // Each item's ink: the box around its dark pixels in the area it was placed in.
    const auto ink = [](const QImage& image, const QRect& area) {
        QRect box;
        for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y)
            for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const QPointF origin = page.layout().paintRect(QPageLayout::Point).topLeft() * Dpi / 72.0;
    int compared = 0;
    for (const PrintedPage::Text& item : page.texts()) {
        const QFontMetricsF metrics(item.font, &shown);
        const QPointF at = origin + item.baseline * Dpi / page.resolution() - QPointF(0, metrics.ascent());
        const QRect area = QRectF(at, QSizeF(metrics.horizontalAdvance(item.text), metrics.height()))
                               .toAlignedRect()
                               .adjusted(-3, -3, 3, 3);
        const QRect onPaper = ink(printed, area);
        const QRect onScreen = ink(shown, area);
        QVERIFY2(!onPaper.isEmpty(), qPrintable(item.text));
        const auto report = [&] {
            return QStringLiteral("%1: printed ink %2,%3-%4,%5, preview ink %6,%7-%8,%9")
                .arg(item.text)
                .arg(onPaper.left())
                .arg(onPaper.top())
                .arg(onPaper.right())
                .arg(onPaper.bottom())
                .arg(onScreen.left())
                .arg(onScreen.top())
                .arg(onScreen.right())
                .arg(onScreen.bottom());
        };
        QVERIFY2(qAbs(onPaper.left() - onScreen.left()) <= 1 && qAbs(onPaper.right() - onScreen.right()) <= 1 &&
                     qAbs(onPaper.top() - onScreen.top()) <= 1 && qAbs(onPaper.bottom() - onScreen.bottom()) <= 1,
                 qPrintable(report()));
        ++compared;
    }
    QCOMPARE(compared, 21); // fourteen values and seven captions

    // The preview alone shows the printable area's left edge, a quarter inch
    // in, as a dashed line from half an inch down to half an inch up.
    const auto marked = [](const QImage& image, int x) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            count += qGray(image.pixel(x, y)) < 250 || qGray(image.pixel(x + 1, y)) < 250 ? 1 : 0;
        return count;
    };
    const int dashes = marked(shown, 37);
    QVERIFY2(dashes > 1500 / 2 && dashes < 1500, qPrintable(QString::number(dashes)));
    QCOMPARE(marked(shown, 30), 0);
    QCOMPARE(marked(printed, 37), 0);
}

QTEST_MAIN(TestPrintedPage)
#include "tst_printedpage.moc"

void TestPrintedPage::pageSetupPlacesItemsOnTheSheet_data()
{
    QTest::addColumn<bool>("standard");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("down");
    QTest::newRow("layout, moved") << false << 10 << 5;
    QTest::newRow("standard") << true << 0 << 0;
    QTest::newRow("standard, moved") << true << 10 << 5;
}

void TestPrintedPage::pageSetupPlacesItemsOnTheSheet()
{
    QFETCH(bool, standard);
    QFETCH(int, right);
    QFETCH(int, down);
    QTemporaryDir dir;
    const QString layoutPdf = dir.filePath(QStringLiteral("layout.pdf"));
    const QString setupPdf = dir.filePath(QStringLiteral("setup.pdf"));
    const PageSetup setup{standard ? PageSetup::BankLine::Standard : PageSetup::BankLine::Layout, right, down};
    // A short date leaves room to move right; the bank line's serial differs from the check number.
    CheckTexts texts = mariasCheque();
    texts[Box::CheckDate] = QStringLiteral("12/8/26");
    texts[Box::MicrCheckNumber] = QStringLiteral("2319");
    QCOMPARE(printToPdf(texts, layoutPdf), QuickPrint::Confirmation);
    QCOMPARE(printToPdf(texts, setupPdf, QPageSize::Letter, setup), QuickPrint::Confirmation);

    // Points from the sheet's left edge where the bank line's items end: the
    // routing number in position 33, which ends 4.1875 inch from the left edge
    // of 8.5 inches, the serial in position 14 (6.5625 inch) and the account
    // number five positions before it.
    const QHash<QString, double> bankLine = {
        {QStringLiteral("A021000021A"), 301.5}, {QStringLiteral("123456789C"), 427.5}, {QStringLiteral("2319"), 472.5}};
    // pdftotext lists the words in reading order, which the bank line's new place changes.
    const auto sorted = [](QList<PdfWord> words) {
        std::stable_sort(words.begin(), words.end(),
                         [](const PdfWord& a, const PdfWord& b) { return a.text < b.text; });
        return words;
    };
    const QList<PdfWord> before = sorted(pdfWords(layoutPdf));
    const QList<PdfWord> after = sorted(pdfWords(setupPdf));
    QVERIFY(!before.isEmpty());
    QCOMPARE(after.size(), before.size());
    // Within one device pixel at 1200 dpi.
    const double pixel = 0.06;
    for (qsizetype i = 0; i < before.size(); ++i) {
        QCOMPARE(after[i].text, before[i].text);
        const bool placed = standard && bankLine.contains(after[i].text);
        const double x = placed ? bankLine[after[i].text] : before[i].xMax;
        QVERIFY2(qAbs(after[i].xMax - x - right * 0.72) <= pixel,
                 qPrintable(QStringLiteral("%1: x %2, expected %3").arg(after[i].text).arg(after[i].xMax).arg(x)));
        if (!placed)
            QVERIFY2(qAbs(after[i].yMin - before[i].yMin - down * 0.72) <= pixel, qPrintable(after[i].text));
    }
    if (standard && down != 0) {
        // The bank line moves down with the rest.
        const QString still = dir.filePath(QStringLiteral("still.pdf"));
        QCOMPARE(printToPdf(texts, still, QPageSize::Letter, {PageSetup::BankLine::Standard, 0, 0}),
                 QuickPrint::Confirmation);
        const QList<PdfWord> unmoved = sorted(pdfWords(still));
        for (qsizetype i = 0; i < unmoved.size(); ++i)
            QVERIFY2(qAbs(after[i].yMin - unmoved[i].yMin - down * 0.72) <= pixel, qPrintable(after[i].text));
    }
}

void TestPrintedPage::letterDatesTheAuthorizationApartFromItself_data()
{
    QTest::addColumn<QDateTime>("authorized");
    QTest::addColumn<QDate>("letterDate");
    QTest::addColumn<QString>("authorizedOn"); // as the letter says it
    QTest::addColumn<QString>("writtenOn");

    // Noon UTC is the same day in every zone the tests run in.
    QTest::newRow("a week before") << QDateTime(QDate(2026, 12, 1), QTime(12, 0), Qt::UTC) << QDate(2026, 12, 8)
                                   << "December 1, 2026"
                                   << "December 8, 2026";
    QTest::newRow("the day before") << QDateTime(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC) << QDate(2026, 12, 8)
                                    << "December 7, 2026"
                                    << "December 8, 2026";
    QTest::newRow("another year") << QDateTime(QDate(2025, 12, 31), QTime(12, 0), Qt::UTC) << QDate(2026, 1, 2)
                                  << "December 31, 2025"
                                  << "January 2, 2026";
}

void TestPrintedPage::letterDatesTheAuthorizationApartFromItself()
{
    QFETCH(QDateTime, authorized);
    QFETCH(QDate, letterDate);
    QFETCH(QString, authorizedOn);
    QFETCH(QString, writtenOn);

    ConfirmationLetter::Facts facts;
    facts.merchant = {QStringLiteral("Sunrise Garden Supply"),
                      QStringLiteral("88 Orchard Road"),
                      QStringLiteral("(559) 555-0100"),
                      {},
                      QStringLiteral("Refunded within 30 days.")};
    facts.draft = mariasCheque();
    facts.accountLastFour = QStringLiteral("6789");
    facts.authorization = AuthorizationRecord::forDraft(facts.draft, authorized);
    facts.date = letterDate;
    const QString letter = ConfirmationLetter::lines(facts).join(QLatin1Char('\n'));

    // The letter's own date stands once, on a line of its own; the
    // authorization's date once, in the text.
    QCOMPARE(letter.count(writtenOn), 1);
    QVERIFY2(letter.contains(QLatin1Char('\n') + writtenOn + QLatin1Char('\n')), qPrintable(letter));
    QCOMPARE(letter.count(authorizedOn), 1);
}

namespace {

// Maria's cheque composed on a page builder that keeps its widths in `advances`.
PrintedPage composedWith(TextAdvances& advances, const CheckTexts& texts)
{
    PageBuilder builder(FakePrintDestination().pageLayout(), advances);
    QuickPrint::compose(texts, designedCaptions(), builder, {});
    return builder.page();
}

// The widths kept in the fonts of `page`.
qsizetype keptTexts(TextAdvances& advances, const PrintedPage& page)
{
    QSet<QString> fonts;
    qsizetype kept = 0;
    for (const PrintedPage::Text& item : page.texts()) {
        if (!fonts.contains(item.font.key())) {
            fonts.insert(item.font.key());
            kept += advances.inFont(item.font).size();
        }
    }
    return kept;
}

} // namespace

void TestPrintedPage::pageComposedAgainMeasuresOnlyWhatChanged()
{
    TextAdvances advances;
    const PrintedPage first = composedWith(advances, mariasCheque());
    const qsizetype measured = keptTexts(advances, first);
    QVERIFY(measured >= 14);

    // Composed again: every width is known, and the page is the same.
    QCOMPARE(PageItems::of(composedWith(advances, mariasCheque())), PageItems::of(first));
    QCOMPARE(keptTexts(advances, first), measured);

    // One box typed into: its one new text is measured, and the page is the
    // one a builder that knows nothing composes.
    CheckTexts typed = mariasCheque();
    typed[Box::Payee] = QStringLiteral("Sunrise Garden Supply Inc.");
    const PrintedPage changed = composedWith(advances, typed);
    QCOMPARE(keptTexts(advances, changed), measured + 1);
    TextAdvances fresh;
    QCOMPARE(PageItems::of(changed), PageItems::of(composedWith(fresh, typed)));
    QVERIFY(PageItems::of(changed) != PageItems::of(first));
}

void TestPrintedPage::keptWidthsAreTheFontsOwn()
{
    QBuffer scratch;
    QPdfWriter device(&scratch);
    device.setResolution(PageBuilder::Resolution);
    QFont small(QStringLiteral("Liberation Sans"));
    small.setPointSizeF(10);
    QFont large = small;
    large.setPointSizeF(12);
    QFont bold = small;
    bold.setBold(true);
    const QString text = QStringLiteral("Sunrise Garden Supply");

    // The same text in three fonts: three widths, each the font's own.
    TextAdvances advances;
    QList<double> widths;
    for (const QFont& font : {small, large, bold}) {
        const QFontMetricsF metrics(font, &device);
        QCOMPARE(advances.inFont(font).of(text, metrics), metrics.horizontalAdvance(text));
        widths << advances.inFont(font).of(text, metrics);
    }
    QVERIFY(widths[0] < widths[1]);
    QVERIFY(widths[0] < widths[2]);

    // A font's widths are measured afresh once it holds its most texts.
    const QFontMetricsF metrics(small, &device);
    TextAdvances::InFont& inSmall = advances.inFont(small);
    for (qsizetype i = 1; i < TextAdvances::MaxTexts; ++i)
        inSmall.of(QString::number(i), metrics);
    QCOMPARE(inSmall.size(), TextAdvances::MaxTexts);
    QCOMPARE(inSmall.of(text, metrics), metrics.horizontalAdvance(text));
    QCOMPARE(inSmall.size(), TextAdvances::MaxTexts);
    QCOMPARE(inSmall.of(QStringLiteral("Acme"), metrics), metrics.horizontalAdvance(QStringLiteral("Acme")));
    QCOMPARE(inSmall.size(), 1);
}
