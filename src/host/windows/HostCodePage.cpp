// Code page 932 through Windows' own conversion functions, refusing what does not map exactly.
#include "host/windows/HostCodePage.h"

#include <optional>
#include <windows.h>

namespace orvanta::host {
namespace {

constexpr UINT kCodePage = 932;
// Longer texts are refused as a whole rather than cut: the conversions take int lengths.
constexpr std::size_t kMaxLength = 0x3FFFFFFF;

bool isLead(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isTrail(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The bytes of `text` in code page 932, or nothing when any character had to be replaced.
std::optional<std::string> toCodePage(std::u16string_view text)
{
    if (text.empty())
        return std::string();
    const auto* source = reinterpret_cast<const wchar_t*>(text.data());
    const int sourceLength = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, source, sourceLength, nullptr, 0,
                                           nullptr, &usedDefault);
    if (length <= 0 || usedDefault)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    const int written = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, source, sourceLength,
                                            bytes.data(), length, nullptr, &usedDefault);
    if (written != length || usedDefault)
        return std::nullopt;
    return bytes;
}

// The text of `bytes`, or nothing when any byte starts no character of code page 932.
std::optional<std::u16string> fromCodePage(std::string_view bytes)
{
    if (bytes.empty())
        return std::u16string();
    const int sourceLength = static_cast<int>(bytes.size());
    const int length =
        MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), sourceLength, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::u16string text(static_cast<std::size_t>(length), u'\0');
    const int written = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), sourceLength,
                                            reinterpret_cast<wchar_t*>(text.data()), length);
    if (written != length)
        return std::nullopt;
    return text;
}

// A character converts only when its bytes read back as exactly that character: a mapping that does
// not come back would change the user's text on the next read.
bool roundTrips(std::u16string_view character)
{
    const auto bytes = toCodePage(character);
    if (!bytes)
        return false;
    const auto back = fromCodePage(*bytes);
    return back && *back == character;
}

} // namespace

CodePage::Encoded HostCodePage::encode(std::u16string_view text) const
{
    if (text.size() > kMaxLength)
        return CodePageError{0, text[0]};
    for (std::size_t i = 0; i < text.size(); ++i)
        if (isLead(text[i]) && i + 1 < text.size() && isTrail(text[i + 1]))
            ++i;
        else if (isLead(text[i]) || isTrail(text[i]))
            return CodePageError{i, text[i]};
    if (auto bytes = toCodePage(text)) {
        const auto back = fromCodePage(*bytes);
        if (back && *back == text)
            return std::move(*bytes);
    }
    // Something did not convert: find the first character that does not, one at a time.
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = isLead(text[i]) ? 2 : 1;
        const std::u16string_view character = text.substr(i, length);
        if (!roundTrips(character)) {
            char32_t c = character[0];
            if (length == 2) {
                c = 0x10000 + ((static_cast<char32_t>(character[0]) - 0xD800) << 10) +
                    (static_cast<char32_t>(character[1]) - 0xDC00);
            }
            return CodePageError{i, c};
        }
        i += length;
    }
    return CodePageError{0, text.empty() ? U'\0' : static_cast<char32_t>(text[0])};
}

CodePage::Decoded HostCodePage::decode(std::string_view bytes) const
{
    if (bytes.size() > kMaxLength)
        return CodePageError{0, 0};
    if (auto text = fromCodePage(bytes))
        return std::move(*text);
    // Find the first byte that starts no character: a lead byte takes the next byte with it.
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<BYTE>(bytes[i]);
        const std::size_t length = IsDBCSLeadByteEx(kCodePage, byte) ? 2 : 1;
        if (i + length > bytes.size() || !fromCodePage(bytes.substr(i, length)))
            return CodePageError{i, 0};
        i += length;
    }
    return CodePageError{0, 0};
}

} // namespace orvanta::host
