// The host's clock, read in the user's local time zone.
#include "host/HostClock.h"

#include <ctime>

namespace orvanta::host {

LocalTime HostClock::now() const
{
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr)
        gmtime_r(&seconds, &local);
    return LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour,        local.tm_min,     local.tm_sec > 59 ? 59 : local.tm_sec};
}

} // namespace orvanta::host
