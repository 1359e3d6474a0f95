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
// future, on the caller's thread. The wait has a limit; when it passes first,
// the work's token is cancelled and the future takes `atLimit`'s answer. A
// caller that cancels the future cancels the token too.
//
// The work may outlive the wait, so it must own what it uses.
namespace BoundedWork {

template <typename T>
QFuture<T> run(std::function<T(CancelToken&)> work, std::chrono::milliseconds limit, std::function<T()> atLimit)
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
    QObject::connect(timer, &QTimer::timeout, watcher, [token, settle, atLimit] {
        token->cancel();
        settle(atLimit());
    });
    // A caller that gives up the wait cancels the answer: the work is told at once.
    auto* caller = new QFutureWatcher<T>(watcher);
    QObject::connect(caller, &QFutureWatcherBase::canceled, watcher, [token] { token->cancel(); });
    caller->setFuture(answer);
    timer->start(limit);
    watcher->setFuture(QtConcurrent::run([token, work = std::move(work)] { return work(*token); }));
    return answer;
}

} // namespace BoundedWork
