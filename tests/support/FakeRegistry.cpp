// An in-memory registry.
#include "support/FakeRegistry.h"

#include "support/SystemCodePage.h"

#include <gtest/gtest.h>

namespace orvanta::test {

FakeRegistry::Name FakeRegistry::keyOf(std::uint32_t root, std::u16string_view subKey,
                                       std::u16string_view name)
{
    while (!subKey.empty() && subKey.front() == u'\\') {
        subKey.remove_prefix(1);
    }
    while (!subKey.empty() && subKey.back() == u'\\') {
        subKey.remove_suffix(1);
    }
    // Key path and value name joined by a NUL, which neither can contain.
    std::u16string key = std::u16string(subKey) + u'\0' + std::u16string(name);
    for (char16_t& c : key) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return {root, key};
}

void FakeRegistry::set(std::uint32_t root, std::u16string_view subKey, std::u16string_view name,
                       host::RegistryValue value)
{
    m_values[keyOf(root, subKey, name)] = std::move(value);
}

void FakeRegistry::setText(std::uint32_t root, std::u16string_view subKey, std::u16string_view name,
                           std::u16string_view text)
{
    const auto encoded = SystemCodePage().encode(text);
    const auto* bytes = std::get_if<std::string>(&encoded);
    if (bytes == nullptr) {
        ADD_FAILURE() << "FakeRegistry::setText: the text does not fit code page 932";
        return;
    }
    host::RegistryValue value{host::REG_SZ, std::vector<std::uint8_t>(bytes->begin(), bytes->end())};
    value.data.push_back(0);
    set(root, subKey, name, std::move(value));
}

void FakeRegistry::setDword(std::uint32_t root, std::u16string_view subKey, std::u16string_view name,
                            std::uint32_t number)
{
    set(root, subKey, name,
        host::RegistryValue{host::REG_DWORD,
                            {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                             static_cast<std::uint8_t>(number >> 16),
                             static_cast<std::uint8_t>(number >> 24)}});
}

void FakeRegistry::remove(std::uint32_t root, std::u16string_view subKey, std::u16string_view name)
{
    m_values.erase(keyOf(root, subKey, name));
}

std::optional<host::RegistryValue> FakeRegistry::queryValue(std::uint32_t root, std::u16string_view subKey,
                                                            std::u16string_view valueName) const
{
    ++m_queries;
    const auto found = m_values.find(keyOf(root, subKey, valueName));
    if (found == m_values.end()) {
        return std::nullopt;
    }
    return found->second;
}

} // namespace orvanta::test
