// An environment as a test sets it up.
#include "support/FakeEnvironment.h"

namespace orvanta::test {

std::u16string FakeEnvironment::folded(std::u16string_view name)
{
    std::u16string key(name);
    for (char16_t& c : key) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return key;
}

void FakeEnvironment::set(std::u16string_view name, std::u16string_view value)
{
    m_variables[folded(name)] = std::u16string(value);
}

void FakeEnvironment::unset(std::u16string_view name)
{
    m_variables.erase(folded(name));
}

std::optional<std::u16string> FakeEnvironment::variable(std::u16string_view name) const
{
    const auto found = m_variables.find(folded(name));
    if (found == m_variables.end()) {
        return std::nullopt;
    }
    return found->second;
}

} // namespace orvanta::test
