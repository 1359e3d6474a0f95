#pragma once

#include "platform/ProcessStarter.h"

// Starts programs with QProcess::startDetached: the program runs on its own
// and Quillo neither waits for it nor watches it.
class QtProcessStarter : public ProcessStarter {
public:
    bool startDetached(const QString& program) override;
};
