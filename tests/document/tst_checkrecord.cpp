#include "document/CheckRecord.h"
#include "document/Windows1252.h"
#include "platform/QuilloError.h"

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
    void knowsWhatTheCodePageHolds_data();
    void knowsWhatTheCodePageHolds();
    void unrepresentableCharactersBecomeQuestionMarks();
    void everyByteValueRoundTrips();
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
    texts[Box::Payee] = value;
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
    for (Box box : AllBoxes)
        texts[box] = QStringLiteral("T%1").arg(numberOf(box));
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
    texts[Box::Payee] = QStringLiteral("Northern Plains Hardware and Feed Co.");
    QVERIFY(texts[Box::Payee].size() > 32);
    const CheckRecord back = CheckRecord::fromBytes(CheckRecord::fromWindow(texts).toBytes());
    QCOMPARE(back.toWindow()[Box::Payee], texts[Box::Payee].left(32));
}

void TestCheckRecord::windowGetsAllThirtyTwoCharacters()
{
    CheckTexts texts;
    texts[Box::CheckNumber] = QStringLiteral("1042");
    const CheckTexts back = CheckRecord::fromBytes(CheckRecord::fromWindow(texts).toBytes()).toWindow();
    QCOMPARE(back[Box::CheckNumber], QStringLiteral("1042") + QString(28, QLatin1Char(' ')));
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
    texts[Box::Memo] = QStringLiteral("Invoice 77");
    QByteArray bytes = CheckRecord::fromWindow(texts).toBytes();
    bytes.append(QByteArray(520, 'Q'));
    QCOMPARE(CheckRecord::fromBytes(bytes).toWindow()[Box::Memo], fixedWidth(texts[Box::Memo], 32));
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
    texts[Box::PayorLine1] = text;
    QCOMPARE(CheckRecord::fromWindow(texts).toBytes().mid(32, bytes.size()), bytes);
}

void TestCheckRecord::knowsWhatTheCodePageHolds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("held");
    QTest::newRow("nothing") << QString() << true;
    QTest::newRow("ascii and the question mark") << QStringLiteral("Acme? 123") << true;
    QTest::newRow("NUL") << QString(1, QChar(u'\0')) << true;
    QTest::newRow("U+007F, the last of ASCII") << QString(1, QChar(0x7F)) << true;
    QTest::newRow("U+0080, whose byte is the euro sign") << QString(1, QChar(0x80)) << false;
    QTest::newRow("U+0081, an undefined byte's control") << QString(1, QChar(0x81)) << true;
    QTest::newRow("U+009D, the last undefined byte's control") << QString(1, QChar(0x9D)) << true;
    QTest::newRow("U+009F, whose byte is Y diaeresis") << QString(1, QChar(0x9F)) << false;
    QTest::newRow("U+00A0, the first of Latin-1 kept") << QString(1, QChar(0xA0)) << true;
    QTest::newRow("U+00FF, the last of Latin-1") << QString(1, QChar(0xFF)) << true;
    QTest::newRow("U+0100, past Latin-1") << QString(1, QChar(0x100)) << false;
    QTest::newRow("euro sign and Y diaeresis") << QStringLiteral("\u20ac\u0178") << true;
    QTest::newRow("one omega among letters") << QStringLiteral("Caf\u00e9 \u03a9") << false;
    QTest::newRow("a character outside the basic plane") << QStringLiteral("\U0001F600") << false;
}

void TestCheckRecord::knowsWhatTheCodePageHolds()
{
    QFETCH(QString, text);
    QFETCH(bool, held);
    QCOMPARE(Windows1252::represents(text), held);
    // What it says is what a round trip through the code page shows.
    QCOMPARE(Windows1252::decode(Windows1252::encode(text)) == text, held);
}

void TestCheckRecord::unrepresentableCharactersBecomeQuestionMarks()
{
    QCOMPARE(Windows1252::encode(QStringLiteral("\u03a9")), QByteArray("?"));
    // The C1 controls whose bytes the code page gives to other characters.
    QCOMPARE(Windows1252::encode(QStringLiteral("\u0080\u009f\u0100")), QByteArray("???"));
    // A character outside the BMP is two UTF-16 code units, so two bytes.
    QCOMPARE(Windows1252::encode(QStringLiteral("A\U0001F600B")), QByteArray("A??B"));

    CheckTexts texts;
    texts[Box::PayorLine1] = QString(40, QChar(0x4E2D));
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

QTEST_GUILESS_MAIN(TestCheckRecord)
#include "tst_checkrecord.moc"
