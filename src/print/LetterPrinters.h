#pragma once

#include "print/PrinterFinder.h"

// The default printer as the confirmation letter goes to it. The print
// service's sentences speak of the check, which by then has printed and is
// on record; a letter that fails is told as the letter's failure, with what
// the merchant can do about it, and never as a check not printed.
class LetterPrinters : public PrinterFinder {
public:
    explicit LetterPrinters(PrinterFinder& printers);

    QFuture<FoundPrinter> findDefault() override;

    // The letter's own sentence for `outcome`; a printed one is left as it is.
    static PrintOutcome told(const PrintOutcome& outcome);

private:
    PrinterFinder& m_printers;
};
