#pragma once

#include <QString>

// What became of a page sent to a destination. A merchant who is told a
// draft was not printed prints it again, so "not printed" is only ever said
// when nothing can print afterwards; when that cannot be known, the outcome
// is uncertain and names where to look.
struct PrintOutcome {
    enum class Kind {
        Printed,    // the destination confirmed the whole page
        NotPrinted, // nothing of it can print
        Uncertain,  // it may print: look at the queue before printing again
    };

    Kind kind = Kind::NotPrinted;
    // For a page not printed or uncertain: the sentence that tells the merchant why.
    QString message;
    // Where the page went, and the print service's number for the job (0: none).
    QString printer;
    int jobId = 0;

    bool printed() const { return kind == Kind::Printed; }

    static PrintOutcome confirmed(QString printer = {}, int jobId = 0)
    {
        return {Kind::Printed, {}, std::move(printer), jobId};
    }
    static PrintOutcome notPrinted(QString message, QString printer = {}, int jobId = 0)
    {
        return {Kind::NotPrinted, std::move(message), std::move(printer), jobId};
    }
    static PrintOutcome uncertain(QString message, QString printer, int jobId)
    {
        return {Kind::Uncertain, std::move(message), std::move(printer), jobId};
    }
};
