#pragma once

// The random source of the real host, for the password generator.

#include "host/RandomSource.h"

namespace orvanta::host {

/// Numbers from the system's random source (getrandom on Linux, BCryptGenRandom on Windows), each
/// value below the bound equally likely.
/// Without any random source the program stops rather than make predictable passwords.
class HostRandomSource final : public RandomSource {
public:
    std::uint32_t below(std::uint32_t bound) override;

private:
    /// Four bytes from the system's random source; one implementation file per host.
    static std::uint32_t systemWord();
};

} // namespace orvanta::host
