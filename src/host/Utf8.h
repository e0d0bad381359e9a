#pragma once

// UTF-16 to UTF-8 and back, for the host's paths and environment.

#include <optional>
#include <string>
#include <string_view>

namespace orvanta::host {

/// UTF-16 -> UTF-8, as host paths and the host environment are written. Nothing for an unpaired
/// surrogate, which no UTF-8 text can hold.
std::optional<std::string> toUtf8(std::u16string_view text);

/// UTF-8 -> UTF-16. A byte that starts no character becomes U+FFFD, so a broken name still shows.
std::u16string fromUtf8(std::string_view text);

/// Strict UTF-8 -> UTF-16: nothing when the bytes are not well-formed UTF-8.
std::optional<std::u16string> fromUtf8Strict(std::string_view text);

/// One character as UTF-16: one unit, or a surrogate pair for a character beyond U+FFFF.
inline std::u16string utf16Of(char32_t character)
{
    if (character <= 0xFFFF)
        return std::u16string(1, static_cast<char16_t>(character));
    character -= 0x10000;
    return {static_cast<char16_t>(0xD800 + (character >> 10)),
            static_cast<char16_t>(0xDC00 + (character & 0x3FF))};
}

} // namespace orvanta::host
