#pragma once

#include "platform/CancelToken.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QPromise>
#include <QTimer>
#include <QtConcurrent>

#include <chrono>
#include <functional>
#include <memory>

// Work that may block (a conversation with a print service) on a thread of
// its own, while the caller's event loop goes on: the answer comes back as a
// future, on the caller's thread.
//
// The wait has a limit. When it passes, the work's token is cancelled and the
// work's own answer is still the one awaited: only the work knows what it did
// before it stopped (whether a page may have reached a printer, say), so it
// must stop promptly once told. Should it not have answered after a further
// grace period, `unanswered` answers in its place, and whatever the work says
// later is ignored. A caller that cancels the future cancels the token too.
//
// The work may outlive the wait, so it must own what it uses.
namespace BoundedWork {

struct Limits {
    std::chrono::milliseconds wait;  // then the token is cancelled
    std::chrono::milliseconds grace; // then `unanswered` answers
};

template <typename T> QFuture<T> run(std::function<T(CancelToken&)> work, Limits limits, std::function<T()> unanswered)
{
    auto token = std::make_shared<CancelToken>();
    auto promise = std::make_shared<QPromise<T>>();
    promise->start();
    QFuture<T> answer = promise->future();

    auto* watcher = new QFutureWatcher<T>();
    auto* timer = new QTimer(watcher);
    timer->setSingleShot(true);
    // The watcher and the timer live on the caller's thread, so whichever
    // comes first is the one answer.
    auto settle = [promise](T value) {
        if (promise->future().isFinished())
            return;
        promise->addResult(std::move(value));
        promise->finish();
    };
    QObject::connect(watcher, &QFutureWatcherBase::finished, watcher, [watcher, settle] {
        settle(watcher->result());
        watcher->deleteLater();
    });
    QObject::connect(timer, &QTimer::timeout, watcher, [token, timer, settle, unanswered, grace = limits.grace] {
        if (!token->isCancelled()) {
            token->cancel();
            timer->start(grace);
            return;
        }
        settle(unanswered());
    });
    // A caller that gives up the wait cancels the answer: the work is told at once.
    auto* caller = new QFutureWatcher<T>(watcher);
    QObject::connect(caller, &QFutureWatcherBase::canceled, watcher, [token] { token->cancel(); });
    caller->setFuture(answer);
    timer->start(limits.wait);
    watcher->setFuture(QtConcurrent::run([token, work = std::move(work)] { return work(*token); }));
    return answer;
}

} // namespace BoundedWork
