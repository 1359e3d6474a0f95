#include "print/LetterPrinters.h"

namespace {

// The printer, handing the letter's page to the default printer and telling
// its outcome in the letter's words.
class LetterPrinter : public PrintDestination {
public:
    explicit LetterPrinter(std::shared_ptr<PrintDestination> printer) : m_printer(std::move(printer)) {}

    QString name() const override { return m_printer->name(); }
    QPageLayout pageLayout() const override { return m_printer->pageLayout(); }
    QFuture<PrintOutcome> print(const PrintedPage& page) override
    {
        return m_printer->print(page).then([](const PrintOutcome& outcome) { return LetterPrinters::told(outcome); });
    }

private:
    std::shared_ptr<PrintDestination> m_printer;
};

QString onPrinter(const QString& printer)
{
    return printer.isEmpty() ? QString() : QStringLiteral(" on \"%1\"").arg(printer);
}

} // namespace

LetterPrinters::LetterPrinters(PrinterFinder& printers) : m_printers(printers) {}

QFuture<FoundPrinter> LetterPrinters::findDefault()
{
    return m_printers.findDefault().then([](const FoundPrinter& found) {
        if (found.printer)
            return FoundPrinter{std::make_shared<LetterPrinter>(found.printer), {}};
        return FoundPrinter{nullptr, QStringLiteral("No default printer was found, so the confirmation letter was not "
                                                    "printed. Set up a printer in the system's printer settings, "
                                                    "then print the letter again.")};
    });
}

PrintOutcome LetterPrinters::told(const PrintOutcome& outcome)
{
    PrintOutcome letter = outcome;
    switch (outcome.kind) {
    case PrintOutcome::Kind::Printed:
        break;
    case PrintOutcome::Kind::NotPrinted:
        letter.message = QStringLiteral("The confirmation letter was not printed%1. Check the printer, then print "
                                        "the letter again.")
                             .arg(onPrinter(outcome.printer));
        break;
    case PrintOutcome::Kind::Uncertain:
        letter.message =
            QStringLiteral("Quillo could not find out whether the confirmation letter was printed%1%2. Look at the "
                           "printer before printing the letter again.")
                .arg(onPrinter(outcome.printer),
                     outcome.jobId > 0 ? QStringLiteral(" (job %1)").arg(outcome.jobId) : QString());
        break;
    }
    return letter;
}
