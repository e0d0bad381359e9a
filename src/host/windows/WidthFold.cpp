// Folding full-width text to half-width through Windows' own mapping.
#include "host/WidthFold.h"

#include <windows.h>

namespace orvanta::host {

std::u16string toHalfwidth(std::u16string_view text)
{
    if (text.empty() || text.size() > 0x7FFFFFF)
        return std::u16string(text);
    // Katakana only has half-width forms under a Japanese locale; the user's own locale may not be one.
    const LCID japanese = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT);
    const auto* source = reinterpret_cast<const wchar_t*>(text.data());
    const int sourceLength = static_cast<int>(text.size());
    const int length = LCMapStringW(japanese, LCMAP_HALFWIDTH, source, sourceLength, nullptr, 0);
    if (length <= 0)
        return std::u16string(text);
    std::u16string folded(static_cast<std::size_t>(length), u'\0');
    const int written = LCMapStringW(japanese, LCMAP_HALFWIDTH, source, sourceLength,
                                     reinterpret_cast<wchar_t*>(folded.data()), length);
    if (written <= 0)
        return std::u16string(text);
    folded.resize(static_cast<std::size_t>(written));
    return folded;
}

} // namespace orvanta::host
