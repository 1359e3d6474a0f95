#pragma once

#include <QString>
#include <cstdint>

// What a bench program measures of itself, read from the kernel. Times are in
// nanoseconds of CLOCK_BOOTTIME, the clock the runner starts its stopwatch
// on, so that "since the process started" spans the start of the process too.
namespace ProcessStats {

// Now.
std::int64_t bootNs();
// When this process started, from /proc/self/stat (10 ms steps).
std::int64_t startNs();
// Peak and current resident memory (VmHWM, VmRSS), in KiB.
std::int64_t peakResidentKb();
std::int64_t residentKb();
// Resident memory of every process started by this one, in KiB (the web
// engine's helper processes).
std::int64_t descendantsResidentKb();
// CPU time used by all threads of this process.
std::int64_t cpuNs();
// Times the threads of this process were switched out: a measure of wake-ups.
std::int64_t contextSwitches();

// Prints "key=value" on standard output for the runner.
void report(const char* key, double value);
void report(const char* key, const QString& value);
// Flushes the report and ends the process at once, without tearing down.
[[noreturn]] void finish(int status = 0);

} // namespace ProcessStats
