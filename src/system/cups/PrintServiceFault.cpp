#include "system/cups/PrintServiceFault.h"

namespace {

using Kind = PrintServiceFault::Kind;
using Step = PrintServiceFault::Step;

// IPP status codes (RFC 8011 and its registry) that have a reason of their own.
constexpr int IppForbidden = 0x0401;
constexpr int IppNotAuthenticated = 0x0402;
constexpr int IppNotAuthorized = 0x0403;
constexpr int IppNotFound = 0x0406;
constexpr int IppRequestEntityTooLarge = 0x0408;
constexpr int IppServiceUnavailable = 0x0502;
constexpr int IppTemporaryError = 0x0505;
constexpr int IppNotAcceptingJobs = 0x0506;
constexpr int IppBusy = 0x0507;

QString checkTheService()
{
    return QStringLiteral("Check that the computer's print service (CUPS) is running, or ask whoever looks after "
                          "this computer to, and try again.");
}

// " on "Front Desk"", or nothing when no printer is known yet.
QString on(const QString& printer)
{
    return printer.isEmpty() ? QString() : QStringLiteral(" on \"%1\"").arg(printer);
}

QString askTheAdministrator(const QString& what)
{
    return QStringLiteral("Ask whoever looks after this computer to %1, and try again.").arg(what);
}

// What a step asks of the service, as a refusal names it.
QString question(Step step)
{
    switch (step) {
    case Step::LookUp:
        return QStringLiteral("Quillo's question about the printer");
    case Step::JobState:
        return QStringLiteral("Quillo's question about the job");
    case Step::Cancel:
        return QStringLiteral("Quillo's cancel of the job");
    case Step::Job:
    case Step::Document:
        break;
    }
    return QStringLiteral("the check");
}

// What a step does, as a prohibition names it.
QString action(Step step)
{
    switch (step) {
    case Step::LookUp:
        return QStringLiteral("look up the printer");
    case Step::JobState:
        return QStringLiteral("ask about the job");
    case Step::Cancel:
        return QStringLiteral("cancel the job");
    case Step::Job:
    case Step::Document:
        break;
    }
    return QStringLiteral("print there");
}

bool aboutTheJob(Step step)
{
    return step == Step::Document || step == Step::JobState || step == Step::Cancel;
}

} // namespace

PrintServiceFault PrintServiceFault::ofAnswer(int httpStatus, int ippStatus, const QString& said)
{
    switch (httpStatus) {
    case 200:
        break;
    case 401:
        return {Kind::Password};
    case 403:
        return {Kind::Forbidden};
    case 404:
        return {Kind::NotFound};
    case 413:
        return {Kind::TooLarge};
    case 426:
        return {Kind::NeedsEncryption};
    case 503:
        return {Kind::Busy};
    default:
        if (httpStatus >= 300 && httpStatus < 400)
            return {Kind::Redirected, httpStatus};
        return {Kind::Failed, httpStatus};
    }
    switch (ippStatus) {
    case IppNotAuthenticated:
        return {Kind::Password};
    case IppForbidden:
    case IppNotAuthorized:
        return {Kind::Forbidden};
    case IppNotFound:
        return {Kind::NotFound};
    case IppRequestEntityTooLarge:
        return {Kind::TooLarge};
    case IppServiceUnavailable:
    case IppTemporaryError:
    case IppBusy:
        return {Kind::Busy};
    case IppNotAcceptingJobs:
        return {Kind::NotAcceptingJobs};
    default:
        return {Kind::NotTaken, 0, said};
    }
}

PrintServiceFault PrintServiceFault::during(Step failedStep) const
{
    PrintServiceFault fault = *this;
    fault.step = failedStep;
    return fault;
}

bool PrintServiceFault::aboutTheQuestion() const
{
    switch (kind) {
    case Kind::Forbidden:
    case Kind::TooLarge:
    case Kind::NotFound:
    case Kind::NotAcceptingJobs:
    case Kind::NotTaken:
        return true;
    default:
        return false;
    }
}

QString PrintServiceFault::advice() const
{
    switch (kind) {
    case Kind::NotRunning:
        return QStringLiteral("Start the computer's print service (CUPS), or ask whoever looks after this computer "
                              "to, and try again.");
    case Kind::Password:
        return QStringLiteral("Quillo does not ask for passwords. ") +
               askTheAdministrator(QStringLiteral("let you print there without one"));
    case Kind::Forbidden:
        return askTheAdministrator(QStringLiteral("allow it"));
    case Kind::Busy:
        return QStringLiteral("Wait a moment and try again.");
    case Kind::TooLarge:
        return askTheAdministrator(QStringLiteral("raise the print service's size limit"));
    case Kind::NeedsEncryption:
        return askTheAdministrator(QStringLiteral("set up the print service's encryption"));
    case Kind::Redirected:
        return QStringLiteral("Quillo prints only through the print service this computer is set up for. ") +
               askTheAdministrator(QStringLiteral("check the computer's print settings"));
    case Kind::NotFound:
        if (step == Step::Job)
            return QStringLiteral("Choose a printer that exists as your default in the system's printer settings, "
                                  "and try again.");
        if (step == Step::LookUp)
            return checkTheService();
        return QStringLiteral("Check the printer and try again.");
    case Kind::NotAcceptingJobs:
        return QStringLiteral("Let it accept jobs again in the system's printer settings, or make another printer "
                              "the default, and try again.");
    case Kind::NotTaken:
        if (step == Step::Job || step == Step::Document)
            return QStringLiteral("Check the printer and try again.");
        return checkTheService();
    default:
        return checkTheService();
    }
}

QString PrintServiceFault::servicesWords() const
{
    return said.isEmpty() ? QString() : QStringLiteral(" The print service's own words: \"%1\"").arg(said);
}

QString PrintServiceFault::notPrinted(const QString& printer, int jobId) const
{
    if (step == Step::LookUp && aboutTheQuestion()) {
        const QString what = printer.isEmpty() ? QStringLiteral("the default printer")
                                               : QStringLiteral("the printer \"%1\"").arg(printer);
        return QStringLiteral("Quillo could not look up %1: %2. The check was not sent. %3")
                   .arg(what, reason(), advice()) +
               servicesWords();
    }
    if (step == Step::JobState || step == Step::Cancel) {
        return QStringLiteral("The print service took the check as job %1 on \"%2\", but Quillo could not find out "
                              "what became of it: %3. Quillo canceled the job, so the check was not printed. %4")
                   .arg(QString::number(jobId), printer, reason(), advice()) +
               servicesWords();
    }
    switch (kind) {
    case Kind::NotRunning:
        return QStringLiteral("The print service is not running, so the check was not printed. ") + advice();
    case Kind::TimeLimit:
        return QStringLiteral("The print service did not answer within %1 seconds, so the check was not printed. ")
                   .arg(number) +
               advice();
    case Kind::StoppedAnswering:
        return QStringLiteral("The print service stopped answering, so the check was not printed. ") + advice();
    case Kind::Unreadable:
        return QStringLiteral("The print service gave an answer that Quillo could not read, so the check was not "
                              "printed. ") +
               advice();
    case Kind::AnsweredEarly:
        return QStringLiteral("The print service answered before it had the whole check, so the check was not "
                              "printed. ") +
               advice();
    case Kind::Password:
        return QStringLiteral("The print service asks for a password to print%1, so the check was not printed. ")
                   .arg(on(printer)) +
               advice();
    case Kind::Forbidden:
        return QStringLiteral("The print service does not let you print%1, so the check was not printed. ")
                   .arg(on(printer)) +
               advice();
    case Kind::Busy:
        return QStringLiteral("The print service is busy, so the check was not printed. ") + advice();
    case Kind::TooLarge:
        return QStringLiteral("The print service refused the check as too large, so it was not printed. ") + advice();
    case Kind::NeedsEncryption:
        return QStringLiteral("The print service asks for an encrypted connection, so the check was not printed. ") +
               advice();
    case Kind::Redirected:
        return QStringLiteral("The print service sent Quillo to another address (HTTP %1), so the check was not "
                              "printed. ")
                   .arg(number) +
               advice();
    case Kind::Failed:
        return QStringLiteral("The print service failed (HTTP %1), so the check was not printed. ").arg(number) +
               advice();
    case Kind::NotFound:
        if (step == Step::Document) {
            return QStringLiteral("The print service no longer knew job %1 on \"%2\", so the check was not printed. ")
                       .arg(QString::number(jobId), printer) +
                   advice();
        }
        return QStringLiteral("The print service does not know the printer%1, so the check was not printed. ")
                   .arg(printer.isEmpty() ? QString() : QStringLiteral(" \"%1\"").arg(printer)) +
               advice();
    case Kind::NotAcceptingJobs:
        return QStringLiteral("The printer \"%1\" is not accepting jobs, so the check was not printed. ").arg(printer) +
               advice();
    case Kind::NotTaken:
    case Kind::NoJobNumber:
    case Kind::NoDocument:
        break;
    }
    return QStringLiteral("The printer \"%1\" did not take the check, so it was not printed. ").arg(printer) +
           advice() + servicesWords();
}

QString PrintServiceFault::reason() const
{
    switch (kind) {
    case Kind::NotRunning:
        return QStringLiteral("the print service is not running");
    case Kind::TimeLimit:
        return QStringLiteral("the print service did not answer within %1 seconds").arg(number);
    case Kind::StoppedAnswering:
        return QStringLiteral("the print service stopped answering");
    case Kind::Unreadable:
        return QStringLiteral("the print service gave an answer that Quillo could not read");
    case Kind::AnsweredEarly:
        return QStringLiteral("the print service answered before it had the whole check");
    case Kind::Password:
        return QStringLiteral("the print service asked for a password");
    case Kind::Forbidden:
        return step == Step::Job || step == Step::Document
                   ? QStringLiteral("the print service did not let you print there")
                   : QStringLiteral("the print service did not let Quillo %1").arg(action(step));
    case Kind::Busy:
        return QStringLiteral("the print service was busy");
    case Kind::TooLarge:
        return QStringLiteral("the print service refused %1 as too large").arg(question(step));
    case Kind::NeedsEncryption:
        return QStringLiteral("the print service asked for an encrypted connection");
    case Kind::Redirected:
        return QStringLiteral("the print service sent Quillo to another address (HTTP %1)").arg(number);
    case Kind::Failed:
        return QStringLiteral("the print service failed (HTTP %1)").arg(number);
    case Kind::NotFound:
        if (aboutTheJob(step))
            return QStringLiteral("the print service no longer knew the job");
        return step == Step::LookUp ? QStringLiteral("the print service did not know the printer")
                                    : QStringLiteral("the print service no longer knew the printer");
    case Kind::NotAcceptingJobs:
        return QStringLiteral("the printer stopped accepting jobs");
    case Kind::NoJobNumber:
        return QStringLiteral("the print service gave the job no number");
    case Kind::NoDocument:
        return QStringLiteral("the print service said it had the check, then showed the job without it");
    case Kind::NotTaken:
        break;
    }
    switch (step) {
    case Step::LookUp:
    case Step::JobState:
        return QStringLiteral("the print service did not answer %1").arg(question(step));
    case Step::Cancel:
        return QStringLiteral("the print service did not cancel the job");
    case Step::Job:
    case Step::Document:
        break;
    }
    return QStringLiteral("the printer did not take the check");
}

QString PrintServiceFault::uncertain(const QString& reason, const QString& printer, int jobId, const QString& after)
{
    const QString queue =
        jobId > 0 ? QStringLiteral("\"%1\" (job %2)").arg(printer).arg(jobId) : QStringLiteral("\"%1\"").arg(printer);
    return QStringLiteral("Quillo could not find out whether the check was printed: %1. Before printing it again, "
                          "look at the print queue of %2, so that the customer's account is not drawn twice.")
               .arg(reason, queue) +
           after;
}

QString PrintServiceFault::uncancelled(const PrintServiceFault& cause, const PrintServiceFault& cancel)
{
    return QStringLiteral("%1, and Quillo could not cancel the job: %2").arg(cause.reason(), cancel.reason());
}
