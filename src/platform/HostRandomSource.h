#pragma once

#include "platform/RandomSource.h"

namespace orvanta::platform {

/// Numbers from the kernel's random source (getrandom), each value below the bound equally likely.
/// Without any random source the program stops rather than make predictable passwords.
class HostRandomSource final : public RandomSource {
public:
    std::uint32_t below(std::uint32_t bound) override;
};

} // namespace orvanta::platform
