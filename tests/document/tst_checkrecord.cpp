#include "document/AmountInFigures.h"
#include "document/AmountInWords.h"
#include "document/CheckRecord.h"
#include "document/DateReader.h"
#include "document/DraftChecks.h"
#include "document/Windows1252.h"
#include "platform/QuilloError.h"

#include <QRandomGenerator>
#include <QtTest>

class TestCheckRecord : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fixedWidthAssignment_data();
    void fixedWidthAssignment();
    void emptyChequeIsNulsThenSpaces();
    void fieldsLandAtTheirOffsets();
    void longValuesAreCutInTheRecordOnly();
    void windowGetsAllThirtyTwoCharacters();
    void reservedBytesHaveNoEffect();
    void readingUsesTheFirst480BytesOnly();
    void shortDataIsRefused();
    void encodesWindows1252_data();
    void encodesWindows1252();
    void unrepresentableCharactersBecomeQuestionMarks();
    void everyByteValueRoundTrips();

    void writtenWordsReadBackAsTheSameAmount_data();
    void writtenWordsReadBackAsTheSameAmount();
    void amountsAndDatesAsTyped_data();
    void amountsAndDatesAsTyped();
    void draftChecksMarkWhatABankWouldReturn_data();
    void draftChecksMarkWhatABankWouldReturn();
};

void TestCheckRecord::fixedWidthAssignment_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("field");

    const QString spaces32(32, QLatin1Char(' '));
    QTest::newRow("empty") << QString() << spaces32;
    QTest::newRow("short") << QStringLiteral("1234") << QStringLiteral("1234") + QString(28, QLatin1Char(' '));
    QTest::newRow("exactly 32") << QString(32, QLatin1Char('x')) << QString(32, QLatin1Char('x'));
    QTest::newRow("longer") << QStringLiteral("0123456789012345678901234567890123456789")
                            << QStringLiteral("01234567890123456789012345678901");
    QTest::newRow("leading spaces kept") << QStringLiteral("  $5")
                                         << QStringLiteral("  $5") + QString(28, QLatin1Char(' '));
    QTest::newRow("only spaces") << QStringLiteral("   ") << spaces32;
    QTest::newRow("dollar sign kept") << QStringLiteral("$12.00")
                                      << QStringLiteral("$12.00") + QString(26, QLatin1Char(' '));
}

void TestCheckRecord::fixedWidthAssignment()
{
    QFETCH(QString, value);
    QFETCH(QString, field);
    QCOMPARE(fixedWidth(value, 32), field);

    CheckTexts texts;
    texts[6] = value; // Text7, the payee
    QCOMPARE(CheckRecord::fromWindow(texts).Payee, field);
}

void TestCheckRecord::emptyChequeIsNulsThenSpaces()
{
    const QByteArray bytes = CheckRecord::fromWindow(CheckTexts{}).toBytes();
    QCOMPARE(bytes.size(), 480);
    QCOMPARE(bytes.left(32), QByteArray(32, '\0'));
    QCOMPARE(bytes.mid(32), QByteArray(448, ' '));
}

void TestCheckRecord::fieldsLandAtTheirOffsets()
{
    CheckTexts texts;
    for (int k = 0; k < 14; ++k)
        texts[k] = QStringLiteral("T%1").arg(k + 1);
    const CheckRecord record = CheckRecord::fromWindow(texts);
    QCOMPARE(record.PayorLine1.trimmed(), QStringLiteral("T1"));
    QCOMPARE(record.BankLine2.trimmed(), QStringLiteral("T5"));
    QCOMPARE(record.CheckNumber.trimmed(), QStringLiteral("T6"));
    QCOMPARE(record.CheckDate.trimmed(), QStringLiteral("T10"));
    QCOMPARE(record.MicrCheckNumber.trimmed(), QStringLiteral("T13"));
    QCOMPARE(record.Memo.trimmed(), QStringLiteral("T14"));

    const QByteArray bytes = record.toBytes();
    for (int k = 1; k <= 14; ++k) {
        const QByteArray expected = QByteArray("T") + QByteArray::number(k);
        QCOMPARE(bytes.mid(k * 32, expected.size()), expected);
        QCOMPARE(bytes.mid(k * 32 + expected.size(), 32 - expected.size()), QByteArray(32 - expected.size(), ' '));
    }
}

void TestCheckRecord::longValuesAreCutInTheRecordOnly()
{
    CheckTexts texts;
    texts[6] = QStringLiteral("Northern Plains Hardware and Feed Co.");
    QVERIFY(texts[6].size() > 32);
    const CheckRecord back = CheckRecord::fromBytes(CheckRecord::fromWindow(texts).toBytes());
    QCOMPARE(back.toWindow()[6], texts[6].left(32));
}

void TestCheckRecord::windowGetsAllThirtyTwoCharacters()
{
    CheckTexts texts;
    texts[5] = QStringLiteral("1042");
    const CheckTexts back = CheckRecord::fromBytes(CheckRecord::fromWindow(texts).toBytes()).toWindow();
    QCOMPARE(back[5], QStringLiteral("1042") + QString(28, QLatin1Char(' ')));
    for (const QString& text : back)
        QCOMPARE(text.size(), 32);
}

void TestCheckRecord::reservedBytesHaveNoEffect()
{
    QByteArray bytes = CheckRecord::fromWindow(CheckTexts{}).toBytes();
    bytes.replace(0, 32, QByteArray(32, 'Z'));
    const CheckRecord read = CheckRecord::fromBytes(bytes);
    QCOMPARE(read.toWindow(), CheckRecord::fromWindow(CheckTexts{}).toWindow());
    // Rebuilding from the window, as Save does, writes zeros again.
    QCOMPARE(CheckRecord::fromWindow(read.toWindow()).toBytes().left(32), QByteArray(32, '\0'));
}

void TestCheckRecord::readingUsesTheFirst480BytesOnly()
{
    CheckTexts texts;
    texts[13] = QStringLiteral("Invoice 77");
    QByteArray bytes = CheckRecord::fromWindow(texts).toBytes();
    bytes.append(QByteArray(520, 'Q'));
    QCOMPARE(CheckRecord::fromBytes(bytes).toWindow()[13], fixedWidth(texts[13], 32));
}

void TestCheckRecord::shortDataIsRefused()
{
    QVERIFY_THROWS_EXCEPTION(QuilloError, CheckRecord::fromBytes(QByteArray(479, ' ')));
    QVERIFY_THROWS_EXCEPTION(QuilloError, CheckRecord::fromBytes(QByteArray()));
}

void TestCheckRecord::encodesWindows1252_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("e acute") << QStringLiteral("\u00e9") << QByteArray("\xe9");
    QTest::newRow("euro") << QStringLiteral("\u20ac") << QByteArray("\x80");
    QTest::newRow("curly quotes") << QStringLiteral("\u201cA\u201d")
                                  << QByteArray("\x93"
                                                "A"
                                                "\x94");
    QTest::newRow("pound and yen") << QStringLiteral("\u00a3\u00a5") << QByteArray("\xa3\xa5");
    QTest::newRow("ascii") << QStringLiteral("Acme 123") << QByteArray("Acme 123");
}

void TestCheckRecord::encodesWindows1252()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Windows1252::encode(text), bytes);
    QCOMPARE(Windows1252::decode(bytes), text);

    CheckTexts texts;
    texts[0] = text;
    QCOMPARE(CheckRecord::fromWindow(texts).toBytes().mid(32, bytes.size()), bytes);
}

void TestCheckRecord::unrepresentableCharactersBecomeQuestionMarks()
{
    QCOMPARE(Windows1252::encode(QStringLiteral("\u03a9")), QByteArray("?"));
    // A character outside the BMP is two UTF-16 code units, so two bytes.
    QCOMPARE(Windows1252::encode(QStringLiteral("A\U0001F600B")), QByteArray("A??B"));

    CheckTexts texts;
    texts[0] = QString(40, QChar(0x4E2D));
    const QByteArray bytes = CheckRecord::fromWindow(texts).toBytes();
    QCOMPARE(bytes.size(), 480);
    QCOMPARE(bytes.mid(32, 32), QByteArray(32, '?'));
}

void TestCheckRecord::everyByteValueRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = Windows1252::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(Windows1252::encode(text), all);
    QCOMPARE(text.at(0x81), QChar(0x0081));
    QCOMPARE(text.at(0x9D), QChar(0x009D));

    // Through a record: 480 bytes made of every value, fields 1 to 14.
    QByteArray file(32, '\0');
    for (int i = 0; i < 448; ++i)
        file.append(static_cast<char>((i * 7 + 3) % 256));
    const CheckRecord read = CheckRecord::fromBytes(file);
    QCOMPARE(CheckRecord::fromWindow(read.toWindow()).toBytes(), file);
}

void TestCheckRecord::writtenWordsReadBackAsTheSameAmount_data()
{
    QTest::addColumn<bool>("random");
    QTest::newRow("every cent 0.00 to 1,000.00") << false;
    QTest::newRow("random amounts to 999,999,999.99") << true;
}

void TestCheckRecord::writtenWordsReadBackAsTheSameAmount()
{
    QFETCH(bool, random);
    QRandomGenerator generator(20261208);
    for (qint64 i = 0; i <= 100000; i += random ? 10 : 1) {
        const qint64 cents = random ? qint64(generator.bounded(quint64(99999999999) + 1)) : i;
        const QString words = AmountInWords::write(cents);
        if (AmountInWords::read(words) != cents)
            QFAIL(qPrintable(QStringLiteral("%1 is written \"%2\", read back as %3")
                                 .arg(cents)
                                 .arg(words)
                                 .arg(AmountInWords::read(words).value_or(-1))));
    }
}

void TestCheckRecord::amountsAndDatesAsTyped_data()
{
    // How amounts are written in words ("written": the words for `value`), and
    // how the words, figures and date boxes are read: -1 for a text that
    // cannot be read, a date as yyyyMMdd.
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("value");
    const auto row = [](const char* name, const char* reader, const char* text, qint64 value) {
        QTest::newRow(name) << QString::fromLatin1(reader) << QString::fromUtf8(text) << value;
    };
    row("1,234.56", "written", "One thousand two hundred thirty-four and 56/100", 123456);
    row("247.50", "written", "Two hundred forty-seven and 50/100", 24750);
    row("0.75", "written", "Zero and 75/100", 75);
    row("limit", "written",
        "Nine hundred ninety-nine million nine hundred ninety-nine thousand nine hundred ninety-nine and 99/100",
        99999999999);
    row("past the limit", "written", "", 100000000000);
    row("hyphens", "words", "Two hundred forty-seven and 50/100", 24750);
    row("no hyphens, dollars last", "words", "two hundred forty seven and 50/100 dollars", 24750);
    row("capitals, dollars first", "words", "TWO HUNDRED FORTY-SEVEN DOLLARS AND 50/100", 24750);
    row("no/100 and only", "words", "One thousand and no/100 dollars only", 100000);
    row("xx/100, twelve hundred", "words", "Twelve Hundred Fifty and xx/100", 125000);
    row("and inside the number", "words", "One hundred and five and 00/100", 10500);
    row("no cents", "words", "Five hundred dollars only.", 50000);
    row("millions", "words", "Three million forty thousand six and 01/100", 304000601);
    row("cents in words", "words", "Two hundred forty-seven and fifty cents", -1);
    row("scale twice", "words", "One thousand thousand and 00/100", -1);
    row("number words run on", "words", "Forty seventy and 00/100", -1);
    row("figures with commas", "figures", "$1,234.56", 123456);
    row("dollars only", "figures", "$ 75", 7500);
    row("figures limit", "figures", "999,999,999.99", 99999999999);
    row("figures past the limit", "figures", "1,000,000,000.00", -1);
    row("misplaced comma", "figures", "1,23.45", -1);
    row("decimal comma", "figures", "247,50", -1);
    row("MM/DD/YYYY", "date", "12/08/2026", 20261208);
    row("M/D/YY", "date", "1/8/27", 20270108);
    row("month name", "date", "December 8, 2026", 20261208);
    row("abbreviation", "date", "dec. 8 2026", 20261208);
    row("ISO", "date", "2026-12-08", 20261208);
    row("no such day", "date", "02/30/2026", -1);
}

void TestCheckRecord::amountsAndDatesAsTyped()
{
    QFETCH(QString, reader);
    QFETCH(QString, text);
    QFETCH(qint64, value);
    if (reader == QLatin1String("written")) {
        QCOMPARE(AmountInWords::write(value), text);
    } else if (reader == QLatin1String("date")) {
        const std::optional<QDate> date = DateReader::read(text);
        QCOMPARE(date ? date->toString(QStringLiteral("yyyyMMdd")).toLongLong() : -1, value);
    } else {
        const std::optional<qint64> cents =
            reader == QLatin1String("words") ? AmountInWords::read(text) : AmountInFigures::read(text);
        QCOMPARE(cents.value_or(-1), value);
    }
}

void TestCheckRecord::draftChecksMarkWhatABankWouldReturn_data()
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
    row("no bank's prefix", {"11=A131000005A"},
        {"11=No routing number begins with 13: the first two digits lie in 00–12, 21–32, 61–72 or 80."});
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
}

void TestCheckRecord::draftChecksMarkWhatABankWouldReturn()
{
    QFETCH(QStringList, changes);
    QFETCH(QStringList, reasons);
    const QStringList cheque =
        QStringLiteral("Maria L. Gonzalez|||||1042|Sunrise Garden Supply|Two hundred forty-seven "
                       "and 50/100|$247.50|12/08/2026|A021000021A|123456789C|1042|")
            .split(QLatin1Char('|'));
    CheckTexts texts;
    std::copy(cheque.begin(), cheque.end(), texts.begin());
    for (const QString& change : changes)
        texts[change.section(QLatin1Char('='), 0, 0).toUInt() - 1] = change.section(QLatin1Char('='), 1);
    DraftChecks::Reasons expected;
    for (const QString& reason : reasons)
        expected[reason.section(QLatin1Char('='), 0, 0).toUInt() - 1] = reason.section(QLatin1Char('='), 1);

    const DraftChecks::Reasons found = DraftChecks::run(texts, QDate(2026, 12, 8));
    for (std::size_t box = 0; box < found.size(); ++box)
        QCOMPARE(found[box], expected[box]);
}

QTEST_GUILESS_MAIN(TestCheckRecord)
#include "tst_checkrecord.moc"
