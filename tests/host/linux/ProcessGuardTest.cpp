// Passwords stay out of core dumps after start-up.
#include "host/linux/ProcessGuard.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>

namespace orvanta::host {
namespace {

// The window's memory holds passwords: after start-up no core file is written and the process
// cannot be dumped. Checked in a child process, which the setting then stays with.
TEST(ProcessGuardTest, NoCoreDumpAfterStartUp)
{
    EXPECT_EXIT(
        {
            rlimit core{};
            const bool ok = forbidCoreDumps() && prctl(PR_GET_DUMPABLE) == 0 &&
                            getrlimit(RLIMIT_CORE, &core) == 0 && core.rlim_cur == 0 && core.rlim_max == 0;
            std::exit(ok ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace orvanta::host
