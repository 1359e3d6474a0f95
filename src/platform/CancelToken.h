#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>

// Tells work on another thread that nobody waits for it any more. The work
// looks at it between steps; what blocks (a read from a socket, say) can ask
// to be interrupted the moment it is cancelled.
class CancelToken {
public:
    bool isCancelled() const { return m_cancelled.load(); }

    // Thread-safe; runs every interrupt registered now, once.
    void cancel()
    {
        const std::lock_guard lock(m_mutex);
        if (m_cancelled.exchange(true))
            return;
        for (const auto& [id, interrupt] : m_interrupts)
            interrupt();
        m_interrupts.clear();
    }

    // Runs `interrupt` when the token is cancelled, or at once if it already
    // is. The interrupt must not call back into the token. Returns the
    // registration for forget().
    int onCancel(std::function<void()> interrupt)
    {
        const std::lock_guard lock(m_mutex);
        if (m_cancelled.load()) {
            interrupt();
            return 0;
        }
        m_interrupts.emplace(++m_lastId, std::move(interrupt));
        return m_lastId;
    }

    // Drops a registration. Once this returns, its interrupt is not running
    // and never will, so what it would interrupt may be closed.
    void forget(int registration)
    {
        const std::lock_guard lock(m_mutex);
        m_interrupts.erase(registration);
    }

private:
    std::atomic<bool> m_cancelled{false};
    std::mutex m_mutex;
    std::map<int, std::function<void()>> m_interrupts;
    int m_lastId = 0;
};
