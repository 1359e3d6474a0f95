#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Runs an action once a moment has passed, on a thread of its own, so that
// what blocks the calling thread (a read from a print service that trickles
// its answer, say) can be ended from outside.
class Deadline {
public:
    using Clock = std::chrono::steady_clock;

    Deadline(Clock::time_point at, std::function<void()> action);
    // Once this returns, the action has run or never will.
    ~Deadline();
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

    bool passed() const;

private:
    void wait();

    const Clock::time_point m_at;
    const std::function<void()> m_action;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_dropped = false;
    bool m_passed = false;
    std::thread m_thread;
};
