#pragma once

#include <QString>

// Starts other programs.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;

    // Starts the program at `program` (the whole text is its path; no
    // arguments are split off) in a normal window with the focus and returns
    // at once, without waiting for it or watching it. False when the program
    // could not be started.
    virtual bool startDetached(const QString& program) = 0;
};
