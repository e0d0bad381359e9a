#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvanta::platform {

/// UTF-16 -> UTF-8, as host paths and the host environment are written. Nothing for an unpaired
/// surrogate, which no UTF-8 text can hold.
std::optional<std::string> toUtf8(std::u16string_view text);

/// UTF-8 -> UTF-16. A byte that starts no character becomes U+FFFD, so a broken name still shows.
std::u16string fromUtf8(std::string_view text);

/// Strict UTF-8 -> UTF-16: nothing when the bytes are not well-formed UTF-8.
std::optional<std::u16string> fromUtf8Strict(std::string_view text);

} // namespace orvanta::platform
