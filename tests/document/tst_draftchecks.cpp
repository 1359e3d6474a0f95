#include "document/DraftChecks.h"

#include <QtTest>

class TestDraftChecks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void draftChecksMarkWhatABankWouldReturn_data();
    void draftChecksMarkWhatABankWouldReturn();
};

void TestDraftChecks::draftChecksMarkWhatABankWouldReturn_data()
{
    // Changes to a cheque that passes every check ("box=text"), and the
    // reasons expected ("box=reason"); every other box has none.
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QStringList>("reasons");
    const auto row = [](const char* name, const QStringList& changes, const QStringList& reasons) {
        QTest::newRow(name) << changes << reasons;
    };
    row("passes", {}, {});
    row("spaces in the bank line, trailing spaces", {"11= A 021000021 A  ", "12=123456789C   ", "9=$247.50  "}, {});
    row("empty boxes are not checked", {"6=", "11=", "12=", "13=", "8=", "9="}, {});
    row("wrong check digit", {"11=A021000020A"},
        {"11=The check digit should be 1 for 02100002_: the routing number is probably mistyped."});
    // Each range of first two digits, from both sides of its edges.
    row("prefix 00", {"11=A000000000A"}, {});
    row("prefix 12", {"11=A120000003A"}, {});
    row("prefix 21", {"11=A210000007A"}, {});
    row("prefix 32", {"11=A320000007A"}, {});
    row("prefix 61", {"11=A610000005A"}, {});
    row("prefix 72", {"11=A720000005A"}, {});
    row("prefix 80", {"11=A800000006A"}, {});
    row("prefix 13", {"11=A130000006A"},
        {"11=No routing number begins with 13: the first two digits lie in 00–12, 21–32, 61–72 or 80."});
    row("prefix 20", {"11=A200000004A"},
        {"11=No routing number begins with 20: the first two digits lie in 00–12, 21–32, 61–72 or 80."});
    row("prefix 33", {"11=A330000000A"},
        {"11=No routing number begins with 33: the first two digits lie in 00–12, 21–32, 61–72 or 80."});
    row("prefix 60", {"11=A600000002A"},
        {"11=No routing number begins with 60: the first two digits lie in 00–12, 21–32, 61–72 or 80."});
    row("prefix 73", {"11=A730000008A"},
        {"11=No routing number begins with 73: the first two digits lie in 00–12, 21–32, 61–72 or 80."});
    row("prefix 79", {"11=A790000006A"},
        {"11=No routing number begins with 79: the first two digits lie in 00–12, 21–32, 61–72 or 80."});
    row("prefix 81", {"11=A810000009A"},
        {"11=No routing number begins with 81: the first two digits lie in 00–12, 21–32, 61–72 or 80."});
    row("eight digits", {"11=A02100002A"},
        {"11=The routing number has 8 digits: it should have nine, between two transit symbols, as in "
         "A021000021A."});
    row("no transit symbols", {"11=021000021"},
        {"11=The routing number should stand between two transit symbols, as in A021000021A."});
    row("letter O", {"12=12345O789C"}, {"12=\"O\" (6th character) is not a MICR character. Did you mean the digit 0?"});
    row("dash and hash", {"13=10-42#", "11=A021000021Ax"},
        {"13=\"-\" (3rd character) is not a MICR character. Did you mean the dash symbol D? \"#\" (6th character) "
         "is not a MICR character. Did you mean the on-us symbol C?",
         "11=\"x\" (12th character) is not a MICR character."});
    row("no on-us symbol", {"12=123456789"},
        {"12=The account number should carry the on-us symbol C, as in 123456789C."});
    row("check numbers differ", {"13=1043"},
        {"6=The check number, 1042, differs from the one on the bank line, 1043.",
         "13=The check number on the bank line, 1043, differs from the one at the top, 1042."});
    row("check numbers agree past zeros and symbols", {"6=No. 1042", "13=C001042C"}, {});
    // Compared only when both are there.
    row("no check number on the bank line", {"13="}, {});
    row("no check number at the top", {"6="}, {});
    row("words and figures differ", {"8=Two hundred forty-seven and 05/100"},
        {"8=The amount in words, $247.05, differs from the amount in figures, $247.50.",
         "9=The amount in words, $247.05, differs from the amount in figures, $247.50."});
    row("words unreadable", {"8=Two hundred forty-seven and fifty cents"},
        {"8=The amount in words could not be read as an amount, such as \"Two hundred forty-seven and 50/100\"."});
    row("figures unreadable", {"9=247,50"}, {});
    row("words empty", {"8="},
        {"8=The amount in words is empty: banks go by the words. Edit, Amount in Words writes them from the figures."});
    row("figures empty", {"9=   "}, {"9=The amount in figures is empty."});
    row("date empty", {"10="}, {"10=The date is empty: banks may return an undated draft."});
    row("date 180 days back", {"10=06/11/2026"}, {});
    row("date 181 days back", {"10=June 10, 2026"},
        {"10=The date is 181 days back: banks may refuse a draft dated more than six months back."});
    row("date tomorrow", {"10=2026-12-09"},
        {"10=The date is after today: banks may hold a postdated draft until that day."});
    row("date unreadable", {"10=next Tuesday"}, {});
    // A draft not begun has nothing wrong with it; one value begins it.
    const QStringList untouched = {"1=  ", "6=", "7=", "8=", "9=", "10=", "11=", "12=", "13=", "14="};
    row("untouched draft", untouched, {});
    row("one value begins the draft", untouched + QStringList{"14=Spring order"},
        {"10=The date is empty: banks may return an undated draft."});
}

void TestDraftChecks::draftChecksMarkWhatABankWouldReturn()
{
    QFETCH(QStringList, changes);
    QFETCH(QStringList, reasons);
    const QStringList cheque =
        QStringLiteral("Maria L. Gonzalez|||||1042|Sunrise Garden Supply|Two hundred forty-seven "
                       "and 50/100|$247.50|12/08/2026|A021000021A|123456789C|1042|")
            .split(QLatin1Char('|'));
    CheckTexts texts;
    std::copy(cheque.begin(), cheque.end(), texts.begin());
    const auto box = [](const QString& entry) {
        return static_cast<Box>(entry.section(QLatin1Char('='), 0, 0).toInt());
    };
    for (const QString& change : changes)
        texts[box(change)] = change.section(QLatin1Char('='), 1);
    DraftChecks::Reasons expected;
    for (const QString& reason : reasons)
        expected[box(reason)] = reason.section(QLatin1Char('='), 1);

    const DraftChecks::Reasons found = DraftChecks::run(texts, QDate(2026, 12, 8));
    for (Box each : AllBoxes)
        QCOMPARE(found[each], expected[each]);
}

QTEST_GUILESS_MAIN(TestDraftChecks)
#include "tst_draftchecks.moc"
