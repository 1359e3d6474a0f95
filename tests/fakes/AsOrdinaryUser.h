#pragma once

#include <QString>
#include <functional>

// Runs `body`, a part of a test whose outcome rests on permission bits, as a
// user whom those bits bind. Root passes them, so as root the body runs in a
// child process that has become "nobody", after `folder` and everything in it
// have been handed to that user; `folder` must lie where every user may pass
// (as the system's temporary folder does). The child logs its own failures.
// Returns whether the body ran without a failure.
bool runAsOrdinaryUser(const QString& folder, const std::function<void()>& body);
