#include "system/CoreDumps.h"

#include <sys/resource.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

bool CoreDumps::turnOff()
{
    // No core file of any size, whatever the shell's limit allowed.
    const rlimit none{0, 0};
    const bool limited = ::setrlimit(RLIMIT_CORE, &none) == 0;
#ifdef __linux__
    // Also keeps the kernel's core pattern pipe (a crash reporter) from
    // getting the memory, and others of the user from attaching.
    return ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0 && limited;
#else
    return limited;
#endif
}

bool CoreDumps::areOn()
{
#ifdef __linux__
    if (::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0) == 0)
        return false;
#endif
    rlimit limit{};
    return ::getrlimit(RLIMIT_CORE, &limit) != 0 || limit.rlim_cur != 0;
}
