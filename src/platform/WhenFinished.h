#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <utility>

// Calls `callback` on `receiver`'s thread once `future` has finished, with
// its result (none for QFuture<void>), and never once `receiver` is gone.
// QFuture::then(receiver, ...) of Qt 6.4 asserts when the receiver is
// destroyed before the future finishes, which happens whenever the program
// closes while a worker or the keyring is still busy.
template <typename T, typename Callback>
void whenFinished(const QFuture<T>& future, QObject* receiver, Callback&& callback)
{
    auto* watcher = new QFutureWatcher<T>(receiver);
    QObject::connect(watcher, &QFutureWatcherBase::finished, receiver,
                     [watcher, callback = std::forward<Callback>(callback)]() mutable {
                         watcher->deleteLater();
                         if constexpr (std::is_void_v<T>)
                             callback();
                         else
                             callback(watcher->result());
                     });
    watcher->setFuture(future);
}
