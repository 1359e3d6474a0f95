#pragma once

#include "print/PrintDestination.h"
#include "print/PrintedPage.h"
#include "print/PrinterFinder.h"

#include <QList>
#include <QPageLayout>
#include <QPromise>
#include <memory>

// A printer that keeps each page it is handed, and confirms it, refuses it,
// or holds it until the test answers. Its paper is Letter with the printable
// area of the CUPS generic PDF driver unless a test sets another.
class FakePrintDestination : public PrintDestination {
public:
    QString name() const override { return QStringLiteral("Front Desk"); }
    QPageLayout pageLayout() const override { return layout; }
    QFuture<PrintOutcome> print(const PrintedPage& page) override
    {
        pages.append(page);
        if (startsJob > 0 && jobStarted())
            jobStarted()(startsJob);
        if (holds) {
            m_held = std::make_shared<QPromise<PrintOutcome>>();
            m_held->start();
            return m_held->future();
        }
        return QtFuture::makeReadyFuture(refusal.isEmpty() ? PrintOutcome::confirmed(name(), 7)
                                                           : PrintOutcome::notPrinted(refusal, name()));
    }

    // Gives the held page its outcome.
    void answer(const PrintOutcome& outcome)
    {
        m_held->addResult(outcome);
        m_held->finish();
    }

    QPageLayout layout{QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(18, 36, 18, 36),
                       QPageLayout::Point};
    QString refusal;
    bool holds = false;
    // The number of the job it tells as started, before the page's outcome; 0 for none.
    int startsJob = 0;
    QList<PrintedPage> pages;

private:
    std::shared_ptr<QPromise<PrintOutcome>> m_held;
};

// A print service whose default printer is `printer`, or that has none and
// says `failure`; it answers at once unless told to hold its answer.
class FakePrinterFinder : public PrinterFinder {
public:
    QFuture<FoundPrinter> findDefault() override
    {
        ++lookUps;
        auto promise = std::make_shared<QPromise<FoundPrinter>>();
        promise->start();
        m_held = promise;
        if (!holds)
            answer();
        return promise->future();
    }

    // Gives the held look-up its answer.
    void answer()
    {
        // The test keeps the printer; the finder's answer only borrows it.
        std::shared_ptr<PrintDestination> borrowed(&printer, [](PrintDestination*) {});
        m_held->addResult(failure.isEmpty() ? FoundPrinter{borrowed, {}} : FoundPrinter{nullptr, failure});
        m_held->finish();
    }

    FakePrintDestination printer;
    QString failure;
    bool holds = false;
    int lookUps = 0;

private:
    std::shared_ptr<QPromise<FoundPrinter>> m_held;
};
