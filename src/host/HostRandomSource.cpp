// The part of the password generator's random source that is the same on every host: an unbiased
// number below a bound from the host's random words.
#include "host/HostRandomSource.h"

#include <cstdint>

namespace orvanta::host {

std::uint32_t HostRandomSource::below(std::uint32_t bound)
{
    if (bound <= 1)
        return 0;
    // Words at or above the largest multiple of bound would favour the small values; draw again.
    const std::uint32_t limit = UINT32_MAX - (UINT32_MAX % bound + 1) % bound;
    while (true) {
        const std::uint32_t word = systemWord();
        if (word <= limit)
            return word % bound;
    }
}

} // namespace orvanta::host
