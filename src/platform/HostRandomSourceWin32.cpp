// HostRandomSource on Windows: the system's preferred random number generator (BCryptGenRandom).
#include "HostRandomSource.h"

#include <cstdio>
#include <cstdlib>
#include <windows.h>
// After <windows.h>, which it needs.
#include <bcrypt.h>

namespace orvanta::platform {

std::uint32_t HostRandomSource::systemWord()
{
    unsigned char bytes[4] = {};
    if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, bytes, sizeof bytes, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
        std::fputs("orvanta: no random source is available\n", stderr);
        std::abort();
    }
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

} // namespace orvanta::platform
