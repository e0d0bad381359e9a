#pragma once

// The random source service behind the password generator.

#include <cstdint>

namespace orvanta::host {

/// Unpredictable numbers for the password generator.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    /// A number from 0 to bound - 1, every value equally likely. bound is at least 1.
    virtual std::uint32_t below(std::uint32_t bound) = 0;
};

} // namespace orvanta::host
