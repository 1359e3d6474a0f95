#include "fakes/FakeApplicationFacts.h"
#include "fakes/FakeMessageBox.h"
#include "platform/FailureHandling.h"
#include "platform/QuilloError.h"
#include "platform/Twips.h"

#include <QtTest>
#include <stdexcept>

namespace {

class RecordingReporter : public FailureReporter {
public:
    void report(const QString& message) override { reports.append(message); }
    QStringList reports;
};

[[noreturn]] void fail(const QString& message)
{
    throw QuilloError(message);
}

} // namespace

class TestFailureHandling : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ignoreErrorsSkipsOnlyTheFailingStep();
    void fixedMessageReplacesAnyFailure();
    void centralReporterGetsTheMerchantsSentence();
    void guardedHandlerPassesArgumentsAndReports();
    void versionText_data();
    void versionText();
    void twipsConversion_data();
    void twipsConversion();
};

void TestFailureHandling::ignoreErrorsSkipsOnlyTheFailingStep()
{
    QStringList ran;
    Failures::ignoreErrors({
        [&] { ran << "1"; },
        [&] {
            ran << "2";
            fail(QStringLiteral("boom"));
            ran << "2b"; // abandoned with the rest of the step
        },
        [&] { throw std::runtime_error("not ours"); },
        [&] { ran << "4"; },
    });
    QCOMPARE(ran, (QStringList{"1", "2", "4"}));
}

void TestFailureHandling::fixedMessageReplacesAnyFailure()
{
    FakeMessageBox messages;
    Failures::withFixedMessage(messages, QStringLiteral("Fixed"), [] { fail(QStringLiteral("detail")); });
    Failures::withFixedMessage(messages, QStringLiteral("Fixed"), [] {});
    QCOMPARE(messages.shown, QStringList{QStringLiteral("Fixed")});
}

void TestFailureHandling::centralReporterGetsTheMerchantsSentence()
{
    RecordingReporter reporter;
    Failures::reportTo(reporter, [] { fail(QStringLiteral("No default printer is set up.")); });
    Failures::reportTo(reporter, [] {});
    Failures::reportTo(reporter, [] { throw 42; });
    QCOMPARE(reporter.reports.size(), 2);
    QCOMPARE(reporter.reports.at(0), QStringLiteral("No default printer is set up."));
    QVERIFY(!reporter.reports.at(1).isEmpty());

    FakeMessageBox messages;
    MessageBoxFailureReporter boxReporter(messages);
    Failures::reportTo(boxReporter, [] { fail(QStringLiteral("Disk full.")); });
    QCOMPARE(messages.shown, QStringList{QStringLiteral("Disk full.")});

    QString message;
    QVERIFY(!Failures::succeeds([] { fail(QStringLiteral("why")); }, &message));
    QCOMPARE(message, QStringLiteral("why"));
    QVERIFY(Failures::succeeds([] {}));
}

void TestFailureHandling::guardedHandlerPassesArgumentsAndReports()
{
    RecordingReporter reporter;
    int received = 0;
    auto handler = Failures::guarded(reporter, [&](int index) {
        received = index;
        if (index == 3)
            fail(QStringLiteral("three"));
    });
    handler(2);
    QCOMPARE(received, 2);
    QVERIFY(reporter.reports.isEmpty());
    handler(3);
    QCOMPARE(reporter.reports, QStringList{QStringLiteral("three")});
}

void TestFailureHandling::versionText_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("text");
    QTest::newRow("this release") << 1 << 0 << 0 << QStringLiteral("Version 1.0.0");
    QTest::newRow("two digits written in full") << 1 << 10 << 0 << QStringLiteral("Version 1.10.0");
    QTest::newRow("revision") << 2 << 3 << 117 << QStringLiteral("Version 2.3.117");
}

void TestFailureHandling::versionText()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, text);
    FakeApplicationFacts facts;
    facts.major = major;
    facts.minor = minor;
    facts.revision = revision;
    QCOMPARE(::versionText(facts), text);
}

void TestFailureHandling::twipsConversion_data()
{
    QTest::addColumn<double>("dpi");
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("client width") << 96.0 << 9075 << 605;
    QTest::newRow("toolbar") << 96.0 << 420 << 28;
    QTest::newRow("rounds to nearest") << 96.0 << 1467 << 98;
    QTest::newRow("negative") << 96.0 << -15 << -1;
    QTest::newRow("144 dpi") << 144.0 << 9075 << 908;
    QTest::newRow("192 dpi") << 192.0 << 420 << 56;
}

void TestFailureHandling::twipsConversion()
{
    QFETCH(double, dpi);
    QFETCH(int, twips);
    QFETCH(int, pixels);
    const Twips converter(dpi);
    QCOMPARE(converter.toPixels(twips), pixels);
    QVERIFY(qAbs(converter.fromPixels(pixels) - twips) <= 1440 / dpi / 2 + 1);
}

QTEST_GUILESS_MAIN(TestFailureHandling)
#include "tst_failurehandling.moc"
