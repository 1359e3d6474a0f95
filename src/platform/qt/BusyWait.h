#pragma once

#include <atomic>
#include <chrono>
#include <functional>

// Waiting for slow work without freezing the windows.
namespace BusyWait {

// Runs `work` on a thread of its own while the windows go on painting, with a
// busy cursor and the user's input held back, until the work ends or `limit`
// has passed. A failure of the work is thrown again here.
//
// Returns false when the limit has passed. The work then goes on alone: it
// must own everything it uses, and its `abandoned` flag, now set, tells it to
// give up and tidy up.
bool run(std::function<void(const std::atomic<bool>& abandoned)> work, std::chrono::milliseconds limit);

} // namespace BusyWait
