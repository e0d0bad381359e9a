// Module1: reading one registry value (QueryRegistryValue) and cutting a text at its first NUL
// (TrimAtNull), for the product ID that gives the key.
#include "Module1.h"

#include "rules/store/Decimal.h"

namespace orvanta::form {

RegistryResult QueryRegistryValue(const host::Registry& registry, const host::CodePage& codePage,
                                  std::uint32_t root, std::u16string_view subKey,
                                  std::u16string_view valueName, RegistryResult defaultValue)
{
    const auto value = registry.queryValue(root, subKey, valueName);
    if (!value)
        return defaultValue;
    switch (value->type) {
    case host::REG_SZ: {
        const std::string bytes(value->data.begin(), value->data.end());
        auto decoded = codePage.decode(bytes);
        if (const auto* text = std::get_if<std::u16string>(&decoded))
            return TrimAtNull(*text);
        // Bytes outside the code page: the text up to the first of them, as far as it reads.
        const auto& error = std::get<host::CodePageError>(decoded);
        auto head = codePage.decode(std::string_view(bytes).substr(0, error.position));
        if (const auto* text = std::get_if<std::u16string>(&head))
            return TrimAtNull(*text);
        return defaultValue;
    }
    case host::REG_BINARY:
        return value->data;
    case host::REG_DWORD: {
        std::uint32_t number = 0;
        for (std::size_t i = 0; i < 4 && i < value->data.size(); ++i)
            number |= static_cast<std::uint32_t>(value->data[i]) << (8 * i);
        return number;
    }
    default:
        return defaultValue;
    }
}

std::u16string TrimAtNull(std::u16string_view text)
{
    return std::u16string(text.substr(0, text.find(u'\0')));
}

std::u16string registryResultText(const RegistryResult& result)
{
    if (const auto* text = std::get_if<std::u16string>(&result))
        return *text;
    if (const auto* number = std::get_if<std::uint32_t>(&result))
        return store::decimalText(*number);
    const auto& bytes = std::get<std::vector<std::uint8_t>>(result);
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const unsigned high = i + 1 < bytes.size() ? bytes[i + 1] : 0u;
        text += static_cast<char16_t>(bytes[i] | (high << 8));
    }
    return text;
}

} // namespace orvanta::form
