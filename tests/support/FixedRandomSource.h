#pragma once

// A random source that gives the numbers a test lists.

#include "host/RandomSource.h"

#include <cstddef>
#include <vector>

namespace orvanta::test {

/// Gives the numbers a test lists, in order, starting over after the last. A number that is not
/// below the bound asked for fails the test (and is reduced modulo the bound).
class FixedRandomSource final : public host::RandomSource {
public:
    explicit FixedRandomSource(std::vector<std::uint32_t> values = {0});
    void setValues(std::vector<std::uint32_t> values);

    std::uint32_t below(std::uint32_t bound) override;
    /// Every bound asked for so far, in order.
    const std::vector<std::uint32_t>& bounds() const { return m_bounds; }

private:
    std::vector<std::uint32_t> m_values;
    std::size_t m_next = 0;
    std::vector<std::uint32_t> m_bounds;
};

} // namespace orvanta::test
