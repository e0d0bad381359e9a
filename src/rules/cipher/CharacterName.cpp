// How a message names a character the program refuses: the character itself, or a word for one the
// user could not see.
#include "CharacterName.h"

#include "CodeTable.h"
#include "host/Utf8.h"

namespace orvanta::cipher {

std::u16string characterName(char32_t character)
{
    if (character == U' ')
        return u"空白";
    if (character == U'\u3000')
        return u"全角空白";
    if (character < 0x20 || character == 0x7F)
        return u"制御文字";
    return host::utf16Of(character);
}

std::u16string characterNameAt(std::u16string_view text, std::size_t index)
{
    const char16_t unit = text[index];
    const bool pair = unit >= 0xD800 && unit <= 0xDBFF && index + 1 < text.size() &&
                      text[index + 1] >= 0xDC00 && text[index + 1] <= 0xDFFF;
    if (!pair)
        return characterName(unit);
    return characterName(0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                         (text[index + 1] - 0xDC00));
}

std::optional<std::u16string> uncodableCharacterText(std::u16string_view text)
{
    const auto index = firstUncodable(text);
    if (!index)
        return std::nullopt;
    return u"使えない文字（" + characterNameAt(text, *index) + u"）";
}

std::optional<std::u16string> uncodableCharacterShort(std::u16string_view text)
{
    const auto index = firstUncodable(text);
    if (!index)
        return std::nullopt;
    auto name = characterNameAt(text, *index);
    const char16_t first = text[*index];
    const bool word = first == u' ' || first == u'\u3000' || first < 0x20 || first == 0x7F;
    return word ? name : u"「" + name + u"」";
}

} // namespace orvanta::cipher
