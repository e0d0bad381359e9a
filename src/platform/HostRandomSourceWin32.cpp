// HostRandomSource on Windows: the system's preferred random number generator (BCryptGenRandom).
#include "HostRandomSource.h"

#include <cstdio>
#include <cstdlib>
#include <windows.h>
// After <windows.h>, which it needs.
#include <bcrypt.h>

namespace orvanta::platform {
namespace {

std::uint32_t randomWord()
{
    unsigned char bytes[4] = {};
    if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, bytes, sizeof bytes, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
        std::fputs("orvanta: no random source is available\n", stderr);
        std::abort();
    }
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

} // namespace

std::uint32_t HostRandomSource::below(std::uint32_t bound)
{
    if (bound <= 1) {
        return 0;
    }
    // Words at or above the largest multiple of bound would favour the small values; draw again.
    const std::uint32_t limit = UINT32_MAX - (UINT32_MAX % bound + 1) % bound;
    while (true) {
        const std::uint32_t word = randomWord();
        if (word <= limit) {
            return word % bound;
        }
    }
}

} // namespace orvanta::platform
