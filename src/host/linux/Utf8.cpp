// Conversion between UTF-16 and UTF-8 for host paths and the host environment.
#include "host/Utf8.h"

#include <cstdint>
#include <unicode/ustring.h>

namespace orvanta::host {

std::optional<std::string> toUtf8(std::u16string_view text)
{
    if (text.empty())
        return std::string();
    if (text.size() > INT32_MAX / 3)
        return std::nullopt;
    std::string out(text.size() * 3, '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    out.resize(static_cast<std::size_t>(length));
    return out;
}

namespace {

std::optional<std::u16string> convert(std::string_view text, bool strict)
{
    if (text.empty())
        return std::u16string();
    if (text.size() > INT32_MAX)
        return std::nullopt;
    std::u16string out(text.size(), u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    if (strict) {
        u_strFromUTF8(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                      static_cast<int32_t>(text.size()), &status);
    } else {
        u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                             static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
    }
    if (U_FAILURE(status))
        return std::nullopt;
    out.resize(static_cast<std::size_t>(length));
    return out;
}

} // namespace

std::u16string fromUtf8(std::string_view text)
{
    return convert(text, false).value_or(std::u16string());
}

std::optional<std::u16string> fromUtf8Strict(std::string_view text)
{
    return convert(text, true);
}

} // namespace orvanta::host
