#pragma once

#include <QString>

// Why a request to the print service did not succeed, told two ways: as the
// whole message when nothing can print, and as the reason inside the
// uncertain message when the check may print all the same.
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
        NotFound,         // the service does not know the printer
        NotAcceptingJobs, // the printer refuses jobs
        NotTaken,         // any other refusal, in the service's words (`said`)
        NoJobNumber,      // a job was made but its number cannot be read
    };

    PrintServiceFault() = default;
    PrintServiceFault(Kind kind, int number = 0, QString said = {}) : kind(kind), number(number), said(std::move(said))
    {}

    Kind kind = Kind::StoppedAnswering;
    int number = 0;
    QString said;

    // The fault a print service's answer names: an HTTP status other than
    // 200, or with 200, an unsuccessful IPP status and its status message.
    static PrintServiceFault ofAnswer(int httpStatus, int ippStatus, const QString& said = {});

    // "The print service is busy, so the check was not printed. …"
    QString notPrinted(const QString& printer) const;
    // "the print service was busy", for the uncertain message.
    QString reason() const;

    // The message for a check that may print: where to look before printing
    // it again. Without a job number, the printer alone is named.
    static QString uncertain(const QString& reason, const QString& printer, int jobId);
};
