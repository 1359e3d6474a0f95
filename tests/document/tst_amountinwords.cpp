#include "document/AmountInFigures.h"
#include "document/AmountInWords.h"

#include <QRandomGenerator>
#include <QtTest>

class TestAmountInWords : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writtenWordsReadBackAsTheSameAmount_data();
    void writtenWordsReadBackAsTheSameAmount();
    void amountsAsTyped_data();
    void amountsAsTyped();
};

void TestAmountInWords::writtenWordsReadBackAsTheSameAmount_data()
{
    QTest::addColumn<bool>("random");
    QTest::newRow("every cent 0.00 to 1,000.00") << false;
    QTest::newRow("random amounts to 999,999,999.99") << true;
}

void TestAmountInWords::writtenWordsReadBackAsTheSameAmount()
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

void TestAmountInWords::amountsAsTyped_data()
{
    // How amounts are written in words ("written": the words for `value`), and
    // how the words and figures boxes are read: -1 for a text that cannot be read.
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
    // Ones, teens and tens at each magnitude, with cents that begin with a zero.
    row("5.05", "written", "Five and 05/100", 505);
    row("15.10", "written", "Fifteen and 10/100", 1510);
    row("50.00", "written", "Fifty and 00/100", 5000);
    row("105.00", "written", "One hundred five and 00/100", 10500);
    row("1,005.00", "written", "One thousand five and 00/100", 100500);
    row("15,047.00", "written", "Fifteen thousand forty-seven and 00/100", 1504700);
    row("1,000,005.00", "written", "One million five and 00/100", 100000500);
    row("50,015,000.01", "written", "Fifty million fifteen thousand and 01/100", 5001500001);
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
    row("a teen after tens", "words", "Forty fifteen and 00/100", -1);
    row("ten after tens", "words", "Twenty ten and 00/100", -1);
    row("one-digit cents", "words", "Five and 5/100", 505);
    row("figures with commas", "figures", "$1,234.56", 123456);
    row("dollars only", "figures", "$ 75", 7500);
    row("figures limit", "figures", "999,999,999.99", 99999999999);
    row("figures past the limit", "figures", "1,000,000,000.00", -1);
    row("misplaced comma", "figures", "1,23.45", -1);
    row("decimal comma", "figures", "247,50", -1);
}

void TestAmountInWords::amountsAsTyped()
{
    QFETCH(QString, reader);
    QFETCH(QString, text);
    QFETCH(qint64, value);
    if (reader == QLatin1String("written")) {
        QCOMPARE(AmountInWords::write(value), text);
    } else {
        const std::optional<qint64> cents =
            reader == QLatin1String("words") ? AmountInWords::read(text) : AmountInFigures::read(text);
        QCOMPARE(cents.value_or(-1), value);
    }
}

QTEST_GUILESS_MAIN(TestAmountInWords)
#include "tst_amountinwords.moc"
