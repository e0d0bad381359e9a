// HostClock on Windows: the system's local time.
#include "host/HostClock.h"

#include <windows.h>

namespace orvanta::host {

LocalTime HostClock::now() const
{
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return LocalTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

} // namespace orvanta::host
