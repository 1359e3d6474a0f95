#pragma once

#include <QString>

// Why a request to the print service did not succeed, told two ways: as the
// whole message when nothing can print, and as the reason inside the
// uncertain message when the check may print all the same. Each request is
// one step of a print, and a refusal is told as that step's: a question
// about the job refused as too large is not the check refused as too large.
// Words of the service's own are passed on in quotation marks, after
// Quillo's conclusion.
struct PrintServiceFault {
    enum class Kind {
        NotRunning,       // no connection to the service
        TimeLimit,        // no whole answer within `number` seconds
        StoppedAnswering, // the connection broke before the answer
        Unreadable,       // an answer that is not one, or another request's
        AnsweredEarly,    // an answer before the whole document was sent
        Password,         // the service asks who is printing
        Forbidden,        // the service does not let this user print there
        Busy,             // the service asks to try again later
        TooLarge,         // the service refuses the request's size
        NeedsEncryption,  // the service asks for an encrypted connection
        Redirected,       // an HTTP redirection (`number`), which is not followed
        Failed,           // any other HTTP answer (`number`)
        NotFound,         // the service does not know the printer, or the job
        NotAcceptingJobs, // the printer refuses jobs
        NotTaken,         // any other refusal, in the service's words (`said`)
        NoJobNumber,      // a job was made but its number cannot be read
        NoDocument,       // the job, once sent, shows no document in it
    };

    enum class Step {
        LookUp,   // naming the default printer, or asking for its paper
        Job,      // creating the job
        Document, // sending the check into the job
        JobState, // asking what became of the job
        Cancel,   // cancelling the job after a failure
    };

    PrintServiceFault() = default;
    PrintServiceFault(Kind kind, int number = 0, QString said = {}) : kind(kind), number(number), said(std::move(said))
    {}

    Kind kind = Kind::StoppedAnswering;
    int number = 0;
    QString said;
    Step step = Step::Job;

    // The fault a print service's answer names: an HTTP status other than
    // 200, or with 200, an unsuccessful IPP status and its status message.
    static PrintServiceFault ofAnswer(int httpStatus, int ippStatus, const QString& said = {});

    // This fault as the failure of `step`.
    PrintServiceFault during(Step step) const;

    // "The print service is busy, so the check was not printed. …": the whole
    // message for a check that cannot print. After a failed look-up, it says
    // that the check was not sent; after a failed question about job
    // `jobId`, that the job was cancelled.
    QString notPrinted(const QString& printer, int jobId = 0) const;
    // "the print service was busy", for the uncertain message.
    QString reason() const;
    // The service's own words, quoted, to follow Quillo's sentences; or nothing.
    QString servicesWords() const;

    // The message for a check that may print: where to look before printing
    // it again. Without a job number, the printer alone is named. `after`
    // (the service's words) follows it.
    static QString uncertain(const QString& reason, const QString& printer, int jobId, const QString& after = {});
    // The reason for the uncertain message when the cancel after `cause`
    // failed as well: both steps' failures.
    static QString uncancelled(const PrintServiceFault& cause, const PrintServiceFault& cancel);

private:
    // What to do about it, as the whole message ends.
    QString advice() const;
    // Whether this fault belongs to the step, not to the check: a refused
    // question is not a refused check.
    bool aboutTheQuestion() const;
};
