#pragma once

#include "print/DraftJournal.h"
#include "print/PrintOutcome.h"
#include "print/PrintedPage.h"
#include "print/QuickPrint.h"

#include <QFuture>
#include <QObject>
#include <QPageLayout>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class FailureReporter;
class MessageBoxService;
class PrintDestination;
class PrintSurface;
struct FoundPrinter;
class PrinterFinder;

// How every page leaves Quillo: the command chooses the destination, the page
// is composed for its paper, a page with an item that would not fit is
// refused, and the rest is sent whole and its outcome told to the merchant.
//
// Nothing here blocks: a wait for the print service runs while the event loop
// goes on, and busyChanged() tells the windows to hold the merchant's input
// meanwhile. One command runs at a time.
class Printing : public QObject {
    Q_OBJECT

public:
    // Composes a page on the surface and returns the items that would not fit.
    using Compose = std::function<std::vector<QuickPrint::Overflow>(PrintSurface& surface)>;
    // Runs once the merchant has been told what became of the page.
    using Done = std::function<void(const PrintOutcome& outcome)>;
    // A destination the command chose, for a page on `layout`.
    using OpenDestination = std::function<std::unique_ptr<PrintDestination>(const QPageLayout& layout)>;

    // A page, the items on it that would not fit, and the rectangle that
    // holds everything drawn on it (in the page's units, from the printable
    // area's corner).
    struct Composed {
        PrintedPage page;
        std::vector<QuickPrint::Overflow> overflows;
        QRectF extent;
    };

    Printing(PrinterFinder& printers, MessageBoxService& messages, FailureReporter& failures,
             DraftJournal* journal = nullptr, QObject* parent = nullptr);
    ~Printing() override;

    // The page on `layout`, as every command composes it.
    static Composed compose(const QPageLayout& layout, const Compose& compose);

    // To the default printer: a missing printer is reported before anything
    // is composed; a printed page is confirmed with `confirmation`. A page
    // that is a draft goes through the journal: its questions come first, it
    // is recorded as it goes, and its outcome after.
    void toDefaultPrinter(Compose compose, QString confirmation, Done done = {},
                          std::optional<SentDraft> draft = std::nullopt);
    // To a destination the command opens, on the default printer's paper (US
    // Letter when there is none).
    void toDestination(OpenDestination open, Compose compose, QString confirmation, Done done = {},
                       std::optional<SentDraft> draft = std::nullopt);
    // Runs `then` with the default printer's paper and printable area, or US
    // Letter's when there is no default printer.
    void withDefaultLayout(std::function<void(const QPageLayout& layout)> then);

    // The default printer's paper and printable area as last looked up by any
    // command, US Letter's until then.
    const QPageLayout& defaultLayout() const { return m_defaultLayout; }
    // Looks the default printer up again for defaultLayout(), without making
    // the merchant wait: the answer is only remembered.
    void refreshDefaultLayout();

    // Whether a command waits for the print service now.
    bool isBusy() const { return m_step != Step::Idle; }
    // Whether what it waits for may be dropped without consequence: a
    // printer look-up, but never a page on its way.
    bool canStopSafely() const { return m_step == Step::LookingUp || m_step == Step::PreparingJournal; }
    // Drops a look-up, or the wait for the journal: its answer, whenever it
    // comes, is ignored.
    void stop();

Q_SIGNALS:
    void busyChanged(bool busy);
    // A command has ended and the merchant has been told its outcome.
    void finished();
    // A look-up found another paper or printable area than defaultLayout() had.
    void defaultLayoutChanged(const QPageLayout& layout);

private:
    enum class Step { Idle, PreparingJournal, LookingUp, Sending };

    void lookUp(std::function<void(const FoundPrinter& found)> then);
    void send(std::shared_ptr<PrintDestination> destination, const Compose& compose, const QString& confirmation,
              const Done& done, const std::shared_ptr<DraftTicket>& ticket);
    // Once the journal is ready (at once, or when its future finishes),
    // runs `then` with the draft's ticket if the journal lets it go; a page
    // that is no draft goes at once, without one.
    void afterJournal(const std::optional<SentDraft>& draft,
                      std::function<void(const std::shared_ptr<DraftTicket>& ticket)> then);
    // Whether the journal lets `draft` go, with its ticket in `ticket`; a
    // page that is no draft always goes, without one.
    bool maySend(const std::optional<SentDraft>& draft, std::shared_ptr<DraftTicket>& ticket);
    void tell(const PrintOutcome& outcome, const QString& confirmation, const Done& done);
    // Runs `then` with the future's value now if it is there, or when it comes.
    template <typename T> void whenReady(QFuture<T> future, Step step, std::function<void(const T&)> then);
    void setStep(Step step);
    void remember(const FoundPrinter& found);

    PrinterFinder& m_printers;
    MessageBoxService& m_messages;
    FailureReporter& m_failures;
    DraftJournal* m_journal;
    Step m_step = Step::Idle;
    // Tells a stopped wait's late answer from the current one's.
    int m_generation = 0;
    QFuture<void> m_waiting;
    QPageLayout m_defaultLayout;
};
