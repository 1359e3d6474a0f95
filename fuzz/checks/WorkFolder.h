#pragma once

#include <QString>

// The folder the checks write their files in, made once and removed when the
// run ends. It lives in memory where the system has a memory file system, so
// that the flushes to disk of the program's file writes cost next to nothing.
QString workFolder();
