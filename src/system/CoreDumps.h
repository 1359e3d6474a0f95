#pragma once

// Keeps the process's memory, which holds the register's keys and
// passphrase while it runs, out of core dumps and away from other programs
// of the same user that would read it (a debugger attaching, /proc/<pid>/mem).
namespace CoreDumps {

// Turns core dumps off for the rest of the run. False where the system
// refused or knows no such setting.
bool turnOff();

// Whether the system would write a core dump of this process now.
bool areOn();

} // namespace CoreDumps
