#include "print/Printing.h"

#include "platform/WhenFinished.h"

#include "platform/FailureHandling.h"
#include "platform/MessageBoxService.h"
#include "platform/QuilloError.h"
#include "print/PageBuilder.h"
#include "print/PaperPolicy.h"
#include "print/PrintDestination.h"
#include "print/PrinterFinder.h"

#include <QThread>

Printing::Printing(PrinterFinder& printers, MessageBoxService& messages, FailureReporter& failures,
                   DraftJournal* journal, QObject* parent)
    : QObject(parent), m_printers(printers), m_messages(messages), m_failures(failures), m_journal(journal),
      m_defaultLayout(PaperPolicy::fallbackLayout())
{}

Printing::~Printing() = default;

Printing::Composed Printing::compose(const QPageLayout& layout, const Compose& compose)
{
    PageBuilder builder(layout);
    std::vector<QuickPrint::Overflow> overflows = compose(builder);
    return {builder.page(), std::move(overflows), builder.extent()};
}

void Printing::toDefaultPrinter(Compose compose, QString confirmation, Done done, std::optional<SentDraft> draft)
{
    if (isBusy())
        return;
    afterJournal(draft, [this, compose = std::move(compose), confirmation = std::move(confirmation),
                         done = std::move(done)](const std::shared_ptr<DraftTicket>& ticket) {
        lookUp([this, compose, confirmation, done, ticket](const FoundPrinter& found) {
            if (!found.printer) {
                tell(PrintOutcome::notPrinted(found.failure), confirmation, done);
                return;
            }
            send(found.printer, compose, confirmation, done, ticket);
        });
        if (!isBusy())
            Q_EMIT finished();
    });
}

void Printing::toDestination(OpenDestination open, Compose compose, QString confirmation, Done done,
                             std::optional<SentDraft> draft)
{
    if (isBusy())
        return;
    afterJournal(draft,
                 [this, open = std::move(open), compose = std::move(compose), confirmation = std::move(confirmation),
                  done = std::move(done)](const std::shared_ptr<DraftTicket>& ticket) {
                     withDefaultLayout([this, open, compose, confirmation, done, ticket](const QPageLayout& layout) {
                         send(open(layout), compose, confirmation, done, ticket);
                     });
                 });
}

void Printing::afterJournal(const std::optional<SentDraft>& draft,
                            std::function<void(const std::shared_ptr<DraftTicket>& ticket)> then)
{
    const auto goOn = [this, draft, then = std::move(then)] {
        std::shared_ptr<DraftTicket> ticket;
        if (maySend(draft, ticket))
            then(ticket);
    };
    const QFuture<void> ready = draft && m_journal ? m_journal->ready() : QtFuture::makeReadyFuture();
    if (ready.isFinished()) {
        goOn();
        return;
    }
    // The window goes on meanwhile, its input held as for any wait.
    const int generation = ++m_generation;
    setStep(Step::PreparingJournal);
    whenFinished(ready, this, [this, generation, goOn] {
        if (generation != m_generation)
            return; // stopped: the command was dropped
        setStep(Step::Idle);
        Failures::reportTo(m_failures, goOn);
    });
}

bool Printing::maySend(const std::optional<SentDraft>& draft, std::shared_ptr<DraftTicket>& ticket)
{
    if (!draft || !m_journal)
        return true;
    ticket = m_journal->maySend(*draft);
    return ticket != nullptr;
}

void Printing::withDefaultLayout(std::function<void(const QPageLayout& layout)> then)
{
    if (isBusy())
        return;
    lookUp([then = std::move(then)](const FoundPrinter& found) {
        then(found.printer ? found.printer->pageLayout() : PaperPolicy::fallbackLayout());
    });
    if (!isBusy())
        Q_EMIT finished();
}

void Printing::stop()
{
    if (!canStopSafely())
        return;
    ++m_generation;
    // The look-up's work is told to give up; nothing waits for its answer.
    if (m_step == Step::LookingUp)
        m_waiting.cancel();
    setStep(Step::Idle);
    Q_EMIT finished();
}

void Printing::refreshDefaultLayout()
{
    m_printers.findDefault().then(this, [this](const FoundPrinter& found) { remember(found); });
}

void Printing::lookUp(std::function<void(const FoundPrinter& found)> then)
{
    whenReady<FoundPrinter>(m_printers.findDefault(), Step::LookingUp,
                            [this, then = std::move(then)](const FoundPrinter& found) {
                                remember(found);
                                then(found);
                            });
}

void Printing::remember(const FoundPrinter& found)
{
    const QPageLayout layout = found.printer ? found.printer->pageLayout() : PaperPolicy::fallbackLayout();
    if (layout.isEquivalentTo(m_defaultLayout))
        return;
    m_defaultLayout = layout;
    Q_EMIT defaultLayoutChanged(m_defaultLayout);
}

void Printing::send(std::shared_ptr<PrintDestination> destination, const Compose& compose, const QString& confirmation,
                    const Done& done, const std::shared_ptr<DraftTicket>& ticket)
{
    const Composed page = Printing::compose(destination->pageLayout(), compose);
    // Nothing has reached the destination yet: a page that would be cut off
    // at an edge is not sent at all.
    if (!page.overflows.empty()) {
        const QRectF printable = page.page.layout().paintRect(QPageLayout::Inch);
        tell(PrintOutcome::notPrinted(QuickPrint::refusal(page.overflows, printable.width()), destination->name()),
             confirmation, done);
        return;
    }
    if (ticket && !ticket->sending(destination->name()))
        return;
    // A draft's job is on record before its document goes: the service's
    // thread waits for it. A destination kept between commands forgets the
    // last one's draft.
    destination->onJobStarted(!ticket ? PrintDestination::JobStarted() : [this, ticket](int jobId) {
        if (QThread::currentThread() == thread())
            ticket->jobStarted(jobId);
        else
            QMetaObject::invokeMethod(
                this, [ticket, jobId] { ticket->jobStarted(jobId); }, Qt::BlockingQueuedConnection);
    });
    QFuture<PrintOutcome> outcome;
    try {
        outcome = destination->print(page.page);
    } catch (const QuilloError& error) {
        outcome = QtFuture::makeReadyFuture(PrintOutcome::notPrinted(error.message(), destination->name()));
    }
    // The destination stays until its answer is in.
    whenReady<PrintOutcome>(outcome, Step::Sending,
                            [this, destination, confirmation, done, ticket](const PrintOutcome& answer) {
                                // On record before the merchant reads it, in case the program is stopped then.
                                const QString unrecorded = ticket ? ticket->sent(answer) : QString();
                                tell(answer, confirmation, done);
                                if (!unrecorded.isEmpty())
                                    m_failures.report(unrecorded);
                            });
}

void Printing::tell(const PrintOutcome& outcome, const QString& confirmation, const Done& done)
{
    Failures::reportTo(m_failures, [&] {
        if (outcome.printed())
            m_messages.show(confirmation);
        else
            m_failures.report(outcome.message);
        if (done)
            done(outcome);
    });
}

template <typename T> void Printing::whenReady(QFuture<T> future, Step step, std::function<void(const T&)> then)
{
    if (future.isFinished()) {
        then(future.result());
        return;
    }
    const int generation = ++m_generation;
    m_waiting = QFuture<void>(future);
    setStep(step);
    future.then(this, [this, generation, then](const T& value) {
        if (generation != m_generation)
            return; // stopped: nobody waits for this answer any more
        setStep(Step::Idle);
        // Nothing above this on the stack would see a failure now.
        Failures::reportTo(m_failures, [&] { then(value); });
        if (!isBusy())
            Q_EMIT finished();
    });
}

void Printing::setStep(Step step)
{
    const bool wasBusy = isBusy();
    m_step = step;
    if (wasBusy != isBusy())
        Q_EMIT busyChanged(isBusy());
}
