#include "system/cups/Deadline.h"

Deadline::Deadline(Clock::time_point at, std::function<void()> action)
    : m_at(at), m_action(std::move(action)), m_thread([this] { wait(); })
{}

Deadline::~Deadline()
{
    {
        const std::lock_guard lock(m_mutex);
        m_dropped = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

bool Deadline::passed() const
{
    const std::lock_guard lock(m_mutex);
    return m_passed;
}

void Deadline::wait()
{
    std::unique_lock lock(m_mutex);
    if (m_wake.wait_until(lock, m_at, [this] { return m_dropped; }))
        return;
    m_passed = true;
    lock.unlock();
    m_action();
}
