#include "fakes/DesignedCaptions.h"
#include "fakes/FakeFailureReporter.h"
#include "fakes/FakeIppService.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/FakePrintDestination.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/PageItems.h"
#include "print/AlignmentPage.h"
#include "print/ConfirmationLetter.h"
#include "print/LetterPrinters.h"
#include "print/PrintedPage.h"
#include "print/Printing.h"
#include "print/QuickPrint.h"
#include "register/UncertainPrints.h"
#include "register/UncertainSettler.h"
#include "system/SystemPrintJobStates.h"
#include "system/SystemPrinterFinder.h"
#include "system/qt/Fonts.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(CheckTexts)
Q_DECLARE_METATYPE(PageSetup)
using IppScript = QMap<quint16, FakeIppService::Answer>;
Q_DECLARE_METATYPE(IppScript)
Q_DECLARE_METATYPE(PrintOutcome::Kind)

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

// The register's uncertain prints: one, job 31 on FILEPDF, and what the look-up recorded.
struct OneUncertainPrint : UncertainPrints {
    std::vector<UncertainPrint> uncertainPrints() override { return {{7, QStringLiteral("FILEPDF"), "31"}}; }
    void recordLookUp(const UncertainPrint& print, bool printed, const QString& jobState) override
    {
        recorded << QStringLiteral("%1 %2: %3").arg(print.draft).arg(printed ? "printed" : "not printed", jobState);
    }
    QStringList recorded;
};

} // namespace

class TestQuickPrint : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
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
    void remotelyCreatedCodeStandsLeftOfTheRoutingNumber_data();
    void remotelyCreatedCodeStandsLeftOfTheRoutingNumber();
    void alignmentPageStaysInsideClearOfItsTicks_data();
    void alignmentPageStaysInsideClearOfItsTicks();
    void printedPageIsConfirmedOnceTheDestinationTookIt();
    void waitingForTheAnswerKeepsTheCommandBusy();
    void missingPrinterIsReportedBeforeComposing();
    void confirmationLetterReadsAsALetter_data();
    void confirmationLetterReadsAsALetter();
    void letterOutcomesSpeakOfTheLetter_data();
    void letterOutcomesSpeakOfTheLetter();
    void printServiceAnswersDecideTheOutcome_data();
    void printServiceAnswersDecideTheOutcome();
    void aLaterLookUpSettlesByTheJobsState_data();
    void aLaterLookUpSettlesByTheJobsState();

private:
    // One for the whole run: the threads that talk to the print service keep its address.
    std::unique_ptr<FakeIppService> m_service;
};

void TestQuickPrint::initTestCase()
{
    Fonts::install();
    m_service = std::make_unique<FakeIppService>();
    qputenv("CUPS_SERVER", m_service->address().toLatin1());
    qputenv("PRINTER", "FILEPDF");
}

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
    QTest::addColumn<double>("bottomMargin"); // points
    QTest::addColumn<int>("right");           // the page setup's offsets, hundredths of an inch
    QTest::addColumn<int>("down");
    QTest::addColumn<CheckTexts>("texts");
    QTest::addColumn<QString>("refusal"); // empty: the page prints

    const auto row = [](const char* name, QPageSize::PageSizeId paper, int right, int down, const CheckTexts& texts,
                        const QString& refusal, double bottomMargin = 36) {
        QTest::newRow(name) << int(paper) << bottomMargin << right << down << texts << refusal;
    };
    const QString start = QStringLiteral("Quillo did not print the check, because part of it would run past the ");
    // Column 110 begins 8711.3 units (7.26 inches) into the printable area,
    // which is 8.00 inches wide on Letter and 7.77 inches on A4.
    CheckTexts date = typicalCheque();
    date[Box::CheckDate] = QStringLiteral("12/08/2026");
    row("short date on Letter", QPageSize::Letter, 0, 0, date, {});
    row("short date on A4", QPageSize::A4, 0, 0, date,
        start + "right edge of the paper:\nDate: \"12/08/2026\" runs 0.19 inch past the right edge.\nUse a shorter "
                "text, or print on US Letter paper, for which Quillo's layout is designed.");
    // On Letter the short date keeps 0.04 inch at the right edge.
    row("right edge, just inside", QPageSize::Letter, 4, 0, date, {});
    row("right edge, just outside", QPageSize::Letter, 5, 0, date,
        start + "right edge of the paper:\nDate: \"12/08/2026\" runs 0.01 inch past the right edge with the page "
                "moved 0.05 inch right in Page Setup.\nMake the offset smaller, or use a shorter text.");
    // Column 3 begins 0.13 inch in from the left edge.
    row("left edge, just inside", QPageSize::Letter, -13, 0, date, {});
    row("left edge, just outside", QPageSize::Letter, -14, 0, date,
        start + "left edge of the paper:\n"
                "Payor Name and Address, line 1: \"Jane Doe\" runs 0.01 inch past the left edge with the page moved "
                "0.14 inch left in Page Setup.\n"
                "Payor Name and Address, line 2: \"12 Elm St\" runs 0.01 inch past the left edge with the page moved "
                "0.14 inch left in Page Setup.\n"
                "Payor Name and Address, line 3: \"Springfield\" runs 0.01 inch past the left edge with the page moved "
                "0.14 inch left in Page Setup.\n"
                "Make the offset smaller.");
    // The second line, the first that prints, begins 0.16 inch down.
    row("top edge, just inside", QPageSize::Letter, 0, -16, date, {});
    row("top edge, just outside", QPageSize::Letter, 0, -17, date,
        start + "top edge of the paper:\n"
                "Payor Name and Address, line 1: \"Jane Doe\" runs 0.01 inch past the top edge with the page moved "
                "0.17 inch up in Page Setup.\n"
                "Bank Name and Address, line 1: \"First Bank\" runs 0.01 inch past the top edge with the page moved "
                "0.17 inch up in Page Setup.\n"
                "Check No.: \"1001\" runs 0.01 inch past the top edge with the page moved 0.17 inch up in Page Setup.\n"
                "Make the offset smaller.");
    // A printable area 2.75 inch high, as under a bottom margin of 7.75
    // inch: the bank line ends 2.62 inch down.
    row("bottom edge, just inside", QPageSize::Letter, 0, 12, date, {}, 558);
    row("bottom edge, just outside", QPageSize::Letter, 0, 13, date,
        start + "bottom edge of the paper:\n"
                "9 Digit Routing No.: \"A021000021A\" runs 0.01 inch past the bottom edge with the page moved 0.13 "
                "inch down in Page Setup.\n"
                "Account No.: \"12345678C\" runs 0.01 inch past the bottom edge with the page moved 0.13 inch down in "
                "Page Setup.\n"
                "Check No. on the MICR line: \"1001\" runs 0.01 inch past the bottom edge with the page moved 0.13 "
                "inch down in Page Setup.\n"
                "Make the offset smaller.",
        558);
    CheckTexts pushed = date;
    pushed[Box::PayorLine1] = QString(41, QLatin1Char('P'));
    row("bottom edge, lines pushed down", QPageSize::Letter, 0, 0, pushed,
        start + "bottom edge of the paper:\n"
                "9 Digit Routing No.: \"A021000021A\" runs 0.03 inch past the bottom edge.\n"
                "Account No.: \"12345678C\" runs 0.03 inch past the bottom edge.\n"
                "Check No. on the MICR line: \"1001\" runs 0.03 inch past the bottom edge.\n"
                "Use shorter texts above the bank line (a text that runs into the next item's place pushes the lines "
                "below it down), or print on taller paper.",
        558);

    CheckTexts longDate = typicalCheque();
    longDate[Box::CheckDate] = QStringLiteral("December 8, 2026");
    row("long date on Letter", QPageSize::Letter, 0, 0, longDate,
        start + "right edge of the paper:\nDate: \"December 8, 2026\" runs 0.44 inch past the right edge.\nUse a "
                "shorter text, and for the date a short form such as \"12/08/2026\".");
    // The offset makes it worse, and is named, but a smaller one does not help.
    row("long date, moved right", QPageSize::Letter, 5, 0, longDate,
        start + "right edge of the paper:\nDate: \"December 8, 2026\" runs 0.49 inch past the right edge with the "
                "page moved 0.05 inch right in Page Setup.\nUse a shorter text, and for the date a short form such "
                "as \"12/08/2026\".");
    // Moved left, the long date fits; an item past two edges is named for each.
    const QString movedLeft = QStringLiteral(" with the page moved 0.50 inch left in Page Setup.\n");
    const QString movedUp = QStringLiteral(" with the page moved 0.50 inch up in Page Setup.\n");
    row("long date, moved left and up", QPageSize::Letter, -50, -50, longDate,
        start + "left and top edges of the paper:\n" +
            "Payor Name and Address, line 1: \"Jane Doe\" runs 0.37 inch past the left edge" + movedLeft +
            "Payor Name and Address, line 1: \"Jane Doe\" runs 0.34 inch past the top edge" + movedUp +
            "Bank Name and Address, line 1: \"First Bank\" runs 0.34 inch past the top edge" + movedUp +
            "Check No.: \"1001\" runs 0.34 inch past the top edge" + movedUp +
            "Payor Name and Address, line 2: \"12 Elm St\" runs 0.37 inch past the left edge" + movedLeft +
            "Payor Name and Address, line 2: \"12 Elm St\" runs 0.18 inch past the top edge" + movedUp +
            "Bank Name and Address, line 2: \"Main Branch\" runs 0.18 inch past the top edge" + movedUp +
            "Payor Name and Address, line 3: \"Springfield\" runs 0.37 inch past the left edge" + movedLeft +
            "Payor Name and Address, line 3: \"Springfield\" runs 0.02 inch past the top edge" + movedUp +
            "Date: \"December 8, 2026\" runs 0.02 inch past the top edge" + movedUp +
            "\"Pay to the Order of\" runs 0.23 inch past the left edge" + movedLeft +
            "\"In the Amount of\" runs 0.23 inch past the left edge" + movedLeft + "Make the offset smaller.");
    CheckTexts number = typicalCheque();
    number[Box::CheckNumber] = QStringLiteral("10011001100110");
    row("check number on Letter", QPageSize::Letter, 0, 0, number,
        start + "right edge of the paper:\nCheck No.: \"10011001100110\" runs 0.34 inch past the right edge.\nUse a "
                "shorter text.");

    CheckTexts pasted = typicalCheque();
    pasted[Box::Memo] = QString(59, QLatin1Char('m')) + QStringLiteral(" and more and more and more");
    row("a long text is cut in the message", QPageSize::Letter, 0, 0, pasted,
        start + QStringLiteral("right edge of the paper:\nMemo: \"%1\u2026\" runs 2.69 inch past the right edge.\nUse "
                               "a shorter text.")
                    .arg(QString(59, QLatin1Char('m'))));
}

void TestQuickPrint::itemsPastTheEdgeStopThePage()
{
    QFETCH(int, paper);
    QFETCH(double, bottomMargin);
    QFETCH(int, right);
    QFETCH(int, down);
    QFETCH(CheckTexts, texts);
    QFETCH(QString, refusal);

    PrintingFixture fixture;
    fixture.printers.printer.layout =
        QPageLayout(QPageSize(static_cast<QPageSize::PageSizeId>(paper)), QPageLayout::Portrait,
                    QMarginsF(18, 36, 18, bottomMargin), QPageLayout::Point);
    const PageSetup setup{PageSetup::BankLine::Layout, right, down};
    fixture.printing.toDefaultPrinter(QuickPrint::page(texts, designedCaptions(), setup), QuickPrint::Confirmation);
    if (refusal.isEmpty()) {
        QCOMPARE(fixture.failures.reports, QStringList());
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

void TestQuickPrint::remotelyCreatedCodeStandsLeftOfTheRoutingNumber_data()
{
    QTest::addColumn<bool>("standard");
    QTest::addColumn<bool>("code");
    QTest::addColumn<QString>("routing");
    QTest::addColumn<QStringList>("bankLine"); // the page's last items

    const QString account = QStringLiteral("12345678C");
    const QString number = QStringLiteral("1001");
    const auto row = [](const char* name, bool standard, bool code, const QString& routing,
                        const QStringList& bankLine) {
        QTest::newRow(name) << standard << code << routing << bankLine;
    };
    row("by columns, off", false, false, "A021000021A", {micr(10, "A021000021A"), micr(25, account), micr(45, number)});
    row("by columns, on", false, true, "A021000021A",
        {micr(9, "6"), micr(10, "A021000021A"), micr(25, account), micr(45, number)});
    // Spaces before the transit symbol are two MICR characters wide.
    row("by columns, spaces before the symbol", false, true, "  A021000021A",
        {micr(11, "6"), micr(10, "  A021000021A"), micr(25, account), micr(45, number)});
    // Without a symbol first, the code never covers a digit.
    row("by columns, no transit symbol first", false, true, "021000021A",
        {micr(9, "6"), micr(10, "021000021A"), micr(25, account), micr(45, number)});
    // Baselines 3.25 inch down the sheet, 3300 units into a printable area
    // half an inch down; each text is 150.1875 units a character and ends
    // where its last position begins, counted from the right edge of 8.5
    // inches: the code in position 44 at 2.8125 inch from the left edge (3375
    // units, less the quarter-inch margin of 300), the routing number in 33 at
    // 4.1875 inch (5025), the check number in 14 at 6.5625 inch (7875) and the
    // account number in 19 at 5.9375 inch (7125).
    const QStringList standardLine = {"MICR 013 BT 16 bold 3072.9,3300.0 A021000021A",
                                      "MICR 013 BT 16 bold 6974.3,3300.0 1001",
                                      "MICR 013 BT 16 bold 5473.3,3300.0 12345678C"};
    row("standard place, off", true, false, "A021000021A", standardLine);
    row("standard place, on", true, true, "A021000021A",
        QStringList{"MICR 013 BT 16 bold 2924.8,3300.0 6"} + standardLine);
}

void TestQuickPrint::remotelyCreatedCodeStandsLeftOfTheRoutingNumber()
{
    QFETCH(bool, standard);
    QFETCH(bool, code);
    QFETCH(QString, routing);
    QFETCH(QStringList, bankLine);
    CheckTexts texts = typicalCheque();
    texts[Box::RoutingNumber] = routing;
    const PageSetup setup{standard ? PageSetup::BankLine::Standard : PageSetup::BankLine::Layout, 0, 0, code};
    const Printing::Composed page = composed(texts, setup);
    QVERIFY(page.overflows.empty());
    QCOMPARE(PageItems::of(page.page).mid(18), bankLine);
}

void TestQuickPrint::alignmentPageStaysInsideClearOfItsTicks_data()
{
    QTest::addColumn<PageSetup>("setup");
    QTest::addColumn<QString>("code"); // the code's item; empty: not printed
    QTest::newRow("in place") << PageSetup{} << QString();
    // The code's cell is position 44, as Quick Print places it; moved with the page.
    QTest::newRow("moved right and down, with the code") << PageSetup{PageSetup::BankLine::Standard, 50, 50, true}
                                                         << QStringLiteral("MICR 013 BT 16 bold 3524.8,3900.0 6");
    QTest::newRow("moved left and up, with the code") << PageSetup{PageSetup::BankLine::Standard, -50, -50, true}
                                                      << QStringLiteral("MICR 013 BT 16 bold 2324.8,2700.0 6");
}

void TestQuickPrint::alignmentPageStaysInsideClearOfItsTicks()
{
    QFETCH(PageSetup, setup);
    QFETCH(QString, code);
    const Printing::Composed composed = Printing::compose(letter(), [&](PrintSurface& surface) {
        AlignmentPage::compose(surface, setup);
        return std::vector<QuickPrint::Overflow>();
    });
    const PrintedPage& page = composed.page;
    // Letter less a quarter inch at the sides and half an inch at the top and bottom.
    const QRectF printable(0, 0, 9600, 12000);
    for (const QLineF& line : page.lines())
        QVERIFY2(printable.contains(line.p1()) && printable.contains(line.p2()),
                 qPrintable(QStringLiteral("%1,%2-%3,%4").arg(line.x1()).arg(line.y1()).arg(line.x2()).arg(line.y2())));

    QBuffer scratch;
    QPdfWriter measure(&scratch);
    measure.setResolution(1200);
    QStringList texts;
    for (const PrintedPage::Text& text : page.texts()) {
        texts << text.text;
        const QFontMetricsF metrics(text.font, &measure);
        const QRectF box(text.baseline - QPointF(0, metrics.ascent()),
                         QSizeF(metrics.horizontalAdvance(text.text), metrics.ascent() + metrics.descent()));
        QVERIFY2(printable.contains(box), qPrintable(text.text));
        // The code stands between the ticks of its position, in the bank line's band.
        if (text.font.family() == QuickPrint::MicrFont)
            continue;
        for (const QLineF& line : page.lines()) {
            const bool across = line.y1() == line.y2();
            const bool crosses = across ? line.y1() > box.top() && line.y1() < box.bottom() &&
                                              std::min(line.x1(), line.x2()) < box.right() &&
                                              std::max(line.x1(), line.x2()) > box.left()
                                        : line.x1() > box.left() && line.x1() < box.right() &&
                                              std::min(line.y1(), line.y2()) < box.bottom() &&
                                              std::max(line.y1(), line.y2()) > box.top();
            QVERIFY2(!crosses, qPrintable(QStringLiteral("\"%1\" is crossed by %2,%3-%4,%5")
                                              .arg(text.text)
                                              .arg(line.x1())
                                              .arg(line.y1())
                                              .arg(line.x2())
                                              .arg(line.y2())));
        }
    }
    // The ticks that begin and end positions 1, 13, 14, 32, 33, 43 and 44, in
    // inches from the sheet's right edge (position n spans 5/16 + (n - 1)/8 to
    // 5/16 + n/8): every vertical line that reaches down to the bank line's
    // band, 3 5/16 inch down the sheet.
    QStringList ticks;
    const double bandBottom = (3.3125 - 0.5 + setup.offsetDown / 100.0) * 1200;
    for (const QLineF& line : page.lines()) {
        if (line.x1() == line.x2() && qAbs(std::max(line.y1(), line.y2()) - bandBottom) < 0.5) {
            const double fromRight = (10200 - 300 - line.x1()) / 1200 + setup.offsetRight / 100.0;
            ticks << QString::number(fromRight, 'f', 4);
        }
    }
    ticks.removeDuplicates();
    ticks.sort();
    // Moved half an inch right, position 1 lies past the printable area and is left out.
    QStringList expected{"0.3125", "0.4375", "1.8125", "1.9375", "2.0625", "4.1875",
                         "4.3125", "4.4375", "5.5625", "5.6875", "5.8125"};
    if (setup.offsetRight > 0)
        expected = expected.mid(2);
    QCOMPARE(ticks, expected);
    QVERIFY(texts.contains(QStringLiteral("Clear band: 5/8 in")));
    QVERIFY(texts.contains(QStringLiteral("Bank line: 3/16 to 7/16 in above the edge")));
    QVERIFY(texts.contains(QStringLiteral("1 to 12: amount, left blank for the bank.  13: blank.  14 to 32: on-us "
                                          "field, account and check number.  33 to 43: routing number.")));
    QCOMPARE(texts.contains(QStringLiteral("44: external processing code, here the 6 of a remotely created check.")),
             !code.isEmpty());
    const QStringList codes = PageItems::of(page).filter(QStringLiteral("MICR"));
    QCOMPARE(codes, code.isEmpty() ? QStringList() : QStringList{code});
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

void TestQuickPrint::confirmationLetterReadsAsALetter_data()
{
    QTest::addColumn<QString>("payor");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<int>("drafts");
    QTest::addColumn<QString>("greeting");
    QTest::addColumn<QString>("authorized");
    QTest::addColumn<QString>("count");

    const QString authorized = QStringLiteral("On December 1, 2026 you authorized Sunrise Garden Supply to draw a "
                                              "check on your account ending in 6789 at First Prairie Bank for %1 "
                                              "payable to Acme Supplies LLC, dated 12/01/2026, check number 1042.");
    QTest::newRow("one draft, typed without its sign")
        << "Maria L. Gonzalez"
        << "247.50" << 1 << "Dear Maria L. Gonzalez," << authorized.arg("$247.50")
        << "Your authorization covers one draft.";
    QTest::newRow("two drafts, thousands") << "Maria L. Gonzalez"
                                           << "1234.56" << 2 << "Dear Maria L. Gonzalez," << authorized.arg("$1,234.56")
                                           << "Your authorization covers two drafts.";
    QTest::newRow("twelve drafts, no payor name")
        << ""
        << "$75" << 12 << "Dear customer," << authorized.arg("$75.00") << "Your authorization covers twelve drafts.";
    QTest::newRow("an amount that does not read as one is kept as typed")
        << "Maria L. Gonzalez"
        << "75 dollars" << 1 << "Dear Maria L. Gonzalez," << authorized.arg("75 dollars")
        << "Your authorization covers one draft.";
}

void TestQuickPrint::confirmationLetterReadsAsALetter()
{
    QFETCH(QString, payor);
    QFETCH(QString, amount);
    QFETCH(int, drafts);
    QFETCH(QString, greeting);
    QFETCH(QString, authorized);
    QFETCH(QString, count);

    ConfirmationLetter::Facts facts;
    facts.merchant.name = QStringLiteral("Sunrise Garden Supply");
    facts.merchant.phone = QStringLiteral("(217) 555-0100");
    facts.merchant.refundProcedure = QStringLiteral("Call us within 30 days.");
    facts.draft = typicalCheque();
    facts.draft[Box::PayorLine1] = payor;
    facts.draft[Box::PayorLine2] = QString();
    facts.draft[Box::PayorLine3] = QString();
    facts.draft[Box::BankLine1] = QStringLiteral("First Prairie Bank");
    facts.draft[Box::Payee] = QStringLiteral("Acme Supplies LLC");
    facts.draft[Box::AmountInFigures] = amount;
    facts.draft[Box::CheckDate] = QStringLiteral("12/01/2026");
    facts.draft[Box::CheckNumber] = QStringLiteral("1042");
    facts.accountLastFour = QStringLiteral("6789");
    facts.authorization.authorizedAt = QDateTime(QDate(2026, 12, 1), QTime(14, 5));
    facts.authorization.drafts = drafts;
    facts.date = QDate(2026, 12, 8);

    QStringList expected = {"Sunrise Garden Supply", "(217) 555-0100", "", "December 8, 2026", ""};
    if (!payor.isEmpty())
        expected << payor;
    expected << ""
             << "Confirmation of your authorization"
             << "" << greeting << "" << authorized << "" << count << ""
             << "If you have any questions about this check, call us at (217) 555-0100."
             << ""
             << "Refund procedure: Call us within 30 days."
             << ""
             << "Sincerely,"
             << "Sunrise Garden Supply";
    QCOMPARE(ConfirmationLetter::lines(facts), expected);
}

void TestQuickPrint::letterOutcomesSpeakOfTheLetter_data()
{
    QTest::addColumn<QString>("outcome"); // printed, not-printed, uncertain, no-printer
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("failure");

    QTest::newRow("printed") << "printed"
                             << "The confirmation letter has been sent to the printer."
                             << "";
    QTest::newRow("not printed") << "not-printed"
                                 << ""
                                 << "The confirmation letter was not printed on \"Front Desk\". Check the printer, "
                                    "then print the letter again.";
    QTest::newRow("uncertain") << "uncertain"
                               << ""
                               << "Quillo could not find out whether the confirmation letter was printed on \"Front "
                                  "Desk\" (job 13). Look at the printer before printing the letter again.";
    QTest::newRow("no default printer") << "no-printer"
                                        << ""
                                        << "No default printer was found, so the confirmation letter was not printed. "
                                           "Set up a printer in the system's printer settings, then print the letter "
                                           "again.";
}

void TestQuickPrint::letterOutcomesSpeakOfTheLetter()
{
    QFETCH(QString, outcome);
    QFETCH(QString, confirmation);
    QFETCH(QString, failure);

    FakePrinterFinder service;
    LetterPrinters printers(service);
    FakeMessageBox messages;
    FakeFailureReporter failures;
    Printing printing(printers, messages, failures);
    // The print service's words, which speak of the check.
    if (outcome == QLatin1String("no-printer"))
        service.failure = QStringLiteral("No default printer is set up, so the check could not be printed.");
    service.printer.holds = true;
    QSignalSpy finished(&printing, &Printing::finished);
    printing.toDefaultPrinter([](PrintSurface&) { return std::vector<QuickPrint::Overflow>(); },
                              QStringLiteral("The confirmation letter has been sent to the printer."));
    if (outcome == QLatin1String("printed"))
        service.printer.answer(PrintOutcome::confirmed(QStringLiteral("Front Desk"), 12));
    else if (outcome == QLatin1String("not-printed"))
        service.printer.answer(PrintOutcome::notPrinted(
            QStringLiteral("The printer \"Front Desk\" did not take the check, so it was not printed."),
            QStringLiteral("Front Desk")));
    else if (outcome == QLatin1String("uncertain"))
        service.printer.answer(PrintOutcome::uncertain(
            QStringLiteral("Quillo could not find out whether the check was printed. Before printing it again, look "
                           "at the print queue, so that the customer's account is not drawn twice."),
            QStringLiteral("Front Desk"), 13));
    QTRY_VERIFY(!printing.isBusy());
    QCOMPARE(messages.shown, confirmation.isEmpty() ? QStringList() : QStringList{confirmation});
    QCOMPARE(failures.reports, failure.isEmpty() ? QStringList() : QStringList{failure});
}

void TestQuickPrint::printServiceAnswersDecideTheOutcome_data()
{
    using Ipp = FakeIppService;
    QTest::addColumn<IppScript>("script");
    QTest::addColumn<PrintOutcome::Kind>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("requests");

    const QString notTaken = QStringLiteral(
        "The printer \"FILEPDF\" did not take the check, so it was not printed. Check the printer and try again.");
    const QString said = QStringLiteral(" The print service's own words: \"The document is not a PDF.\"");
    const QString refused = notTaken + said;
    const Ipp::Answer created{0, {}, 906, 0};
    const Ipp::Answer notAPdf{0x040A, QStringLiteral("The document is not a PDF."), 0, 0};
    const Ipp::Answer cancelRefused{0x0404, {}, 0, 0};
    const QStringList cancelThenState{"Get-Printer-Attributes", "Create-Job", "Send-Document 906", "Cancel-Job 906",
                                      "Get-Job-Attributes 906"};
    const QStringList stateThenCancel{"Get-Printer-Attributes", "Create-Job", "Send-Document 906",
                                      "Get-Job-Attributes 906", "Cancel-Job 906"};

    QTest::newRow("taken, processing") << IppScript{{Ipp::CreateJob, created},
                                                    {Ipp::GetJobAttributes, {0, {}, 0, Ipp::Processing}}}
                                       << PrintOutcome::Kind::Printed << QString()
                                       << QStringList{"Get-Printer-Attributes", "Create-Job", "Send-Document 906",
                                                      "Get-Job-Attributes 906"};
    QTest::newRow("taken, then aborted") << IppScript{{Ipp::CreateJob, created},
                                                      {Ipp::GetJobAttributes, {0, {}, 0, Ipp::Aborted}}}
                                         << PrintOutcome::Kind::NotPrinted << notTaken << stateThenCancel;
    // A cancel the service refuses, as it does for a job that has ended: the job's state says how.
    QTest::newRow("refused, cancel refused, aborted") << IppScript{{Ipp::CreateJob, created},
                                                                   {Ipp::SendDocument, notAPdf},
                                                                   {Ipp::CancelJob, cancelRefused},
                                                                   {Ipp::GetJobAttributes, {0, {}, 0, Ipp::Aborted}}}
                                                      << PrintOutcome::Kind::NotPrinted << refused << cancelThenState;
    QTest::newRow("refused, cancel refused, canceled") << IppScript{{Ipp::CreateJob, created},
                                                                    {Ipp::SendDocument, notAPdf},
                                                                    {Ipp::CancelJob, cancelRefused},
                                                                    {Ipp::GetJobAttributes, {0, {}, 0, Ipp::Canceled}}}
                                                       << PrintOutcome::Kind::NotPrinted << refused << cancelThenState;
    QTest::newRow("refused, cancel refused, still processing")
        << IppScript{{Ipp::CreateJob, created},
                     {Ipp::SendDocument, notAPdf},
                     {Ipp::CancelJob, cancelRefused},
                     {Ipp::GetJobAttributes, {0, {}, 0, Ipp::Processing}}}
        << PrintOutcome::Kind::Uncertain
        << QStringLiteral("Quillo could not find out whether the check was printed: the printer did not take the "
                          "check, and Quillo could not cancel the job: the print service did not cancel the job. "
                          "Before printing it again, look at the print queue of \"FILEPDF\" (job 906), so that the "
                          "customer's account is not drawn twice.") +
               said
        << cancelThenState;
}

void TestQuickPrint::printServiceAnswersDecideTheOutcome()
{
    QFETCH(IppScript, script);
    QFETCH(PrintOutcome::Kind, kind);
    QFETCH(QString, message);
    QFETCH(QStringList, requests);
    m_service->script = script;
    m_service->requests.clear();

    SystemPrinterFinder finder;
    const QFuture<FoundPrinter> found = finder.findDefault();
    QTRY_VERIFY_WITH_TIMEOUT(found.isFinished(), 60000);
    const std::shared_ptr<PrintDestination> printer = found.result().printer;
    QVERIFY2(printer, qPrintable(found.result().failure));
    QCOMPARE(printer->name(), QStringLiteral("FILEPDF"));
    const QFuture<PrintOutcome> outcome = printer->print(composed(typicalCheque(), {}, printer->pageLayout()).page);
    QTRY_VERIFY_WITH_TIMEOUT(outcome.isFinished(), 60000);

    QCOMPARE(outcome.result().kind, kind);
    QCOMPARE(outcome.result().message, message);
    QCOMPARE(outcome.result().printer, QStringLiteral("FILEPDF"));
    QCOMPARE(outcome.result().jobId, 906);
    QCOMPARE(m_service->requests, requests);
}

void TestQuickPrint::aLaterLookUpSettlesByTheJobsState_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("state");
    QTest::addColumn<QStringList>("recorded");

    using Ipp = FakeIppService;
    // Still on its way, it may print yet: asked again later.
    QTest::newRow("pending") << 0 << int(Ipp::Pending) << QStringList();
    QTest::newRow("held") << 0 << int(Ipp::Held) << QStringList();
    QTest::newRow("processing") << 0 << int(Ipp::Processing) << QStringList();
    QTest::newRow("stopped") << 0 << int(Ipp::Stopped) << QStringList();
    QTest::newRow("canceled") << 0 << int(Ipp::Canceled) << QStringList{"7 not printed: canceled"};
    QTest::newRow("aborted") << 0 << int(Ipp::Aborted) << QStringList{"7 not printed: aborted"};
    QTest::newRow("completed") << 0 << int(Ipp::Completed) << QStringList{"7 printed: completed"};
    QTest::newRow("no state said") << 0 << 0 << QStringList();
    QTest::newRow("job not found") << 0x0406 << int(Ipp::Aborted) << QStringList();
}

void TestQuickPrint::aLaterLookUpSettlesByTheJobsState()
{
    QFETCH(int, status);
    QFETCH(int, state);
    QFETCH(QStringList, recorded);
    m_service->script = {{FakeIppService::GetJobAttributes, {quint16(status), {}, 0, state}}};
    m_service->requests.clear();

    OneUncertainPrint prints;
    SystemPrintJobStates states;
    UncertainSettler settler([&]() -> UncertainPrints& { return prints; }, states);
    QSignalSpy settled(&settler, &UncertainSettler::settled);
    settler.settle();
    QTRY_COMPARE_WITH_TIMEOUT(settled.count(), 1, 60000);
    QCOMPARE(prints.recorded, recorded);
    QCOMPARE(m_service->requests, QStringList{"Get-Job-Attributes 31"});
}

QTEST_MAIN(TestQuickPrint)
#include "tst_quickprint.moc"
