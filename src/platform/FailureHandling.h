#pragma once

#include <QString>
#include <functional>
#include <initializer_list>
#include <type_traits>
#include <utility>

class MessageBoxService;

// The central place that tells the merchant about a failure that the handler
// it happened in does not handle itself. The program and the window's contents
// live on after a report.
class FailureReporter {
public:
    virtual ~FailureReporter() = default;
    virtual void report(const QString& message) = 0;
};

// Reports failures in a message box.
class MessageBoxFailureReporter : public FailureReporter {
public:
    explicit MessageBoxFailureReporter(MessageBoxService& messages) : m_messages(messages) {}
    void report(const QString& message) override;

private:
    MessageBoxService& m_messages;
};

// The program's ways of handling a failure, built once so that handlers say
// which one they use instead of repeating try/catch blocks. A failure is a
// QuilloError; anything else that escapes a step is treated the same way.
namespace Failures {

using Step = std::function<void()>;

// Ignore-errors mode: every step runs in turn; a step that fails is abandoned
// (with whatever it called) and the next one runs. Nothing is reported.
void ignoreErrors(std::initializer_list<Step> steps);

// One fixed message for any failure of `body`.
void withFixedMessage(MessageBoxService& messages, const QString& message, const Step& body);

// A handler without handling of its own: a failure goes to the central reporter.
void reportTo(FailureReporter& reporter, const Step& body);

// Runs `body` and tells whether it succeeded; on failure the message for the
// merchant goes to `failureMessage`. For callers that must know the outcome.
bool succeeds(const Step& body, QString* failureMessage = nullptr);

// Wraps a handler for connect(): Qt must never see an exception, so the
// wrapper reports failures centrally at the handler's boundary. A handler that
// takes no arguments ignores those of the signal.
template <typename Handler> auto guarded(FailureReporter& reporter, Handler handler)
{
    return [&reporter, handler = std::move(handler)](auto&&... args) {
        reportTo(reporter, [&] {
            if constexpr (std::is_invocable_v<const Handler&, decltype(args)...>)
                handler(std::forward<decltype(args)>(args)...);
            else
                handler();
        });
    };
}

} // namespace Failures
