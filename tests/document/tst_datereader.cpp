#include "document/DateReader.h"

#include <QtTest>

class TestDateReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void datesAsTyped_data();
    void datesAsTyped();
};

void TestDateReader::datesAsTyped_data()
{
    // How the date box is read: the date as yyyyMMdd, -1 for a text that cannot be read.
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("value");
    const auto row = [](const char* name, const char* text, qint64 value) {
        QTest::newRow(name) << QString::fromUtf8(text) << value;
    };
    row("MM/DD/YYYY", "12/08/2026", 20261208);
    row("M/D/YY", "1/8/27", 20270108);
    row("month name", "December 8, 2026", 20261208);
    row("abbreviation", "dec. 8 2026", 20261208);
    row("ISO", "2026-12-08", 20261208);
    row("no such day", "02/30/2026", -1);
}

void TestDateReader::datesAsTyped()
{
    QFETCH(QString, text);
    QFETCH(qint64, value);
    const std::optional<QDate> date = DateReader::read(text);
    QCOMPARE(date ? date->toString(QStringLiteral("yyyyMMdd")).toLongLong() : -1, value);
}

QTEST_GUILESS_MAIN(TestDateReader)
#include "tst_datereader.moc"
