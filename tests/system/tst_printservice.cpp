#include "print/PaperPolicy.h"
#include "system/cups/PrintServiceFault.h"

#include <QtTest>

// What the merchant is told about each answer of the print service, and which
// default paper a printer may report.
class TestPrintService : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eachAnswerHasItsReason_data();
    void eachAnswerHasItsReason();
    void notPrintedSaysWhatToDo_data();
    void notPrintedSaysWhatToDo();
    void eachStepTellsItsOwnFailure_data();
    void eachStepTellsItsOwnFailure();
    void reasonNamesTheStep_data();
    void reasonNamesTheStep();
    void uncancelledNamesBothSteps();
    void uncertainMessageNamesWhereToLook_data();
    void uncertainMessageNamesWhereToLook();
    void implausiblePaperIsUnknown_data();
    void implausiblePaperIsUnknown();
};

void TestPrintService::eachAnswerHasItsReason_data()
{
    QTest::addColumn<int>("http");
    QTest::addColumn<int>("ipp");
    QTest::addColumn<QString>("reason");

    const QString password = QStringLiteral("the print service asked for a password");
    const QString forbidden = QStringLiteral("the print service did not let you print there");
    const QString notFound = QStringLiteral("the print service no longer knew the printer");
    const QString tooLarge = QStringLiteral("the print service refused the check as too large");
    const QString busy = QStringLiteral("the print service was busy");
    // The service's words never join Quillo's reason.
    const QString said = QStringLiteral("the printer did not take the check");
    QTest::newRow("HTTP 401") << 401 << 0 << password;
    QTest::newRow("IPP not-authenticated") << 200 << 0x0402 << password;
    QTest::newRow("HTTP 403") << 403 << 0 << forbidden;
    QTest::newRow("IPP forbidden") << 200 << 0x0401 << forbidden;
    QTest::newRow("IPP not-authorized") << 200 << 0x0403 << forbidden;
    QTest::newRow("HTTP 404") << 404 << 0 << notFound;
    QTest::newRow("IPP not-found") << 200 << 0x0406 << notFound;
    QTest::newRow("HTTP 413") << 413 << 0 << tooLarge;
    QTest::newRow("IPP request-entity-too-large") << 200 << 0x0408 << tooLarge;
    QTest::newRow("HTTP 426") << 426 << 0 << "the print service asked for an encrypted connection";
    QTest::newRow("HTTP 503") << 503 << 0 << busy;
    QTest::newRow("IPP service-unavailable") << 200 << 0x0502 << busy;
    QTest::newRow("IPP temporary-error") << 200 << 0x0505 << busy;
    QTest::newRow("IPP not-accepting-jobs") << 200 << 0x0506 << "the printer stopped accepting jobs";
    QTest::newRow("IPP busy") << 200 << 0x0507 << busy;
    QTest::newRow("IPP not-possible") << 200 << 0x0404 << said;
    QTest::newRow("IPP internal-error") << 200 << 0x0500 << said;
    QTest::newRow("HTTP 299") << 299 << 0 << "the print service failed (HTTP 299)";
    QTest::newRow("HTTP 300") << 300 << 0 << "the print service sent Quillo to another address (HTTP 300)";
    QTest::newRow("HTTP 399") << 399 << 0 << "the print service sent Quillo to another address (HTTP 399)";
    QTest::newRow("HTTP 400") << 400 << 0 << "the print service failed (HTTP 400)";
    QTest::newRow("HTTP 500") << 500 << 0 << "the print service failed (HTTP 500)";
}

void TestPrintService::eachAnswerHasItsReason()
{
    QFETCH(int, http);
    QFETCH(int, ipp);
    QTEST(PrintServiceFault::ofAnswer(http, ipp, QStringLiteral("Out of paper.")).reason(), "reason");
}

void TestPrintService::notPrintedSaysWhatToDo_data()
{
    QTest::addColumn<int>("http");
    QTest::addColumn<QString>("printer");
    QTest::addColumn<QString>("message");
    QTest::newRow("busy") << 503 << "Front Desk"
                          << "The print service is busy, so the check was not printed. Wait a moment and try again.";
    QTest::newRow("a printer it does not know")
        << 404 << "Front Desk"
        << "The print service does not know the printer \"Front Desk\", so the check was not printed. Choose a "
           "printer that exists as your default in the system's printer settings, and try again.";
    QTest::newRow("a password, no printer yet")
        << 401 << ""
        << "The print service asks for a password to print, so the check was not printed. Quillo does not ask for "
           "passwords. Ask whoever looks after this computer to let you print there without one, and try again.";
    QTest::newRow("failed") << 500 << "Front Desk"
                            << "The print service failed (HTTP 500), so the check was not printed. Check that the "
                               "computer's print service (CUPS) is running, or ask whoever looks after this "
                               "computer to, and try again.";
}

void TestPrintService::notPrintedSaysWhatToDo()
{
    QFETCH(int, http);
    QFETCH(QString, printer);
    QTEST(PrintServiceFault::ofAnswer(http, 0).notPrinted(printer), "message");
}

using Step = PrintServiceFault::Step;
Q_DECLARE_METATYPE(PrintServiceFault::Step)

void TestPrintService::eachStepTellsItsOwnFailure_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<int>("http");
    QTest::addColumn<int>("ipp");
    QTest::addColumn<QString>("printer");
    QTest::addColumn<QString>("message");
    const QString checkTheService = QStringLiteral(
        "Check that the computer's print service (CUPS) is running, or ask whoever looks after this computer to, and "
        "try again.");
    const QString words = QStringLiteral(" The print service's own words: \"The check WAS printed.\"");

    QTest::newRow("default look-up: internal error")
        << Step::LookUp << 200 << 0x0500 << ""
        << "Quillo could not look up the default printer: the print service did not answer Quillo's question about "
           "the printer. The check was not sent. " +
               checkTheService + words;
    QTest::newRow("default look-up: not found over HTTP")
        << Step::LookUp << 404 << 0 << ""
        << "Quillo could not look up the default printer: the print service did not know the printer. The check was "
           "not sent. " +
               checkTheService;
    QTest::newRow("printer look-up: forbidden")
        << Step::LookUp << 403 << 0 << "Front Desk"
        << "Quillo could not look up the printer \"Front Desk\": the print service did not let Quillo look up the "
           "printer. The check was not sent. Ask whoever looks after this computer to allow it, and try again.";
    QTest::newRow("printer look-up: too large")
        << Step::LookUp << 413 << 0 << "Front Desk"
        << "Quillo could not look up the printer \"Front Desk\": the print service refused Quillo's question about "
           "the printer as too large. The check was not sent. Ask whoever looks after this computer to raise the "
           "print service's size limit, and try again.";
    QTest::newRow("printer look-up: busy, as any request")
        << Step::LookUp << 503 << 0 << "Front Desk"
        << "The print service is busy, so the check was not printed. Wait a moment and try again.";
    QTest::newRow("job: refused, the service's words after Quillo's")
        << Step::Job << 200 << 0x0400 << "Front Desk"
        << "The printer \"Front Desk\" did not take the check, so it was not printed. Check the printer and try "
           "again." +
               words;
    QTest::newRow("job: too large") << Step::Job << 413 << 0 << "Front Desk"
                                    << "The print service refused the check as too large, so it was not printed. Ask "
                                       "whoever looks after this computer to raise the print service's size limit, "
                                       "and try again.";
    QTest::newRow("document: a job it no longer knows")
        << Step::Document << 200 << 0x0406 << "Front Desk"
        << "The print service no longer knew job 12 on \"Front Desk\", so the check was not printed. Check the "
           "printer and try again.";
    QTest::newRow("job state: too large, then canceled")
        << Step::JobState << 413 << 0 << "Front Desk"
        << "The print service took the check as job 12 on \"Front Desk\", but Quillo could not find out what became "
           "of it: the print service refused Quillo's question about the job as too large. Quillo canceled the job, "
           "so the check was not printed. Ask whoever looks after this computer to raise the print service's size "
           "limit, and try again.";
    QTest::newRow("job state: a password, then canceled")
        << Step::JobState << 401 << 0 << "Front Desk"
        << "The print service took the check as job 12 on \"Front Desk\", but Quillo could not find out what became "
           "of it: the print service asked for a password. Quillo canceled the job, so the check was not printed. "
           "Quillo does not ask for passwords. Ask whoever looks after this computer to let you print there without "
           "one, and try again.";
    QTest::newRow("job state: a job it no longer knows, then canceled")
        << Step::JobState << 200 << 0x0406 << "Front Desk"
        << "The print service took the check as job 12 on \"Front Desk\", but Quillo could not find out what became "
           "of it: the print service no longer knew the job. Quillo canceled the job, so the check was not printed. "
           "Check the printer and try again.";
    QTest::newRow("job state: refused, the service's words last")
        << Step::JobState << 200 << 0x0500 << "Front Desk"
        << "The print service took the check as job 12 on \"Front Desk\", but Quillo could not find out what became "
           "of it: the print service did not answer Quillo's question about the job. Quillo canceled the job, so "
           "the check was not printed. " +
               checkTheService + words;
}

void TestPrintService::eachStepTellsItsOwnFailure()
{
    QFETCH(Step, step);
    QFETCH(int, http);
    QFETCH(int, ipp);
    QFETCH(QString, printer);
    const PrintServiceFault fault = PrintServiceFault::ofAnswer(http, ipp, QStringLiteral("The check WAS printed."));
    QTEST(fault.during(step).notPrinted(printer, 12), "message");
}

void TestPrintService::reasonNamesTheStep_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<int>("http");
    QTest::addColumn<int>("ipp");
    QTest::addColumn<QString>("reason");
    QTest::newRow("job state: too large")
        << Step::JobState << 413 << 0 << "the print service refused Quillo's question about the job as too large";
    QTest::newRow("job state: forbidden")
        << Step::JobState << 403 << 0 << "the print service did not let Quillo ask about the job";
    QTest::newRow("job state: not found")
        << Step::JobState << 200 << 0x0406 << "the print service no longer knew the job";
    QTest::newRow("cancel: refused") << Step::Cancel << 200 << 0x0404 << "the print service did not cancel the job";
    QTest::newRow("cancel: forbidden") << Step::Cancel << 200 << 0x0401
                                       << "the print service did not let Quillo cancel the job";
    QTest::newRow("cancel: too large") << Step::Cancel << 413 << 0
                                       << "the print service refused Quillo's cancel of the job as too large";
    QTest::newRow("document: not found") << Step::Document << 200 << 0x0406
                                         << "the print service no longer knew the job";
    QTest::newRow("job: not found") << Step::Job << 200 << 0x0406 << "the print service no longer knew the printer";
    QTest::newRow("document: too large") << Step::Document << 413 << 0
                                         << "the print service refused the check as too large";
}

void TestPrintService::reasonNamesTheStep()
{
    QFETCH(Step, step);
    QFETCH(int, http);
    QFETCH(int, ipp);
    QTEST(PrintServiceFault::ofAnswer(http, ipp, QStringLiteral("Gone.")).during(step).reason(), "reason");
}

void TestPrintService::uncancelledNamesBothSteps()
{
    const PrintServiceFault document = PrintServiceFault::ofAnswer(200, 0x040A, QStringLiteral("Not a PDF."));
    const PrintServiceFault cancel{PrintServiceFault::Kind::TimeLimit, 5};
    const QString reason = PrintServiceFault::uncancelled(document.during(Step::Document), cancel.during(Step::Cancel));
    QCOMPARE(PrintServiceFault::uncertain(reason, QStringLiteral("Front Desk"), 12, document.servicesWords()),
             QStringLiteral("Quillo could not find out whether the check was printed: the printer did not take the "
                            "check, and Quillo could not cancel the job: the print service did not answer within 5 "
                            "seconds. Before printing it again, look at the print queue of \"Front Desk\" (job 12), "
                            "so that the customer's account is not drawn twice. The print service's own words: \"Not "
                            "a PDF.\""));
}

void TestPrintService::uncertainMessageNamesWhereToLook_data()
{
    QTest::addColumn<int>("job");
    QTest::addColumn<QString>("message");
    QTest::newRow("with the job's number")
        << 12
        << "Quillo could not find out whether the check was printed: the print service stopped answering. Before "
           "printing it again, look at the print queue of \"Front Desk\" (job 12), so that the customer's account "
           "is not drawn twice.";
    QTest::newRow("without one")
        << 0
        << "Quillo could not find out whether the check was printed: the print service stopped answering. Before "
           "printing it again, look at the print queue of \"Front Desk\", so that the customer's account is not "
           "drawn twice.";
}

void TestPrintService::uncertainMessageNamesWhereToLook()
{
    QFETCH(int, job);
    QTEST(PrintServiceFault::uncertain(QStringLiteral("the print service stopped answering"),
                                       QStringLiteral("Front Desk"), job),
          "message");
}

void TestPrintService::implausiblePaperIsUnknown_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("length");
    QTest::addColumn<bool>("plausible");
    QTest::newRow("Letter") << 8.5 << 11.0 << true;
    QTest::newRow("2.99 wide") << 2.99 << 11.0 << false;
    QTest::newRow("3 wide") << 3.0 << 11.0 << true;
    QTest::newRow("17 wide") << 17.0 << 11.0 << true;
    QTest::newRow("17.01 wide") << 17.01 << 11.0 << false;
    QTest::newRow("2.99 long") << 8.5 << 2.99 << false;
    QTest::newRow("3 long") << 8.5 << 3.0 << true;
    QTest::newRow("17 long") << 8.5 << 17.0 << true;
    QTest::newRow("17.01 long") << 8.5 << 17.01 << false;
    QTest::newRow("unknown size") << -1.0 << -1.0 << false;
}

void TestPrintService::implausiblePaperIsUnknown()
{
    QFETCH(double, width);
    QFETCH(double, length);
    QTEST(PaperPolicy::isPlausiblePaper(width, length), "plausible");
}

QTEST_GUILESS_MAIN(TestPrintService)
#include "tst_printservice.moc"
