#pragma once

// An in-memory registry for the product ID a test needs.

#include "host/Registry.h"

#include <map>
#include <string>
#include <utility>

namespace orvanta::test {

/// An in-memory registry. Key paths and value names compare without regard to ASCII case.
class FakeRegistry final : public host::Registry {
public:
    void set(std::uint32_t root, std::u16string_view subKey, std::u16string_view name,
             host::RegistryValue value);
    /// A text value as the ANSI query returns it: the text in code page 932 with a terminating NUL.
    void setText(std::uint32_t root, std::u16string_view subKey, std::u16string_view name,
                 std::u16string_view text);
    void setDword(std::uint32_t root, std::u16string_view subKey, std::u16string_view name,
                  std::uint32_t number);
    void remove(std::uint32_t root, std::u16string_view subKey, std::u16string_view name);

    /// What problem() reports from now on; nothing for none.
    void setProblem(std::optional<host::RegistryProblem> problem) { m_problem = std::move(problem); }

    std::optional<host::RegistryValue> queryValue(std::uint32_t root, std::u16string_view subKey,
                                                  std::u16string_view valueName) const override;
    std::optional<host::RegistryProblem> problem() const override { return m_problem; }
    /// How many queries were made.
    int queryCount() const { return m_queries; }

private:
    using Name = std::pair<std::uint32_t, std::u16string>;
    static Name keyOf(std::uint32_t root, std::u16string_view subKey, std::u16string_view name);

    std::map<Name, host::RegistryValue> m_values;
    std::optional<host::RegistryProblem> m_problem;
    mutable int m_queries = 0;
};

} // namespace orvanta::test
