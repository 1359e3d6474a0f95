#include "fakes/DesignedCaptions.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/RecordingPrintSurface.h"
#include "platform/QuilloError.h"
#include "print/QuickPrint.h"

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

// The recording surface's Arial: 10 units a column, 20 a line. MICR: 30 and 50.
QString arial(double x, double y, const QString& text)
{
    return QStringLiteral("draw %1,%2 Arial bold [%3]").arg(x).arg(y).arg(text);
}

QString micr(double x, double y, const QString& text)
{
    return QStringLiteral("draw %1,%2 MICR 013 BT bold [%3]").arg(x).arg(y).arg(text);
}

double col(int n, double width = 10)
{
    return (n - 1) * width;
}

} // namespace

class TestQuickPrint : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typicalChequeOperationsInOrder();
    void emptyChequePrintsOnlyCaptions();
    void wideItemPushesLaterItemsAndLinesDown();
    void trailingSpacesOfValuesAreNotDrawn_data();
    void trailingSpacesOfValuesAreNotDrawn();
    void reopenedChequePrintsTheSamePage();
    void longValuesArePrintedWhole();
    void itemsPastTheEdgeStopThePage_data();
    void itemsPastTheEdgeStopThePage();
    void failureStopsAtThatStep_data();
    void failureStopsAtThatStep();
    void runsAreIndependent();
    void standardPlaceKeepsItsFields();
};

void TestQuickPrint::typicalChequeOperationsInOrder()
{
    RecordingPrintSurface surface;
    FakeMessageBox messages;
    const CheckTexts t = typicalCheque();
    QuickPrint::run(t, designedCaptions(), surface, messages);

    const QStringList expected = {
        QStringLiteral("font Arial"),
        QStringLiteral("size 10"),
        QStringLiteral("bold 1"),
        arial(col(3), 20, t[0]),
        arial(col(60), 20, t[3]),
        arial(col(110), 20, t[5]),
        arial(col(3), 40, t[1]),
        arial(col(60), 40, t[4]),
        arial(col(3), 60, t[2]),
        arial(col(110), 60, t[9]),
        arial(col(5), 100, QStringLiteral("Pay to the Order of")),
        arial(col(28), 100, t[6]),
        arial(col(85), 100, QStringLiteral("Payable in U.S. Funds")),
        arial(col(5), 120, QStringLiteral("In the Amount of")),
        arial(col(28), 120, t[7]),
        arial(col(85), 120, t[8]),
        arial(col(10), 200, QStringLiteral("Memo")),
        arial(col(22), 200, t[13]),
        arial(col(85), 200, QStringLiteral("NO SIGNATURE REQUIRED. ")),
        arial(col(85), 220, QStringLiteral("This is an Authorized")),
        arial(col(85), 240, QStringLiteral("and Requested Transaction.")),
        QStringLiteral("font MICR 013 BT"),
        QStringLiteral("size 16"),
        micr(col(10, 30), 300, t[10]),
        micr(col(25, 30), 300, t[11]),
        micr(col(45, 30), 300, t[12]),
        QStringLiteral("end"),
    };
    QCOMPARE(surface.operations, expected);
    QCOMPARE(messages.shown, QStringList{QStringLiteral("Quillo Has Been Sent To The Printer!")});
}

void TestQuickPrint::emptyChequePrintsOnlyCaptions()
{
    RecordingPrintSurface surface;
    FakeMessageBox messages;
    QuickPrint::run(CheckTexts{}, designedCaptions(), surface, messages);

    const QStringList expected = {
        arial(col(5), 100, QStringLiteral("Pay to the Order of")),
        arial(col(85), 100, QStringLiteral("Payable in U.S. Funds")),
        arial(col(5), 120, QStringLiteral("In the Amount of")),
        arial(col(10), 200, QStringLiteral("Memo")),
        arial(col(85), 200, QStringLiteral("NO SIGNATURE REQUIRED. ")),
        arial(col(85), 220, QStringLiteral("This is an Authorized")),
        arial(col(85), 240, QStringLiteral("and Requested Transaction.")),
        QStringLiteral("end"),
    };
    QCOMPARE(surface.output(), expected);
    QCOMPARE(messages.shown.size(), 1);
}

void TestQuickPrint::wideItemPushesLaterItemsAndLinesDown()
{
    RecordingPrintSurface surface;
    FakeMessageBox messages;
    CheckTexts t = typicalCheque();
    t[0] = QString(58, QLatin1Char('P')); // from column 3 it reaches past column 60
    QuickPrint::run(t, designedCaptions(), surface, messages);

    const QStringList out = surface.output();
    QCOMPARE(out.at(0), arial(col(3), 20, t[0]));
    QCOMPARE(out.at(1), arial(col(60), 40, t[3])); // BankLine1 on the next line, at its column
    QCOMPARE(out.at(2), arial(col(110), 40, t[5]));
    QCOMPARE(out.at(3), arial(col(3), 60, t[1])); // every later line one lower
    QVERIFY(out.contains(arial(col(85), 260, QStringLiteral("and Requested Transaction."))));
    QVERIFY(out.contains(micr(col(10, 30), 320, t[10])));

    // Exactly reaching the column is not past it: nothing moves.
    RecordingPrintSurface exact;
    t[0] = QString(57, QLatin1Char('P'));
    QuickPrint::run(t, designedCaptions(), exact, messages);
    QCOMPARE(exact.output().at(1), arial(col(60), 20, t[3]));
}

void TestQuickPrint::trailingSpacesOfValuesAreNotDrawn_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("drawn"); // null: nothing is drawn

    QTest::newRow("fill spaces") << 11 << fixedWidth(QStringLiteral("A021000021A"), 32)
                                 << QStringLiteral("A021000021A");
    QTest::newRow("leading spaces stay") << 7 << QStringLiteral("  Acme  ") << QStringLiteral("  Acme");
    QTest::newRow("spaces inside stay") << 7 << QStringLiteral("Acme   Supply ") << QStringLiteral("Acme   Supply");
    QTest::newRow("only spaces") << 7 << QString(32, QLatin1Char(' ')) << QString();
    // Only U+0020 is a fill space.
    QTest::newRow("tab and no-break space stay")
        << 7 << QStringLiteral("Acme\t\u00a0") << QStringLiteral("Acme\t\u00a0");
}

void TestQuickPrint::trailingSpacesOfValuesAreNotDrawn()
{
    QFETCH(int, box);
    QFETCH(QString, typed);
    QFETCH(QString, drawn);

    RecordingPrintSurface surface;
    FakeMessageBox messages;
    CheckTexts t;
    t[static_cast<std::size_t>(box - 1)] = typed;
    QuickPrint::run(t, designedCaptions(), surface, messages);

    QStringList expected = RecordingPrintSurface::drawnTexts(surface.operations);
    const QStringList captionsOnly = [] {
        RecordingPrintSurface empty;
        FakeMessageBox quiet;
        QuickPrint::run(CheckTexts{}, designedCaptions(), empty, quiet);
        return RecordingPrintSurface::drawnTexts(empty.operations);
    }();
    if (drawn.isNull())
        QCOMPARE(expected, captionsOnly);
    else
        QVERIFY2(expected.contains(drawn), qPrintable(expected.join(QLatin1Char('|'))));
    // Captions are drawn as they stand, the trailing space of Label9 included.
    QVERIFY(expected.contains(QStringLiteral("NO SIGNATURE REQUIRED. ")));
}

void TestQuickPrint::reopenedChequePrintsTheSamePage()
{
    // Read back from a file, every value carries fill spaces up to 32
    // characters: drawn, they sent the account number and the cheque number
    // of the MICR line down a line each.
    const CheckTexts typed = typicalCheque();
    const CheckTexts reopened = CheckRecord::fromWindow(typed).toWindow();
    RecordingPrintSurface first;
    RecordingPrintSurface second;
    FakeMessageBox messages;
    QuickPrint::run(typed, designedCaptions(), first, messages);
    QuickPrint::run(reopened, designedCaptions(), second, messages);

    QCOMPARE(second.operations, first.operations);
    const QStringList out = second.output();
    QCOMPARE(out.at(out.size() - 4), micr(col(10, 30), 300, typed[10]));
    QCOMPARE(out.at(out.size() - 3), micr(col(25, 30), 300, typed[11]));
    QCOMPARE(out.at(out.size() - 2), micr(col(45, 30), 300, typed[12]));

    // A value that really is too wide still pushes what follows down.
    CheckTexts wide = typed;
    wide[10] = QStringLiteral("A0210000210000021A");
    RecordingPrintSurface pushed;
    QuickPrint::run(wide, designedCaptions(), pushed, messages);
    QCOMPARE(pushed.output().at(pushed.output().size() - 3), micr(col(25, 30), 350, typed[11]));
}

void TestQuickPrint::longValuesArePrintedWhole()
{
    RecordingPrintSurface surface;
    FakeMessageBox messages;
    CheckTexts t;
    t[6] = QStringLiteral("  Northern Plains Hardware and Feed Cooperative");
    QuickPrint::run(t, designedCaptions(), surface, messages);
    QVERIFY(surface.output().contains(arial(col(28), 100, t[6])));
}

void TestQuickPrint::itemsPastTheEdgeStopThePage_data()
{
    QTest::addColumn<double>("pageWidth");
    QTest::addColumn<double>("unitsPerInch");
    QTest::addColumn<CheckTexts>("texts");
    QTest::addColumn<QStringList>("pastTheEdge"); // the message's lines about items; none: the page prints
    QTest::addColumn<QString>("advice");          // the message's last line

    const QString shorterText = QStringLiteral("Use a shorter text.");
    const QString shortDate =
        QStringLiteral("Use a shorter text, and for the date a short form such as \"12/08/2026\".");
    const QString letterPaper =
        QStringLiteral("Use a shorter text, or print on US Letter paper, for which Quillo's layout is designed.");

    // The recording surface: 10 units an Arial character.
    // The MICR line ends at 990 without a cheque number: 720 + 9 characters of 30.
    CheckTexts date = typicalCheque();
    date[12].clear();
    date[9] = QStringLiteral("December 8, 2026"); // column 110: 1090 + 160
    // Printable widths with the quarter-inch side margins of a common driver:
    // Letter 8.00 inches, A4 7.77 inches. Only on A4 does Letter paper help.
    QTest::newRow("date exactly to the edge") << 1250.0 << 150.0 << date << QStringList() << QString();
    QTest::newRow("date on Letter") << 1200.0 << 150.0 << date
                                    << QStringList{QStringLiteral("Date: \"December 8, 2026\" runs 0.33 inch past the "
                                                                  "edge.")}
                                    << shortDate;
    QTest::newRow("date on A4") << 1200.0 << 154.44 << date
                                << QStringList{QStringLiteral("Date: \"December 8, 2026\" runs 0.32 inch past the "
                                                              "edge.")}
                                << letterPaper;
    CheckTexts number = typicalCheque();
    number[12].clear();
    number[5] = QStringLiteral("10011001100110"); // column 110: 1090 + 140
    QTest::newRow("check number on Letter")
        << 1200.0 << 150.0 << number
        << QStringList{QStringLiteral("Check No.: \"10011001100110\" runs 0.20 inch past the edge.")} << shorterText;

    CheckTexts pasted = typicalCheque();
    pasted[13] = QString(59, QLatin1Char('m')) + QStringLiteral(" and more and more and more");
    QTest::newRow("a long text is cut in the message")
        << 1000.0 << 100.0 << pasted
        << QStringList{QStringLiteral("Check No.: \"1001\" runs 1.30 inch past the edge."),
                       QStringLiteral("Date: \"12/07/2026\" runs 1.90 inch past the edge."),
                       QStringLiteral("\"Payable in U.S. Funds\" runs 0.50 inch past the edge."),
                       QStringLiteral("Memo: \"%1\u2026\" runs 0.70 inch past the edge.")
                           .arg(QString(59, QLatin1Char('m'))),
                       QStringLiteral("\"NO SIGNATURE REQUIRED. \" runs 0.70 inch past the edge."),
                       QStringLiteral("\"This is an Authorized\" runs 0.50 inch past the edge."),
                       QStringLiteral("\"and Requested Transaction.\" runs 1.00 inch past the edge."),
                       QStringLiteral("Check No. on the MICR line: \"1001\" runs 4.40 inch past the edge.")}
        << shortDate;
    // In a page 1060 wide: a caption exactly at the edge fits, one past it does not; the
    // pushed cheque number of the MICR line is measured on its own line.
    CheckTexts several = typicalCheque();
    several[11] = QStringLiteral("123456789012345678901234567890123456789C");
    QTest::newRow("captions, values and the MICR line")
        << 1060.0 << 100.0 << several
        << QStringList{QStringLiteral("Check No.: \"1001\" runs 0.70 inch past the edge."),
                       QStringLiteral("Date: \"12/07/2026\" runs 1.30 inch past the edge."),
                       QStringLiteral("\"NO SIGNATURE REQUIRED. \" runs 0.10 inch past the edge."),
                       QStringLiteral("\"and Requested Transaction.\" runs 0.40 inch past the edge."),
                       QStringLiteral("Account No.: \"123456789012345678901234567890123456789C\" runs 8.60 inch past "
                                      "the edge."),
                       QStringLiteral("Check No. on the MICR line: \"1001\" runs 3.80 inch past the edge.")}
        << shortDate;
}

void TestQuickPrint::itemsPastTheEdgeStopThePage()
{
    QFETCH(double, pageWidth);
    QFETCH(double, unitsPerInch);
    QFETCH(CheckTexts, texts);
    QFETCH(QStringList, pastTheEdge);
    QFETCH(QString, advice);

    RecordingPrintSurface surface;
    surface.pageWidth = pageWidth;
    surface.inch = unitsPerInch;
    FakeMessageBox messages;
    if (pastTheEdge.isEmpty()) {
        QuickPrint::run(texts, designedCaptions(), surface, messages);
        QCOMPARE(surface.output().last(), QStringLiteral("end"));
        return;
    }
    try {
        QuickPrint::run(texts, designedCaptions(), surface, messages);
        QFAIL("a page past the edge was printed");
    } catch (const QuilloError& error) {
        const QString expected =
            QStringLiteral("Quillo did not print the check, because part of it would run past the right edge of the "
                           "paper:\n") +
            pastTheEdge.join(QLatin1Char('\n')) + QLatin1Char('\n') + advice;
        QCOMPARE(error.message(), expected);
    }
    // Every item was composed, but the document never ended: nothing reached the printer.
    QVERIFY(!surface.operations.contains(QStringLiteral("end")));
    QVERIFY(messages.shown.isEmpty());
}

void TestQuickPrint::failureStopsAtThatStep_data()
{
    QTest::addColumn<int>("failAt");
    RecordingPrintSurface probe;
    FakeMessageBox messages;
    QuickPrint::run(typicalCheque(), designedCaptions(), probe, messages);
    for (int step = 0; step < probe.steps; ++step)
        QTest::addRow("step %d", step) << step;
}

void TestQuickPrint::failureStopsAtThatStep()
{
    QFETCH(int, failAt);
    RecordingPrintSurface complete;
    FakeMessageBox messages;
    QuickPrint::run(typicalCheque(), designedCaptions(), complete, messages);

    RecordingPrintSurface surface;
    surface.failAtStep = failAt;
    FakeMessageBox failingMessages;
    QVERIFY_THROWS_EXCEPTION(QuilloError,
                             QuickPrint::run(typicalCheque(), designedCaptions(), surface, failingMessages));

    QCOMPARE(surface.steps, failAt + 1); // nothing ran after the failing step
    QVERIFY(failingMessages.shown.isEmpty());
    QVERIFY(!surface.operations.contains(QStringLiteral("end")));
    // What did run is exactly the start of a complete run.
    QCOMPARE(surface.operations, complete.operations.mid(0, surface.operations.size()));
}

void TestQuickPrint::runsAreIndependent()
{
    RecordingPrintSurface surface;
    FakeMessageBox messages;
    QuickPrint::run(typicalCheque(), designedCaptions(), surface, messages);
    const QStringList first = surface.operations;
    surface.operations.clear();
    QuickPrint::run(typicalCheque(), designedCaptions(), surface, messages);
    QCOMPARE(surface.operations, first);
    QCOMPARE(messages.shown.size(), 2);
}

QTEST_GUILESS_MAIN(TestQuickPrint)
#include "tst_quickprint.moc"

void TestQuickPrint::standardPlaceKeepsItsFields()
{
    const PageSetup standard{PageSetup::BankLine::Standard, 0, 0};
    CheckTexts texts = typicalCheque();
    // 19 characters fill the on-us field; one more would reach the routing field.
    texts[11] = QStringLiteral("1234567890123C");
    RecordingPrintSurface fits;
    FakeMessageBox messages;
    QuickPrint::run(texts, designedCaptions(), fits, messages, standard);
    texts[11] = QStringLiteral("12345678901234C");
    RecordingPrintSurface tooLong;
    QVERIFY_THROWS_EXCEPTION(QuilloError, QuickPrint::run(texts, designedCaptions(), tooLong, messages, standard));
    std::vector<QRectF> inClearBand;
    const auto overflows = QuickPrint::compose(texts, designedCaptions(), tooLong, standard, &inClearBand);
    QCOMPARE(QuickPrint::refusal(overflows, 8),
             QStringLiteral("Quillo did not print the check, because part of it would not fit in its place on the "
                            "paper:\nAccount No. and Check No. on the MICR line: \"12345678901234C 1001\" has 20 "
                            "characters; its field on the bank line holds 19.\nUse shorter numbers, or choose \"Where "
                            "the layout puts it\" in File, Page Setup."));
    QVERIFY(!tooLong.operations.contains(QStringLiteral("end")));

    // The lowest line above the bank line ends 2.85 inch down the sheet: in a
    // printable area that begins 1 inch lower, its last three lines (the memo
    // line among them) reach the bottom 5/8 inch of the check, and still print.
    RecordingPrintSurface lowered;
    lowered.origin = QPointF(25, 125);
    QVERIFY(QuickPrint::compose(typicalCheque(), designedCaptions(), lowered, standard, &inClearBand).empty());
    QCOMPARE(inClearBand.size(), 5u);
    QCOMPARE(inClearBand.front(), QRectF(90, 200, 40, 20));
    QCOMPARE(inClearBand.back(), QRectF(840, 240, 260, 20));
    RecordingPrintSurface letter;
    QuickPrint::compose(typicalCheque(), designedCaptions(), letter, standard, &inClearBand);
    QVERIFY(inClearBand.empty());
}
