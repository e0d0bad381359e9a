// Keeping the program's memory, which holds passwords, out of core dumps.
#include "host/linux/ProcessGuard.h"

#include <sys/prctl.h>
#include <sys/resource.h>

namespace orvanta::host {

bool forbidCoreDumps()
{
    // No core file on a crash, and no dump through the kernel's core pattern either; a process that is
    // not dumpable also cannot be attached to by another process of the user (ptrace), nor read through
    // /proc/<pid>/mem.
    const rlimit none{0, 0};
    const bool noCore = setrlimit(RLIMIT_CORE, &none) == 0;
    const bool notDumpable = prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0;
    return noCore && notDumpable;
}

} // namespace orvanta::host
