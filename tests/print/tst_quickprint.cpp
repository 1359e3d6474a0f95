#include "fakes/DesignedCaptions.h"
#include "fakes/FakeFailureReporter.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/FakePrintDestination.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/PageItems.h"
#include "platform/qt/Fonts.h"
#include "print/PrintedPage.h"
#include "print/Printing.h"
#include "print/QuickPrint.h"

#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(CheckTexts)

namespace {

CheckTexts typicalCheque()
{
    return {QStringLiteral("Jane Doe"),    QStringLiteral("12 Elm St"),      QStringLiteral("Springfield"),
            QStringLiteral("First Bank"),  QStringLiteral("Main Branch"),    QStringLiteral("1001"),
            QStringLiteral("Acme Supply"), QStringLiteral("Ten and 00/100"), QStringLiteral("$10.00"),
            QStringLiteral("12/07/2026"),  QStringLiteral("A021000021A"),    QStringLiteral("12345678C"),
            QStringLiteral("1001"),        QStringLiteral("Order 5")};
}

// US Letter with the printable area of the CUPS generic PDF driver: a
// quarter inch at the sides, half an inch at the top and bottom.
QPageLayout letter()
{
    return {QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(18, 36, 18, 36), QPageLayout::Point};
}

using namespace PageItems;

Printing::Composed composed(const CheckTexts& texts, const PageSetup& setup = {}, const QPageLayout& layout = letter())
{
    return Printing::compose(layout, QuickPrint::page(texts, designedCaptions(), setup));
}

QStringList printed(const CheckTexts& texts)
{
    return PageItems::of(composed(texts).page);
}

// The print commands' services, with a default printer that confirms.
struct PrintingFixture {
    FakePrinterFinder printers;
    FakeMessageBox messages;
    FakeFailureReporter failures;
    Printing printing{printers, messages, failures};
};

} // namespace

class TestQuickPrint : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::install(); }
    void typicalChequeItemsInOrder();
    void emptyChequePrintsOnlyCaptions();
    void wideItemPushesLaterItemsAndLinesDown();
    void trailingSpacesOfValuesAreNotDrawn_data();
    void trailingSpacesOfValuesAreNotDrawn();
    void reopenedChequePrintsTheSamePage();
    void itemsPastTheEdgeStopThePage_data();
    void itemsPastTheEdgeStopThePage();
    void standardPlaceKeepsItsFields();
    void offsetsAreReadWithinTheirLimits_data();
    void offsetsAreReadWithinTheirLimits();
    void printedPageIsConfirmedOnceTheDestinationTookIt();
    void waitingForTheAnswerKeepsTheCommandBusy();
    void missingPrinterIsReportedBeforeComposing();
};

void TestQuickPrint::typicalChequeItemsInOrder()
{
    const CheckTexts t = typicalCheque();
    const QStringList expected = {
        arial(3, 2, t[Box::PayorLine1]),
        arial(60, 2, t[Box::BankLine1]),
        arial(110, 2, t[Box::CheckNumber]),
        arial(3, 3, t[Box::PayorLine2]),
        arial(60, 3, t[Box::BankLine2]),
        arial(3, 4, t[Box::PayorLine3]),
        arial(110, 4, t[Box::CheckDate]),
        arial(5, 6, QStringLiteral("Pay to the Order of")),
        arial(28, 6, t[Box::Payee]),
        arial(85, 6, QStringLiteral("Payable in U.S. Funds")),
        arial(5, 7, QStringLiteral("In the Amount of")),
        arial(28, 7, t[Box::AmountInWords]),
        arial(85, 7, t[Box::AmountInFigures]),
        arial(10, 11, QStringLiteral("Memo")),
        arial(22, 11, t[Box::Memo]),
        arial(85, 11, QStringLiteral("NO SIGNATURE REQUIRED. ")),
        arial(85, 12, QStringLiteral("This is an Authorized")),
        arial(85, 13, QStringLiteral("and Requested Transaction.")),
        micr(10, t[Box::RoutingNumber]),
        micr(25, t[Box::AccountNumber]),
        micr(45, t[Box::MicrCheckNumber]),
    };
    QCOMPARE(printed(t), expected);
    // The same texts compose the same page every time.
    QCOMPARE(printed(t), expected);
}

void TestQuickPrint::emptyChequePrintsOnlyCaptions()
{
    const QStringList expected = {
        arial(5, 6, QStringLiteral("Pay to the Order of")),
        arial(85, 6, QStringLiteral("Payable in U.S. Funds")),
        arial(5, 7, QStringLiteral("In the Amount of")),
        arial(10, 11, QStringLiteral("Memo")),
        arial(85, 11, QStringLiteral("NO SIGNATURE REQUIRED. ")),
        arial(85, 12, QStringLiteral("This is an Authorized")),
        arial(85, 13, QStringLiteral("and Requested Transaction.")),
    };
    QCOMPARE(printed(CheckTexts{}), expected);
}

void TestQuickPrint::wideItemPushesLaterItemsAndLinesDown()
{
    // From column 3, 41 capital Ps (111.375 units each) run past column 60,
    // where the bank's first line begins; 40 end short of it.
    CheckTexts t = typicalCheque();
    t[Box::PayorLine1] = QString(41, QLatin1Char('P'));
    const QStringList pushed = printed(t);
    QCOMPARE(pushed.at(0), arial(3, 2, t[Box::PayorLine1]));
    QCOMPARE(pushed.at(1), arial(60, 3, t[Box::BankLine1])); // on the next line, at its column
    QCOMPARE(pushed.at(2), arial(110, 3, t[Box::CheckNumber]));
    QCOMPARE(pushed.at(3), arial(3, 4, t[Box::PayorLine2])); // every later line one lower
    QCOMPARE(pushed.at(17), arial(85, 14, QStringLiteral("and Requested Transaction.")));
    QCOMPARE(pushed.at(18), item(QStringLiteral("MICR 013 BT"), 16, true, 9 * MicrColumn, 16 * ArialLine + MicrAscent,
                                 t[Box::RoutingNumber]));

    t[Box::PayorLine1] = QString(40, QLatin1Char('P'));
    QCOMPARE(printed(t).at(1), arial(60, 2, t[Box::BankLine1]));
}

void TestQuickPrint::trailingSpacesOfValuesAreNotDrawn_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("drawn"); // null: nothing is drawn

    QTest::newRow("fill spaces") << QStringLiteral("Acme") + QString(28, QLatin1Char(' ')) << QStringLiteral("Acme");
    QTest::newRow("leading spaces stay") << QStringLiteral("  Acme  ") << QStringLiteral("  Acme");
    QTest::newRow("spaces inside stay") << QStringLiteral("Acme   Supply ") << QStringLiteral("Acme   Supply");
    QTest::newRow("only spaces") << QString(32, QLatin1Char(' ')) << QString();
    // Only U+0020 is a fill space.
    QTest::newRow("tab and no-break space stay") << QStringLiteral("Acme\t\u00a0") << QStringLiteral("Acme\t\u00a0");
}

void TestQuickPrint::trailingSpacesOfValuesAreNotDrawn()
{
    QFETCH(QString, typed);
    QFETCH(QString, drawn);
    CheckTexts t;
    t[Box::Payee] = typed;
    QStringList expected = printed(CheckTexts{});
    if (!drawn.isNull())
        expected.insert(1, arial(28, 6, drawn));
    QCOMPARE(printed(t), expected);
}

void TestQuickPrint::reopenedChequePrintsTheSamePage()
{
    // Read back from a record, every value carries fill spaces up to 32
    // characters: drawn, they sent the account number and the cheque number
    // of the MICR line down a line each.
    const CheckTexts typed = typicalCheque();
    const CheckTexts reopened = CheckRecord::fromWindow(typed).toWindow();
    const QStringList page = printed(reopened);
    QCOMPARE(page, printed(typed));
    QCOMPARE(page.mid(18), (QStringList{micr(10, typed[Box::RoutingNumber]), micr(25, typed[Box::AccountNumber]),
                                        micr(45, typed[Box::MicrCheckNumber])}));

    // A value that really is too wide still pushes what follows down.
    CheckTexts wide = typed;
    wide[Box::RoutingNumber] = QStringLiteral("A0210000210000021A");
    QCOMPARE(printed(wide).at(19), micr(25, typed[Box::AccountNumber], 1));
}

void TestQuickPrint::itemsPastTheEdgeStopThePage_data()
{
    QTest::addColumn<int>("paper");
    QTest::addColumn<CheckTexts>("texts");
    QTest::addColumn<QString>("refusal"); // empty: the page prints

    const QString start = QStringLiteral(
        "Quillo did not print the check, because part of it would run past the right edge of the paper:\n");
    // Column 110 begins 8711.3 units (7.26 inches) into the printable area,
    // which is 8.00 inches wide on Letter and 7.77 inches on A4.
    CheckTexts date = typicalCheque();
    date[Box::CheckDate] = QStringLiteral("12/08/2026");
    QTest::newRow("short date on Letter") << int(QPageSize::Letter) << date << QString();
    QTest::newRow("short date on A4")
        << int(QPageSize::A4) << date
        << start + QStringLiteral("Date: \"12/08/2026\" runs 0.19 inch past the edge.\nUse a shorter text, or print "
                                  "on US Letter paper, for which Quillo's layout is designed.");
    date[Box::CheckDate] = QStringLiteral("December 8, 2026");
    QTest::newRow("long date on Letter")
        << int(QPageSize::Letter) << date
        << start + QStringLiteral("Date: \"December 8, 2026\" runs 0.44 inch past the edge.\nUse a shorter text, and "
                                  "for the date a short form such as \"12/08/2026\".");
    CheckTexts number = typicalCheque();
    number[Box::CheckNumber] = QStringLiteral("10011001100110");
    QTest::newRow("check number on Letter")
        << int(QPageSize::Letter) << number
        << start + QStringLiteral("Check No.: \"10011001100110\" runs 0.34 inch past the edge.\nUse a shorter text.");

    CheckTexts pasted = typicalCheque();
    pasted[Box::Memo] = QString(59, QLatin1Char('m')) + QStringLiteral(" and more and more and more");
    QTest::newRow("a long text is cut in the message")
        << int(QPageSize::Letter) << pasted
        << start + QStringLiteral("Memo: \"%1\u2026\" runs 2.69 inch past the edge.\nUse a shorter text.")
                       .arg(QString(59, QLatin1Char('m')));
}

void TestQuickPrint::itemsPastTheEdgeStopThePage()
{
    QFETCH(int, paper);
    QFETCH(CheckTexts, texts);
    QFETCH(QString, refusal);

    PrintingFixture fixture;
    fixture.printers.printer.layout.setPageSize(QPageSize(static_cast<QPageSize::PageSizeId>(paper)));
    fixture.printing.toDefaultPrinter(QuickPrint::page(texts, designedCaptions(), {}), QuickPrint::Confirmation);
    if (refusal.isEmpty()) {
        QCOMPARE(fixture.messages.shown, QStringList{QuickPrint::Confirmation});
        QCOMPARE(fixture.printers.printer.pages.size(), 1);
        return;
    }
    QCOMPARE(fixture.failures.reports, QStringList{refusal});
    // Every item was composed, but nothing reached the printer.
    QVERIFY(fixture.printers.printer.pages.isEmpty());
    QVERIFY(fixture.messages.shown.isEmpty());
}

void TestQuickPrint::standardPlaceKeepsItsFields()
{
    const PageSetup standard{PageSetup::BankLine::Standard, 0, 0};
    CheckTexts texts = typicalCheque();
    // 19 characters fill the on-us field; one more would reach the routing field.
    texts[Box::AccountNumber] = QStringLiteral("1234567890123C");
    const Printing::Composed full = composed(texts, standard);
    QVERIFY(full.overflows.empty());
    // On Letter, 0.25 inch from the left and 0.5 inch from the top of the
    // sheet: the routing number ends in position 33 (4.1875 inch from the
    // left edge), the cheque number in position 14 (6.5625 inch) and the
    // account number in position 19, one blank position before it; every
    // baseline 3.25 inch down the sheet.
    QCOMPARE(
        PageItems::of(full.page).mid(18),
        (QStringList{
            item(QStringLiteral("MICR 013 BT"), 16, true, 4725 - 11 * MicrColumn, 3300, texts[Box::RoutingNumber]),
            item(QStringLiteral("MICR 013 BT"), 16, true, 7575 - 4 * MicrColumn, 3300, texts[Box::MicrCheckNumber]),
            item(QStringLiteral("MICR 013 BT"), 16, true, 6825 - 14 * MicrColumn, 3300, texts[Box::AccountNumber])}));
    texts[Box::AccountNumber] = QStringLiteral("12345678901234C");
    const auto overflows = composed(texts, standard).overflows;
    QCOMPARE(QuickPrint::refusal(overflows, 8),
             QStringLiteral("Quillo did not print the check, because part of it would not fit in its place on the "
                            "paper:\nAccount No. and Check No. on the MICR line: \"12345678901234C 1001\" has 20 "
                            "characters; its field on the bank line holds 19.\nUse shorter numbers, or choose \"Where "
                            "the layout puts it\" in File, Page Setup."));

    // The lowest line above the bank line ends 2.85 inch down the sheet: in a
    // printable area that begins 1 inch lower, its last three lines (the memo
    // line among them) reach the bottom 5/8 inch of the check, and still print.
    std::vector<QRectF> inClearBand;
    const auto compose = [&](const QPageLayout& layout) {
        return Printing::compose(layout, [&](PrintSurface& surface) {
            return QuickPrint::compose(typicalCheque(), designedCaptions(), surface, standard, &inClearBand);
        });
    };
    QPageLayout lowered = letter();
    lowered.setMargins(QMarginsF(18, 108, 18, 36));
    QVERIFY(compose(lowered).overflows.empty());
    QCOMPARE(inClearBand.size(), 5u);
    // The memo caption at column 10 of line 11, the last caption on line 13.
    QCOMPARE(QPointF(inClearBand.front().topLeft() - QPointF(9 * ArialColumn, 10 * ArialLine)).manhattanLength() < 0.01,
             true);
    QCOMPARE(qRound(inClearBand.back().top()), qRound(12 * ArialLine));
    compose(letter());
    QVERIFY(inClearBand.empty());
}

void TestQuickPrint::offsetsAreReadWithinTheirLimits_data()
{
    // What a hand-edited or damaged settings file may hold; the dialog never writes these.
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("hundredths");
    QTest::newRow("far right") << "999" << 50;
    QTest::newRow("far left") << "-999" << -50;
    QTest::newRow("at the limit") << "50" << 50;
    QTest::newRow("just past the limit") << "-51" << -50;
    QTest::newRow("not a number") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
}

void TestQuickPrint::offsetsAreReadWithinTheirLimits()
{
    QFETCH(QString, stored);
    QFETCH(int, hundredths);
    FakeSettingsStore settings;
    settings.saveSetting(QStringLiteral("Quillo"), QStringLiteral("Printing"), QStringLiteral("OffsetRight"), stored);
    settings.saveSetting(QStringLiteral("Quillo"), QStringLiteral("Printing"), QStringLiteral("OffsetDown"), stored);
    const PageSetup setup = PageSetup::load(settings, QStringLiteral("Quillo"));
    QCOMPARE(setup.offsetRight, hundredths);
    QCOMPARE(setup.offsetDown, hundredths);
}

void TestQuickPrint::printedPageIsConfirmedOnceTheDestinationTookIt()
{
    PrintingFixture fixture;
    fixture.printing.toDefaultPrinter(QuickPrint::page(typicalCheque(), designedCaptions(), {}),
                                      QuickPrint::Confirmation);
    QCOMPARE(fixture.messages.shown, QStringList{QStringLiteral("Quillo Has Been Sent To The Printer!")});
    QCOMPARE(fixture.printers.printer.pages.size(), 1);
    QCOMPARE(PageItems::of(fixture.printers.printer.pages.first()), printed(typicalCheque()));

    // A printer that does not take the page: its reason, and no confirmation.
    fixture.messages.shown.clear();
    fixture.printers.printer.refusal = QStringLiteral("The printer \"Front Desk\" is not accepting jobs.");
    fixture.printing.toDefaultPrinter(QuickPrint::page(typicalCheque(), designedCaptions(), {}),
                                      QuickPrint::Confirmation);
    QCOMPARE(fixture.failures.reports, QStringList{fixture.printers.printer.refusal});
    QVERIFY(fixture.messages.shown.isEmpty());
    QCOMPARE(fixture.printers.printer.pages.size(), 2);
}

void TestQuickPrint::waitingForTheAnswerKeepsTheCommandBusy()
{
    PrintingFixture fixture;
    fixture.printers.printer.holds = true;
    QSignalSpy busy(&fixture.printing, &Printing::busyChanged);
    QSignalSpy finished(&fixture.printing, &Printing::finished);
    fixture.printing.toDefaultPrinter(QuickPrint::page(typicalCheque(), designedCaptions(), {}),
                                      QuickPrint::Confirmation);
    QVERIFY(fixture.printing.isBusy());
    QVERIFY(!fixture.printing.canStopSafely()); // the page is on its way
    QCOMPARE(busy.count(), 1);
    // A second command while the first waits is not started.
    fixture.printing.toDefaultPrinter(QuickPrint::page(typicalCheque(), designedCaptions(), {}),
                                      QuickPrint::Confirmation);
    QCOMPARE(fixture.printers.lookUps, 1);

    fixture.printers.printer.answer(PrintOutcome::confirmed(QStringLiteral("Front Desk"), 12));
    QTRY_COMPARE(finished.count(), 1);
    QVERIFY(!fixture.printing.isBusy());
    QCOMPARE(busy.count(), 2);
    QCOMPARE(busy.last().first().toBool(), false);
    QCOMPARE(fixture.messages.shown, QStringList{QuickPrint::Confirmation});

    // A page that may print is no confirmation: its message is told as it is,
    // and the printer and job go to whoever keeps the draft.
    const QString uncertain = QStringLiteral("Quillo could not find out whether the check was printed: the print "
                                             "service stopped answering. Before printing it again, look at the print "
                                             "queue of \"Front Desk\" (job 13), so that the customer's account is "
                                             "not drawn twice.");
    PrintOutcome told;
    fixture.printing.toDefaultPrinter(QuickPrint::page(typicalCheque(), designedCaptions(), {}),
                                      QuickPrint::Confirmation,
                                      [&told](const PrintOutcome& outcome) { told = outcome; });
    fixture.printers.printer.answer(PrintOutcome::uncertain(uncertain, QStringLiteral("Front Desk"), 13));
    QTRY_COMPARE(finished.count(), 2);
    QCOMPARE(fixture.failures.reports, QStringList{uncertain});
    QCOMPARE(fixture.messages.shown.size(), 1);
    QCOMPARE(told.printer, QStringLiteral("Front Desk"));
    QCOMPARE(told.jobId, 13);

    // A look-up that does not answer can be dropped; its late answer is ignored.
    fixture.printers.holds = true;
    fixture.printing.toDefaultPrinter(QuickPrint::page(typicalCheque(), designedCaptions(), {}),
                                      QuickPrint::Confirmation);
    QVERIFY(fixture.printing.canStopSafely());
    fixture.printing.stop();
    QVERIFY(!fixture.printing.isBusy());
    fixture.printers.answer();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(fixture.printers.printer.pages.size(), 2);
    QCOMPARE(fixture.messages.shown.size(), 1);
}

void TestQuickPrint::missingPrinterIsReportedBeforeComposing()
{
    PrintingFixture fixture;
    fixture.printers.failure = QStringLiteral("No default printer is set up, so the check could not be printed. "
                                              "Set up a printer in the system's printer settings and try again.");
    bool composed = false;
    fixture.printing.toDefaultPrinter(
        [&](PrintSurface&) {
            composed = true;
            return std::vector<QuickPrint::Overflow>();
        },
        QuickPrint::Confirmation);
    QVERIFY(!composed);
    QCOMPARE(fixture.failures.reports, QStringList{fixture.printers.failure});
    QVERIFY(fixture.messages.shown.isEmpty());
}

QTEST_MAIN(TestQuickPrint)
#include "tst_quickprint.moc"
