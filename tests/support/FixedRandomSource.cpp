// Random numbers from a list a test gives.
#include "support/FixedRandomSource.h"

#include <gtest/gtest.h>

namespace orvanta::test {

FixedRandomSource::FixedRandomSource(std::vector<std::uint32_t> values)
{
    setValues(std::move(values));
}

void FixedRandomSource::setValues(std::vector<std::uint32_t> values)
{
    m_values = values.empty() ? std::vector<std::uint32_t>{0} : std::move(values);
    m_next = 0;
}

std::uint32_t FixedRandomSource::below(std::uint32_t bound)
{
    m_bounds.push_back(bound);
    const std::uint32_t value = m_values[m_next];
    m_next = (m_next + 1) % m_values.size();
    if (bound == 0) {
        ADD_FAILURE() << "RandomSource::below(0)";
        return 0;
    }
    if (value >= bound) {
        ADD_FAILURE() << "FixedRandomSource: " << value << " is not below " << bound;
    }
    return value % bound;
}

} // namespace orvanta::test
