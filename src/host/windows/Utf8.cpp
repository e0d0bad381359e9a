// UTF-8 conversions on Windows, through the system's own UTF-8 code page.
#include "host/Utf8.h"

#include <windows.h>

namespace orvanta::host {
namespace {

constexpr std::size_t kMaxLength = 0x1FFFFFFF;

std::optional<std::u16string> convert(std::string_view text, DWORD flags)
{
    if (text.empty())
        return std::u16string();
    if (text.size() > kMaxLength)
        return std::nullopt;
    const int sourceLength = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, flags, text.data(), sourceLength, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::u16string out(static_cast<std::size_t>(length), u'\0');
    if (MultiByteToWideChar(CP_UTF8, flags, text.data(), sourceLength, reinterpret_cast<wchar_t*>(out.data()),
                            length) != length)
        return std::nullopt;
    return out;
}

} // namespace

std::optional<std::string> toUtf8(std::u16string_view text)
{
    if (text.empty())
        return std::string();
    if (text.size() > kMaxLength)
        return std::nullopt;
    const auto* source = reinterpret_cast<const wchar_t*>(text.data());
    const int sourceLength = static_cast<int>(text.size());
    // WC_ERR_INVALID_CHARS: an unpaired surrogate fails instead of becoming U+FFFD.
    const int length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, source, sourceLength, nullptr, 0,
                                           nullptr, nullptr);
    if (length <= 0)
        return std::nullopt;
    std::string out(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, source, sourceLength, out.data(), length, nullptr,
                            nullptr) != length)
        return std::nullopt;
    return out;
}

std::u16string fromUtf8(std::string_view text)
{
    return convert(text, 0).value_or(std::u16string());
}

std::optional<std::u16string> fromUtf8Strict(std::string_view text)
{
    return convert(text, MB_ERR_INVALID_CHARS);
}

} // namespace orvanta::host
