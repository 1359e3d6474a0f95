#include "register/UncertainSettler.h"

#include "print/PrintJobStates.h"
#include "register/RegisterError.h"
#include "register/UncertainPrints.h"

namespace {

QString stateName(PrintJobState state)
{
    switch (state) {
    case PrintJobState::Pending:
        return QStringLiteral("pending");
    case PrintJobState::Completed:
        return QStringLiteral("completed");
    case PrintJobState::Canceled:
        return QStringLiteral("canceled");
    case PrintJobState::Aborted:
        return QStringLiteral("aborted");
    case PrintJobState::Unknown:
        break;
    }
    return QString();
}

} // namespace

UncertainSettler::UncertainSettler(std::function<UncertainPrints&()> openRegister, PrintJobStates& states,
                                   QObject* parent)
    : QObject(parent), m_openRegister(std::move(openRegister)), m_states(states)
{}

void UncertainSettler::settle()
{
    if (m_waiting > 0)
        return;
    std::vector<UncertainPrint> prints;
    try {
        prints = m_openRegister().uncertainPrints();
    } catch (const RegisterError&) {
        // A register that cannot be opened says so when a draft is printed.
        Q_EMIT settled();
        return;
    }
    // Nothing to ask the service about without a printer and a job number.
    std::vector<std::pair<UncertainPrint, int>> asked;
    for (const UncertainPrint& print : prints) {
        bool numbered = false;
        const int job = print.jobId.toInt(&numbered);
        if (numbered && job > 0 && !print.printer.isEmpty())
            asked.emplace_back(print, job);
    }
    if (asked.empty()) {
        Q_EMIT settled();
        return;
    }
    // Counted before the first question: an answer may come at once.
    m_waiting = int(asked.size());
    for (const auto& [print, job] : asked) {
        m_states.stateOf(print.printer, job).then(this, [this, print = print](PrintJobState state) {
            // Still pending, it may yet print either way; unknown, nothing was learnt.
            if (state != PrintJobState::Pending && state != PrintJobState::Unknown) {
                const bool printed = state == PrintJobState::Completed;
                try {
                    m_openRegister().recordLookUp(print, printed, stateName(state));
                    Q_EMIT lookedUp(print.draft, printed);
                } catch (const RegisterError&) {
                }
            }
            answered();
        });
    }
}

void UncertainSettler::answered()
{
    if (--m_waiting == 0)
        Q_EMIT settled();
}
