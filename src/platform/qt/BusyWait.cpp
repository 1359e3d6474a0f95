#include "platform/qt/BusyWait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

#include <exception>
#include <memory>
#include <thread>

namespace {

// Shared by the waiting window thread and the working thread, which may
// outlive the wait.
struct Shared {
    std::atomic<bool> done{false};
    std::atomic<bool> abandoned{false};
    std::exception_ptr failure;
};

// A busy cursor for as long as it lives.
class BusyCursor {
public:
    BusyCursor()
    {
        if (m_shown)
            QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    }
    ~BusyCursor()
    {
        if (m_shown)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    // Without a GUI application there is no cursor to show.
    const bool m_shown = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
};

} // namespace

namespace BusyWait {

bool run(std::function<void(const std::atomic<bool>& abandoned)> work, std::chrono::milliseconds limit)
{
    auto shared = std::make_shared<Shared>();
    std::thread worker([shared, work = std::move(work)] {
        try {
            work(shared->abandoned);
        } catch (...) {
            shared->failure = std::current_exception();
        }
        shared->done = true;
    });

    {
        const BusyCursor cursor;
        QElapsedTimer elapsed;
        elapsed.start();
        QEventLoop loop;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (shared->done || elapsed.elapsed() >= limit.count())
                loop.quit();
        });
        poll.start();
        // Painting and timers go on; keys and clicks wait until the answer,
        // so that what is printed is what the window shows.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }

    if (!shared->done) {
        shared->abandoned = true;
        worker.detach();
        return false;
    }
    worker.join();
    if (shared->failure)
        std::rethrow_exception(shared->failure);
    return true;
}

} // namespace BusyWait
