#include "platform/FailureHandling.h"

#include "platform/MessageBoxService.h"
#include "platform/QuilloError.h"

#include <exception>
#include <new>

namespace {

// Runs one step and turns whatever it throws into a message for a person.
bool runStep(const Failures::Step& step, QString* message)
{
    try {
        step();
        return true;
    } catch (const QuilloError& error) {
        if (message)
            *message = error.message();
    } catch (const std::bad_alloc&) {
        if (message)
            *message = QStringLiteral("Quillo ran out of memory and could not finish the command.");
    } catch (const std::exception& error) {
        if (message)
            *message =
                QStringLiteral("Quillo could not finish the command: %1").arg(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        if (message)
            *message = QStringLiteral("Quillo could not finish the command because of an unexpected error.");
    }
    return false;
}

} // namespace

void MessageBoxFailureReporter::report(const QString& message)
{
    m_messages.show(message);
}

namespace Failures {

void ignoreErrors(std::initializer_list<Step> steps)
{
    for (const Step& step : steps)
        runStep(step, nullptr);
}

void withFixedMessage(MessageBoxService& messages, const QString& message, const Step& body)
{
    if (!runStep(body, nullptr))
        messages.show(message);
}

void reportTo(FailureReporter& reporter, const Step& body)
{
    QString message;
    if (!runStep(body, &message))
        reporter.report(message);
}

bool succeeds(const Step& body, QString* failureMessage)
{
    return runStep(body, failureMessage);
}

} // namespace Failures
